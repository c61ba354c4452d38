// Win32: a modal message loop (GetMessageW, IsDialogMessageW) that hands WM_QUIT on.
#include "platform/win32/ModalLoop.h"

namespace Velmora::Platform {

bool RunModalLoop(HWND dialog, const std::function<bool()>& finished) {
    MSG msg;
    while (!finished()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got < 0) return false;
        if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

} // namespace Velmora::Platform

// Win32: the plain modal message box (MessageBoxW, OK button, no icon) owned by the active window.
#include "bridge/ShowMessage.h"

#include <windows.h>

namespace Velmora::Shared {

void ShowMessage(TextView Msg, TextView Title) {
    const Text text(Msg), caption(Title);
    MessageBoxW(GetActiveWindow(), reinterpret_cast<LPCWSTR>(text.c_str()),
                reinterpret_cast<LPCWSTR>(caption.c_str()), MB_OK | MB_TASKMODAL);
}

} // namespace Velmora::Shared

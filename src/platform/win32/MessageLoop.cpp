// Win32: the common controls (version 6 through the manifest) before the first window, the
// thread's message loop (GetMessageW until WM_QUIT), and work posted to a message-only window of
// the user-interface thread, which modal loops serve too.
#include "platform/MessageLoop.h"

#include "platform/win32/WindowClass.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

namespace Velmora::Platform {

namespace {

constexpr UINT RunPostedWork = WM_APP + 1;

LRESULT CALLBACK PostedWorkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != RunPostedWork) return DefWindowProcW(hwnd, message, wParam, lParam);
    const std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
    (*work)();
    return 0;
}

// Created by InitializeUi on the user-interface thread; lives as long as the process.
HWND& PostedWorkWindow() {
    static HWND window = nullptr;
    return window;
}

} // namespace

void InitializeUi() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const wchar_t* cls = EnsureWindowClass({L"Velmora.PostedWork", PostedWorkProc});
    PostedWorkWindow() =
        CreateWindowExW(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void QuitMessageLoop() { PostQuitMessage(0); }

void PostToUiThread(std::function<void()> Work) {
    if (!PostedWorkWindow()) return; // InitializeUi has not run: there is no loop to serve it
    auto work = std::make_unique<std::function<void()>>(std::move(Work));
    if (PostMessageW(PostedWorkWindow(), RunPostedWork, 0, reinterpret_cast<LPARAM>(work.get()))) work.release();
}

} // namespace Velmora::Platform

// Win32: the application's own hidden top-level window, which carries the application's title
// (GetWindowsCaptions-style enumerations see it, as they see every hidden window). It is never
// shown, so it never carries a taskbar button: the main window owns its button, and before the
// main window exists our windows carry their own or none (the installer window). It is found by
// class on this thread (EnumThreadWindows) rather than kept in a variable, and lives as long as
// the thread.
#include "platform/MainWindow.h"
#include "platform/StartupDialogs.h"

#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"

#include <windows.h>

namespace Velmora::Platform {

namespace {

constexpr wchar_t ApplicationClass[] = L"Velmora.Application";

BOOL CALLBACK MatchApplicationWindow(HWND hwnd, LPARAM found) {
    wchar_t name[64] = {};
    if (GetClassNameW(hwnd, name, 64) && lstrcmpW(name, ApplicationClass) == 0) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindApplicationWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchApplicationWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

void SetApplicationTitle(Shared::TextView title) {
    const Shared::Text text(title);
    if (const HWND window = FindApplicationWindow()) {
        SetWindowTextW(window, Platform::Wide(text));
        return;
    }
    const wchar_t* cls = Platform::EnsureWindowClass({ApplicationClass, DefWindowProcW});
    CreateWindowExW(WS_EX_TOOLWINDOW, cls, Platform::Wide(text), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
}

void HideApplicationOwnerWindow() {
    // Our application window is never shown; hiding it keeps that true if it exists.
    if (const HWND window = FindApplicationWindow()) ShowWindow(window, SW_HIDE);
}

} // namespace Velmora::Platform

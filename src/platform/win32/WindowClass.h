// Our window classes: registration (RegisterClassExW, once per process) and a window procedure
// that forwards each message to the C++ object passed as the creation parameter.
#pragma once

#include <windows.h>

namespace Velmora::Platform {

// Every class of ours is named with this prefix, so theme changes can find our windows.
inline constexpr wchar_t OurClassPrefix[] = L"Velmora.";

struct TWindowClassInfo {
    const wchar_t* Name; // begins with OurClassPrefix
    WNDPROC Procedure;
    UINT Style = 0; // CS_* flags
    const wchar_t* Cursor = IDC_ARROW;
};

// Registers the class unless it is registered already; returns the class name.
const wchar_t* EnsureWindowClass(const TWindowClassInfo& info);

// True when the window belongs to one of our classes.
bool IsOurWindow(HWND hwnd);

// The answer to WM_ERASEBKGND of a child that shows the dialog face colour until its content covers it.
inline LRESULT EraseWithFaceColor(HWND hwnd, WPARAM dc) {
    RECT area{};
    GetClientRect(hwnd, &area);
    FillRect(reinterpret_cast<HDC>(dc), &area, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

// The window procedure of a class whose windows are created with a T* as lpParam. T provides
// `LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM)`. The link is cut at WM_NCDESTROY, so an
// object may be gone before its window.
template <typename T>
LRESULT CALLBACK ForwardingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(hwnd, message, wParam, lParam);
}

} // namespace Velmora::Platform

// Win32: registration of our window classes (RegisterClassExW) and recognition of our windows
// by class name (GetClassNameW).
#include "platform/win32/WindowClass.h"

#include <cwchar>

namespace Velmora::Platform {

const wchar_t* EnsureWindowClass(const TWindowClassInfo& info) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, info.Name, &existing)) return info.Name;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = info.Style;
    wc.lpfnWndProc = info.Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, info.Cursor);
    wc.lpszClassName = info.Name;
    RegisterClassExW(&wc); // a lost race leaves the class registered all the same
    return info.Name;
}

bool IsOurWindow(HWND hwnd) {
    wchar_t name[64] = {};
    const int n = GetClassNameW(hwnd, name, 64);
    const size_t prefix = wcslen(OurClassPrefix);
    return n >= static_cast<int>(prefix) && wcsncmp(name, OurClassPrefix, prefix) == 0;
}

} // namespace Velmora::Platform

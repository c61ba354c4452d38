// Win32: owning handles for kernel objects, registry keys, modules, windows, icons, GDI objects,
// device contexts and memory the system allocated for us, each released with its own API; and
// the two scoped device-context helpers.
#pragma once

#include "shared/UniqueHandle.h"

#include <windows.h>
#include <objbase.h>

namespace Velmora::Platform {

// Some APIs report "no handle" as INVALID_HANDLE_VALUE rather than null.
inline void CloseValidHandle(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

using UniqueHandle = Shared::TUniqueHandle<HANDLE, CloseValidHandle>;
using UniqueKey = Shared::TUniqueHandle<HKEY, RegCloseKey>;
using UniqueModule = Shared::TUniqueHandle<HMODULE, FreeLibrary>;
using UniqueWindow = Shared::TUniqueHandle<HWND, DestroyWindow>;
using UniqueIcon = Shared::TUniqueHandle<HICON, DestroyIcon>;
using UniqueBrush = Shared::TUniqueHandle<HBRUSH, DeleteObject>;
using UniqueFont = Shared::TUniqueHandle<HFONT, DeleteObject>;
using UniqueRegion = Shared::TUniqueHandle<HRGN, DeleteObject>;
using UniqueBitmap = Shared::TUniqueHandle<HBITMAP, DeleteObject>;
using UniqueMemoryDc = Shared::TUniqueHandle<HDC, DeleteDC>;
template <typename T>
using UniqueLocalMemory = Shared::TUniqueHandle<T*, LocalFree>;
template <typename T>
using UniqueCoTaskMemory = Shared::TUniqueHandle<T*, CoTaskMemFree>;

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : FWindow(hwnd), FDc(GetDC(hwnd)) {}
    ~WindowDc() {
        if (FDc) ReleaseDC(FWindow, FDc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

// Selects a GDI object into a device context for the scope, restoring the previous one.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : FDc(dc), FPrevious(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(FDc, FPrevious); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC FDc;
    HGDIOBJ FPrevious;
};

} // namespace Velmora::Platform

// RAII owners for the Win32 handles our platform code holds: kernel handles, registry keys,
// modules, windows, icons, GDI objects and device contexts. Each closes with its own API.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace Velmora::Platform {

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
struct ModuleFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct WindowDestroyer {
    void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

template <typename H, typename Closer>
using UniqueOf = std::unique_ptr<std::remove_pointer_t<H>, Closer>;

using UniqueHandle = UniqueOf<HANDLE, HandleCloser>;
using UniqueKey = UniqueOf<HKEY, KeyCloser>;
using UniqueModule = UniqueOf<HMODULE, ModuleFreer>;
using UniqueWindow = UniqueOf<HWND, WindowDestroyer>;
using UniqueIcon = UniqueOf<HICON, IconDestroyer>;
using UniqueBrush = UniqueOf<HBRUSH, GdiObjectDeleter>;
using UniqueFont = UniqueOf<HFONT, GdiObjectDeleter>;
using UniqueRegion = UniqueOf<HRGN, GdiObjectDeleter>;
using UniqueBitmap = UniqueOf<HBITMAP, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueOf<HDC, MemoryDcDeleter>;

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

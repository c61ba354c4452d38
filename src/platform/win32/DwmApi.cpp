// Win32: DwmSetWindowAttribute through LoadLibraryW("dwmapi.dll") and GetProcAddress, resolved
// once for the process; the library stays loaded until the process ends.
#include "platform/win32/DwmApi.h"

#include "platform/win32/WinHandles.h"

namespace Velmora::Platform {

namespace {

using SetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

struct DwmBinding {
    UniqueModule Library;
    SetAttributeFunction SetAttribute = nullptr;

    DwmBinding() : Library(LoadLibraryW(L"dwmapi.dll")) {
        if (Library)
            SetAttribute = reinterpret_cast<SetAttributeFunction>(
                reinterpret_cast<void*>(GetProcAddress(Library.get(), "DwmSetWindowAttribute")));
    }
};

const DwmBinding& Dwm() {
    static const DwmBinding binding; // bound on first use; never changes afterwards
    return binding;
}

} // namespace

bool SetDwmWindowAttribute(HWND hwnd, DWORD attribute, DWORD value) {
    const DwmBinding& dwm = Dwm();
    if (!dwm.SetAttribute || !hwnd) return false;
    return SUCCEEDED(dwm.SetAttribute(hwnd, attribute, &value, sizeof(value)));
}

} // namespace Velmora::Platform

// Win32: DwmSetWindowAttribute from dwmapi.dll, resolved once for the process; the library stays
// loaded until the process ends.
#include "platform/win32/DwmApi.h"

#include "platform/win32/DynamicLibrary.h"

namespace Velmora::Platform {

namespace {

using SetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

SetAttributeFunction SetAttribute() {
    // Bound on first use; never changes afterwards.
    static const TDynamicLibrary library(L"dwmapi.dll");
    static const auto function = library.Export<SetAttributeFunction>("DwmSetWindowAttribute");
    return function;
}

} // namespace

bool SetDwmWindowAttribute(HWND hwnd, DWORD attribute, DWORD value) {
    const SetAttributeFunction set = SetAttribute();
    if (!set || !hwnd) return false;
    return SUCCEEDED(set(hwnd, attribute, &value, sizeof(value)));
}

} // namespace Velmora::Platform

// Win32: rounded corners through DwmSetWindowAttribute(hwnd, 33, &preference, 4), asked after
// every creation of one of our forms.
#include "platform/win32/Win11Forms.h"

#include "platform/win32/DwmApi.h"

namespace Velmora::Platform {

std::uint32_t CornerPreference(TRoundedCornerType corners, TRoundedCornerType processDefault) {
    switch (corners) {
        case rcOff: return 1;
        case rcOn: return 2;
        case rcSmall: return 3;
        case rcDefault: break;
    }
    return processDefault == rcDefault ? 0 : CornerPreference(processDefault, rcDefault);
}

void ApplyRoundedCorners(HWND hwnd, TRoundedCornerType corners) {
    if (!hwnd) return;
    SetDwmWindowAttribute(hwnd, DwmaWindowCornerPreference, CornerPreference(corners)); // result not needed
}

HWND CreateWin11Form(const TWin11FormParams& p) {
    const HWND hwnd = CreateWindowExW(p.ExStyle, p.ClassName, p.Caption, p.Style, p.Left, p.Top, p.Width, p.Height,
                                      p.Owner, nullptr, GetModuleHandleW(nullptr), p.Param);
    ApplyRoundedCorners(hwnd, p.RoundedCorners);
    return hwnd;
}

} // namespace Velmora::Platform

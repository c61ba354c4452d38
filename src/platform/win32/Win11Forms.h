// Rounded window corners for our forms: the corner preference asked of the desktop window
// manager (attribute 33), applied right after each window is created.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Velmora::Platform {

enum TRoundedCornerType : int { rcDefault = 0, rcOff = 1, rcOn = 2, rcSmall = 3 };

// The process default, serving every form whose own setting is rcDefault.
inline constexpr TRoundedCornerType ProcessDefaultRoundedCorners = rcOn;

// The window manager's corner preference for a form's setting: rcOff 1, rcOn 2, rcSmall 3;
// rcDefault takes the mapping of processDefault, in which rcDefault gives 0 (the system's choice).
std::uint32_t CornerPreference(TRoundedCornerType corners,
                               TRoundedCornerType processDefault = ProcessDefaultRoundedCorners);

// Asks for the corners on an existing window; where the system does not know the attribute
// nothing happens.
void ApplyRoundedCorners(HWND hwnd, TRoundedCornerType corners = rcDefault);

struct TWin11FormParams {
    DWORD ExStyle = 0;
    const wchar_t* ClassName = nullptr;
    const wchar_t* Caption = L"";
    DWORD Style = 0;
    int Left = CW_USEDEFAULT, Top = CW_USEDEFAULT, Width = CW_USEDEFAULT, Height = CW_USEDEFAULT;
    HWND Owner = nullptr;
    void* Param = nullptr; // lpParam of the creation
    TRoundedCornerType RoundedCorners = rcDefault;
};

// CreateWindowExW followed by the corner preference, so every creation carries it.
HWND CreateWin11Form(const TWin11FormParams& params);

} // namespace Velmora::Platform

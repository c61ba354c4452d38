// The desktop window manager's DwmSetWindowAttribute, bound from dwmapi.dll on first use so the
// program also starts where the library or the function is missing.
#pragma once

#include <windows.h>

namespace Velmora::Platform {

// DWMWINDOWATTRIBUTE values we set (newer than the MinGW headers' Windows 7 level).
inline constexpr DWORD DwmaUseImmersiveDarkMode = 20;
inline constexpr DWORD DwmaWindowCornerPreference = 33;
inline constexpr DWORD DwmaCaptionColor = 35;
inline constexpr DWORD DwmaTextColor = 36;
// DWMWA_COLOR_DEFAULT: the system's own caption or text colour.
inline constexpr DWORD DwmColorDefault = 0xFFFFFFFF;

// Sets one 32-bit attribute. False when the function is missing or the system refused it.
bool SetDwmWindowAttribute(HWND hwnd, DWORD attribute, DWORD value);

} // namespace Velmora::Platform

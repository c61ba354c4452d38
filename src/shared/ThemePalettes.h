// The visual themes of our native windows: the platform's own look ("Windows") and 39 palettes
// of our own, in the fixed order of their names, and the one in force.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <span>

namespace Velmora::Shared {

// Colours as 0x00RRGGBB.
struct TThemePalette {
    TextView Name;            // the theme's name as the page sees it
    const char* Resource;     // the name of its style definition
    std::uint32_t Window;     // form and dialog background
    std::uint32_t WindowText; // text on it
    std::uint32_t Control;    // edit boxes and buttons
    std::uint32_t ControlText;
    std::uint32_t Accent; // selection, default button, focus
    std::uint32_t AccentText;
    std::uint32_t Caption; // title bar (where the system lets us colour it)
    std::uint32_t CaptionText;
    bool Dark; // asks the system for its dark frame where it has one
};

// The name of the platform's own look; selecting it applies no palette.
inline constexpr TextView PlatformThemeName = u"Windows";

// Every theme name: "Windows" (the platform look, no palette) first, then every palette.
std::span<const TextView> ThemeNames();
// The palette of a theme by exact name; null for "Windows" and for unknown names.
const TThemePalette* FindThemePalette(TextView name);

// The palette in force for the whole process (null: the platform look). Only the style manager
// (TStylesUtils) changes it; platform code reads it whenever it draws one of our windows.
const TThemePalette* ActiveThemePalette();
void SetActiveThemePalette(const TThemePalette* palette);

} // namespace Velmora::Shared

// Win32: the colours derived from the theme palette in force (GetSysColor where
// none is in force), the frame colours through DwmSetWindowAttribute (attributes 20, 35, 36), and
// the repaint of our windows when the palette changes (EnumThreadWindows, RedrawWindow).
#include "platform/ThemeApply.h"

#include "platform/win32/DwmApi.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/WindowClass.h"

namespace Velmora::Platform {

namespace {

BOOL CALLBACK RepaintOurWindow(HWND hwnd, LPARAM) {
    if (IsOurWindow(hwnd)) {
        ApplyThemeToFrame(hwnd);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

// Palette colours are 0x00RRGGBB; GDI's are 0x00BBGGRR.
COLORREF FromRgb(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::uint32_t PaletteColor(const Shared::TThemePalette& p, TThemeRole role) {
    switch (role) {
        case TThemeRole::Window: return p.Window;
        case TThemeRole::WindowText: return p.WindowText;
        case TThemeRole::Control: return p.Control;
        case TThemeRole::ControlText: return p.ControlText;
        case TThemeRole::Accent: return p.Accent;
        case TThemeRole::AccentText: return p.AccentText;
    }
    return p.Window;
}

int SystemIndexOf(TThemeRole role) {
    switch (role) {
        case TThemeRole::Window: return COLOR_BTNFACE;
        case TThemeRole::WindowText: return COLOR_BTNTEXT;
        case TThemeRole::Control: return COLOR_WINDOW;
        case TThemeRole::ControlText: return COLOR_WINDOWTEXT;
        case TThemeRole::Accent: return COLOR_HIGHLIGHT;
        case TThemeRole::AccentText: return COLOR_HIGHLIGHTTEXT;
    }
    return COLOR_BTNFACE;
}

} // namespace

void ApplyThemePalette(const Shared::TThemePalette*) {
    // Our windows all live on this (the user-interface) thread, and draw from the palette in force.
    EnumThreadWindows(GetCurrentThreadId(), RepaintOurWindow, 0);
}

COLORREF ThemeColor(TThemeRole role) {
    if (const Shared::TThemePalette* palette = Shared::ActiveThemePalette())
        return FromRgb(PaletteColor(*palette, role));
    return GetSysColor(SystemIndexOf(role));
}

COLORREF ThemedSysColor(int index) {
    const Shared::TThemePalette* palette = Shared::ActiveThemePalette();
    if (!palette) return GetSysColor(index);
    switch (index) {
        case COLOR_BTNFACE:
        case COLOR_MENU:
        case COLOR_MENUBAR:
        case COLOR_APPWORKSPACE:
        case COLOR_BACKGROUND: return FromRgb(palette->Window);
        case COLOR_BTNTEXT:
        case COLOR_MENUTEXT: return FromRgb(palette->WindowText);
        case COLOR_WINDOW:
        case COLOR_INFOBK: return FromRgb(palette->Control);
        case COLOR_WINDOWTEXT:
        case COLOR_INFOTEXT: return FromRgb(palette->ControlText);
        case COLOR_HIGHLIGHT:
        case COLOR_HOTLIGHT:
        case COLOR_MENUHILIGHT: return FromRgb(palette->Accent);
        case COLOR_HIGHLIGHTTEXT: return FromRgb(palette->AccentText);
        case COLOR_ACTIVECAPTION:
        case COLOR_GRADIENTACTIVECAPTION: return FromRgb(palette->Caption);
        case COLOR_CAPTIONTEXT: return FromRgb(palette->CaptionText);
        default: return GetSysColor(index);
    }
}

void ApplyThemeToFrame(HWND hwnd) {
    const Shared::TThemePalette* palette = Shared::ActiveThemePalette();
    SetDwmWindowAttribute(hwnd, DwmaUseImmersiveDarkMode, palette && palette->Dark ? TRUE : FALSE);
    SetDwmWindowAttribute(hwnd, DwmaCaptionColor, palette ? FromRgb(palette->Caption) : DwmColorDefault);
    SetDwmWindowAttribute(hwnd, DwmaTextColor, palette ? FromRgb(palette->CaptionText) : DwmColorDefault);
}

HBRUSH TBrushCache::Get(COLORREF color) {
    if (!FBrush || color != FColor) {
        FBrush.reset(CreateSolidBrush(color));
        FColor = color;
    }
    return FBrush.get();
}

} // namespace Velmora::Platform

// The colours our windows draw with: the active theme palette where one is in force, else the
// system's colours; and the frame colours the window manager draws for our top-level windows.
#pragma once

#include "platform/win32/WinHandles.h"

#include <windows.h>

namespace Velmora::Platform {

enum class TThemeRole { Window, WindowText, Control, ControlText, Accent, AccentText };

// The colour of a role: the palette's, else the system colour that plays that role.
COLORREF ThemeColor(TThemeRole role);
// A system colour index (COLOR_*) seen through the palette: the indices of form, control,
// highlight and caption colours map to the palette's roles, the others stay the system's.
COLORREF ThemedSysColor(int index);

// Dark frame, caption and caption-text colours of the active palette (or the system's own) for
// one top-level window; the results of the window manager are ignored.
void ApplyThemeToFrame(HWND hwnd);

// One solid brush, re-created when asked for another colour.
class TBrushCache {
public:
    HBRUSH Get(COLORREF color);

private:
    COLORREF FColor = 0;
    UniqueBrush FBrush;
};

// Answer to WM_CTLCOLOR*: text and background of a child control in the theme's colours.
inline LRESULT ThemedControlColors(WPARAM dcParam, TThemeRole text, TThemeRole background, TBrushCache& brush) {
    const HDC dc = reinterpret_cast<HDC>(dcParam);
    SetTextColor(dc, ThemeColor(text));
    SetBkColor(dc, ThemeColor(background));
    return reinterpret_cast<LRESULT>(brush.Get(ThemeColor(background)));
}

} // namespace Velmora::Platform

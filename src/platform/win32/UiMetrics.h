// Measures our windows are laid out with: the screen's scaling, the system's message font and
// the places a new window is centred on.
#pragma once

#include "platform/win32/WinHandles.h"

#include <windows.h>

namespace Velmora::Platform {

// Pixels per logical inch of the screen (96 at 100 %).
int ScreenDpi();
// A length designed at 96 DPI, scaled to the screen.
int Scaled(int designPixels);

// The font the system uses for message boxes.
UniqueFont CreateMessageFont();
// A font by face name and design height in pixels (negative: character height), scaled.
UniqueFont CreateDesignFont(const wchar_t* face, int designHeight);

// The top-left corner that centres a window of this outer size on the primary screen, or on the
// work area of the primary monitor (the screen without the taskbar).
POINT CenterOnScreen(int width, int height);
POINT CenterOnWorkArea(int width, int height);

// The outer size of a window with this client size, style and extended style.
SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

} // namespace Velmora::Platform

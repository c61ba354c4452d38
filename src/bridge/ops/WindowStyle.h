// Full screen, the one window style the page and the settings (WindowStyle 1) share: a window
// without border, maximised. Leaving it restores the normal state, then the border.
#pragma once

#include "platform/MainWindow.h"

#include <cstdint>

namespace Velmora::Shared {

void EnterFullScreen(Platform::TNativeMainWindow& Window);
// Border: the settings' code (WindowBorder).
void ExitFullScreen(Platform::TNativeMainWindow& Window, std::int32_t Border);

} // namespace Velmora::Shared

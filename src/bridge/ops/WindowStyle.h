// Full screen, the one window style the page and the settings (WindowStyle 1) share: a window
// without border, maximised. Leaving it restores the normal state, then the border.
#pragma once

#include "platform/MainWindow.h"

#include <cstdint>

namespace Velmora::Shared {

void EnterFullScreen(Platform::TNativeMainWindow& Window);
// Border: the settings' code (WindowBorder).
void ExitFullScreen(Platform::TNativeMainWindow& Window, std::int32_t Border);

// The bridge's full screen: on from start-up (WindowStyle 1) or app.enterFullscreen, off only by
// app.exitFullscreen. Border and state changes made meanwhile leave it on, and leaving still
// gives the normal state and the settings' border.
class TFullScreen {
public:
    explicit TFullScreen(bool On) : FOn(On) {}

    bool On() const { return FOn; }
    // Nothing when already on.
    void Enter(Platform::TNativeMainWindow& Window);
    // Nothing when off.
    void Exit(Platform::TNativeMainWindow& Window, std::int32_t Border);

private:
    bool FOn;
};

} // namespace Velmora::Shared

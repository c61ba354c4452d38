#include "bridge/ops/WindowStyle.h"

namespace Velmora::Shared {

void EnterFullScreen(Platform::TNativeMainWindow& Window) {
    Window.SetBorder(Platform::bsNone);
    Window.SetState(Platform::TWindowState::Maximized);
}

void ExitFullScreen(Platform::TNativeMainWindow& Window, std::int32_t Border) {
    Window.SetState(Platform::TWindowState::Normal);
    Window.SetBorder(Border);
}

void TFullScreen::Enter(Platform::TNativeMainWindow& Window) {
    if (FOn) return;
    FOn = true;
    EnterFullScreen(Window);
}

void TFullScreen::Exit(Platform::TNativeMainWindow& Window, std::int32_t Border) {
    if (!FOn) return;
    FOn = false;
    ExitFullScreen(Window, Border);
}

} // namespace Velmora::Shared

#include "browser/WindowLayout.h"

#include "bridge/ops/WindowStyle.h"
#include "payload/ProjectSettings.h"

namespace Velmora::Runtime {

void TSizeConstraints::SetMaxWidth(std::int32_t value) {
    MaxWidth = value;
    if (value > 0 && value < MinWidth) MinWidth = value;
}

void TSizeConstraints::SetMaxHeight(std::int32_t value) {
    MaxHeight = value;
    if (value > 0 && value < MinHeight) MinHeight = value;
}

void TSizeConstraints::SetMinWidth(std::int32_t value) {
    MinWidth = value;
    if (MaxWidth > 0 && value > MaxWidth) MaxWidth = value;
}

void TSizeConstraints::SetMinHeight(std::int32_t value) {
    MinHeight = value;
    if (MaxHeight > 0 && value > MaxHeight) MaxHeight = value;
}

TWindowLayout LayoutFromSettings(const Shared::TProjectSettings& settings, Shared::TextView appName) {
    TWindowLayout layout;
    layout.Caption = Shared::Text(appName);
    layout.Top = settings.Top();
    layout.Left = settings.Left();
    layout.Width = settings.Width();
    layout.Height = settings.Height();
    // The order matters: each limit may move the opposite one set before it.
    layout.Constraints.SetMaxWidth(settings.MaxWidth());
    layout.Constraints.SetMaxHeight(settings.MaxHeight());
    layout.Constraints.SetMinWidth(settings.MinWidth());
    layout.Constraints.SetMinHeight(settings.MinHeight());
    layout.CenterOnDesktop = settings.WindowPosition() == 0;
    if (settings.WindowStyle() == 1) {
        layout.FullScreen = true;
    } else {
        layout.Border = settings.WindowBorder();
        layout.Maximized = settings.WindowState() == 1;
    }
    layout.StayOnTop = settings.WindowOrder() == 1;
    return layout;
}

std::unique_ptr<Platform::TNativeMainWindow> CreateWindowFromLayout(const TWindowLayout& layout) {
    Platform::TMainWindowPlacement placement;
    placement.Width = layout.Width;
    placement.Height = layout.Height;
    placement.Limits = layout.Constraints;
    placement.CenterOnDesktop = layout.CenterOnDesktop;
    auto window = Platform::CreateMainWindow(layout.Caption, placement);
    if (layout.FullScreen) {
        Shared::EnterFullScreen(*window);
    } else {
        window->SetBorder(layout.Border);
        if (layout.Maximized) window->SetState(Platform::TWindowState::Maximized);
    }
    if (layout.StayOnTop) window->SetStayOnTop(true);
    return window;
}

} // namespace Velmora::Runtime

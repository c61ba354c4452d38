// How the main window is sized, limited, placed, bordered and stacked, derived once from the
// settings, and the window made from it out of the platform's window primitives.
#pragma once

#include "platform/MainWindow.h"
#include "shared/Text.h"

#include <cstdint>
#include <memory>

namespace Velmora::Shared {
class TProjectSettings;
}

namespace Velmora::Runtime {

using Platform::bsDialog;
using Platform::bsNone;
using Platform::bsSingle;
using Platform::bsSizeable;
using Platform::bsSizeToolWin;
using Platform::bsToolWindow;

// Size limits; 0 means none. A maximum set below the minimum lowers the minimum to it; a minimum
// set above the maximum raises the maximum to it.
struct TSizeConstraints : Platform::TSizeLimits {
    void SetMaxWidth(std::int32_t value);
    void SetMaxHeight(std::int32_t value);
    void SetMinWidth(std::int32_t value);
    void SetMinHeight(std::int32_t value);
};

struct TWindowLayout {
    Shared::Text Caption;
    std::int32_t Left = 50, Top = 50, Width = 800, Height = 600;
    TSizeConstraints Constraints;
    bool CenterOnDesktop = true;      // false: the system's default position for a new window
    bool FullScreen = false;          // no border, maximised
    std::int32_t Border = bsSizeable; // when not full screen; values outside 0..5 act as sizeable
    bool Maximized = false;           // when not full screen
    bool StayOnTop = false;
};

TWindowLayout LayoutFromSettings(const Shared::TProjectSettings& settings, Shared::TextView appName);

// A hidden window with the layout applied, shown by Show().
std::unique_ptr<Platform::TNativeMainWindow> CreateWindowFromLayout(const TWindowLayout& layout);

} // namespace Velmora::Runtime

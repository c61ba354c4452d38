// How the main window is sized, limited, placed, bordered and stacked, derived once from the
// settings; the platform window applies it.
#pragma once

#include "shared/Text.h"

#include <cstdint>

namespace Velmora::Shared {
class TProjectSettings;
}

namespace Velmora::Runtime {

// Size limits; 0 means none. A maximum set below the minimum lowers the minimum to it; a minimum
// set above the maximum raises the maximum to it.
struct TSizeConstraints {
    std::int32_t MaxWidth = 0, MaxHeight = 0, MinWidth = 0, MinHeight = 0;
    void SetMaxWidth(std::int32_t value);
    void SetMaxHeight(std::int32_t value);
    void SetMinWidth(std::int32_t value);
    void SetMinHeight(std::int32_t value);
};

// WindowBorder values.
enum TWindowBorder : std::int32_t {
    bsNone = 0, bsSingle = 1, bsSizeable = 2, bsDialog = 3, bsToolWindow = 4, bsSizeToolWin = 5
};

struct TWindowLayout {
    Shared::Text Caption;
    std::int32_t Left = 50, Top = 50, Width = 800, Height = 600;
    TSizeConstraints Constraints;
    bool CenterOnDesktop = true;  // false: the system's default position for a new window
    bool FullScreen = false;      // no border, maximised
    std::int32_t Border = bsSizeable; // when not full screen; values outside 0..5 act as sizeable
    bool Maximized = false;       // when not full screen
    bool StayOnTop = false;
};

TWindowLayout LayoutFromSettings(const Shared::TProjectSettings& settings, Shared::TextView appName);

} // namespace Velmora::Runtime

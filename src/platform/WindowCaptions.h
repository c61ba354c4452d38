// The captions of the desktop's top-level windows: what shell.windows lists.
#pragma once

#include "shared/Text.h"

#include <vector>

namespace Velmora::Platform {

// The caption of every top-level window, untrimmed and unfiltered (blank ones too), hidden
// windows and duplicates included, in the system's stacking order, topmost first. Linux: the X
// server's top-level windows (a window manager's frame stands for the client inside it); empty
// where the display is no X display.
std::vector<Shared::Text> TopLevelWindowCaptions();

} // namespace Velmora::Platform

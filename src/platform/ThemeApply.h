// Applying a theme palette to our native windows: the ones open now and every later one. Which
// palette is in force is kept once, by the style manager (shared/ThemePalettes.h); platform code
// that draws reads it there.
#pragma once

#include "shared/ThemePalettes.h"

namespace Velmora::Platform {

// Palette: the one now in force; null for the platform's own look.
void ApplyThemePalette(const Shared::TThemePalette* Palette);

} // namespace Velmora::Platform

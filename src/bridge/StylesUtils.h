// The style manager: which themes of our native windows exist, which is in force, switching.
// One theme is in force per process, applied to every window of ours.
#pragma once

#include "shared/Text.h"

#include <vector>

namespace Velmora::Shared {

struct TThemePalette;

class TStylesUtils {
public:
    // Every theme name: the platform look first, then every palette, sorted (ascending, ignoring
    // letter case) when Sorted.
    static void GetAvailables(std::vector<Text>& ThemesList, bool Sorted);
    static Text GetActiveTheme();
    // Switches to the theme whose name matches ThemeName ignoring letter case; true if it did.
    // No match changes nothing; with ShowError the user sees "Style '<name>' not found".
    static bool TrySetStyle(TextView ThemeName, bool ShowError);
    // Puts Palette in force (null: the platform look) and applies it to every window of ours.
    static void ApplyPalette(const TThemePalette* Palette);
};

} // namespace Velmora::Shared

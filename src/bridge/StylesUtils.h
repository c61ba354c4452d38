// Themes of the application's native windows: which exist, which is active, switching.
// One theme is active per process, applied to every window of ours.
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
};

// Applies a palette to every window of ours, now and later (null: the platform's own look).
// Platform code.
void ApplyThemePalette(const TThemePalette* palette);
// The palette in force (null for the platform look), for platform code drawing new windows.
const TThemePalette* ActiveThemePalette();

} // namespace Velmora::Shared

#include "bridge/StylesUtils.h"

#include "platform/MessageBox.h"
#include "platform/ThemeApply.h"
#include "shared/ThemePalettes.h"

#include <algorithm>

namespace Velmora::Shared {

namespace {

bool LessIgnoringCase(const Text& a, const Text& b) { return AsciiLower(a) < AsciiLower(b); }

} // namespace

void TStylesUtils::GetAvailables(std::vector<Text>& ThemesList, bool Sorted) {
    ThemesList.clear();
    for (TextView name : ThemeNames()) ThemesList.emplace_back(name);
    if (Sorted) std::stable_sort(ThemesList.begin(), ThemesList.end(), LessIgnoringCase);
}

Text TStylesUtils::GetActiveTheme() {
    const TThemePalette* palette = ActiveThemePalette();
    return Text(palette != nullptr ? palette->Name : PlatformThemeName);
}

void TStylesUtils::ApplyPalette(const TThemePalette* Palette) {
    SetActiveThemePalette(Palette);
    Platform::ApplyThemePalette(Palette);
}

bool TStylesUtils::TrySetStyle(TextView ThemeName, bool ShowError) {
    for (TextView name : ThemeNames()) {
        if (!SameTextAscii(name, ThemeName)) continue;
        ApplyPalette(FindThemePalette(name));
        return true;
    }
    if (ShowError) Platform::ShowSystemErrorBox(u"Style '" + Text(ThemeName) + u"' not found", u"Error");
    return false;
}

} // namespace Velmora::Shared

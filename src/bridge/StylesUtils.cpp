#include "bridge/StylesUtils.h"

#include "bridge/ThemePalettes.h"
#include "shared/SysUtils.h"

#include <algorithm>

namespace Velmora::Shared {

namespace {

// The style manager's one piece of state: the theme in force for the whole process.
Text& ActiveThemeName() {
    static Text name(PlatformThemeName);
    return name;
}

bool LessIgnoringCase(const Text& a, const Text& b) {
    return AsciiLower(a) < AsciiLower(b);
}

} // namespace

void TStylesUtils::GetAvailables(std::vector<Text>& ThemesList, bool Sorted) {
    ThemesList.clear();
    for (TextView name : ThemeNames()) ThemesList.emplace_back(name);
    if (Sorted) std::stable_sort(ThemesList.begin(), ThemesList.end(), LessIgnoringCase);
}

Text TStylesUtils::GetActiveTheme() { return ActiveThemeName(); }

bool TStylesUtils::TrySetStyle(TextView ThemeName, bool ShowError) {
    for (TextView name : ThemeNames()) {
        if (!SameTextAscii(name, ThemeName)) continue;
        ApplyThemePalette(FindThemePalette(name));
        ActiveThemeName() = Text(name);
        return true;
    }
    if (ShowError)
        TSysUtils::ShowSystemErrorBox(u"Style '" + Text(ThemeName) + u"' not found", u"Error");
    return false;
}

} // namespace Velmora::Shared

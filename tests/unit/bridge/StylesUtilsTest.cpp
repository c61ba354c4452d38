// Theme names, their order, and switching by name.
#include "bridge/StylesUtils.h"
#include "shared/ThemePalettes.h"

#include <gtest/gtest.h>

using namespace Velmora::Shared;

TEST(StylesUtils, ListsFortyThemesPlatformLookFirstOrSorted) {
    std::vector<Text> names;
    TStylesUtils::GetAvailables(names, false);
    ASSERT_EQ(names.size(), 40u);
    EXPECT_EQ(names.front(), u"Windows");

    TStylesUtils::GetAvailables(names, true);
    ASSERT_EQ(names.size(), 40u);
    EXPECT_EQ(names.front(), u"Amakrits");
    EXPECT_EQ(names.back(), u"Windows10 SlateGray");
    const auto windows = std::find(names.begin(), names.end(), u"Windows");
    ASSERT_NE(windows, names.end());
    EXPECT_EQ(*(windows + 1), u"Windows10");
    // Every name but the platform look has its own palette, and names are unique.
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(FindThemePalette(names[i]) == nullptr, names[i] == u"Windows") << ToUtf8(names[i]);
        for (size_t j = i + 1; j < names.size(); ++j) EXPECT_NE(names[i], names[j]);
    }
}

TEST(StylesUtils, SwitchesIgnoringCaseAndKeepsThemeOnUnknownName) {
    EXPECT_TRUE(TStylesUtils::TrySetStyle(u"Carbon", false));
    EXPECT_EQ(TStylesUtils::GetActiveTheme(), u"Carbon");

    EXPECT_TRUE(TStylesUtils::TrySetStyle(u"windows10 dark", false));
    EXPECT_EQ(TStylesUtils::GetActiveTheme(), u"Windows10 Dark"); // the theme's own spelling

    EXPECT_FALSE(TStylesUtils::TrySetStyle(u"No Such Theme", false));
    EXPECT_FALSE(TStylesUtils::TrySetStyle(u"", false));
    EXPECT_EQ(TStylesUtils::GetActiveTheme(), u"Windows10 Dark");

    EXPECT_TRUE(TStylesUtils::TrySetStyle(u"Windows", false));
    EXPECT_EQ(TStylesUtils::GetActiveTheme(), u"Windows");
}

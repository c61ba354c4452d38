// Theme palettes on GTK: applied to every window through one screen-wide provider, replaced by
// the next palette, removed for the platform look; dark palettes ask for GTK's dark variant.
#include "GtkTestDisplay.h"

#include "bridge/StylesUtils.h"
#include "shared/ThemePalettes.h"

#include <gtest/gtest.h>

using namespace Velmora::Shared;

namespace {

const TThemePalette Light{u"Light Test", "LIGHTTEST", 0xF0E0D0, 0x101010, 0xFFFFFF, 0x202020,
                          0x3060C0,      0xFFFFFF,    0xC0C0F0, 0x000000, false};
const TThemePalette Dark{u"Dark Test", "DARKTEST", 0x202428, 0xE0E0E0, 0x303438, 0xF0F0F0,
                         0xC06030,     0x000000,   0x101418, 0xFFFFFF, true};

std::uint32_t StyleColor(GtkWidget* widget, const char* property) {
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    GdkRGBA* rgba = nullptr;
    gtk_style_context_get(context, gtk_style_context_get_state(context), property, &rgba, nullptr);
    auto byte = [](double v) { return std::uint32_t(v * 255.0 + 0.5); };
    const std::uint32_t rgb = (byte(rgba->red) << 16) | (byte(rgba->green) << 8) | byte(rgba->blue);
    gdk_rgba_free(rgba);
    return rgb;
}

bool PrefersDark() {
    gboolean dark = FALSE;
    g_object_get(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", &dark, nullptr);
    return dark;
}

struct Widgets {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* entry = gtk_entry_new();
    GtkWidget* button = gtk_button_new_with_label("b");
    Widgets() {
        GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_container_add(GTK_CONTAINER(box), entry);
        gtk_container_add(GTK_CONTAINER(box), button);
        gtk_container_add(GTK_CONTAINER(window), box);
    }
    ~Widgets() { gtk_widget_destroy(window); }
};

} // namespace

TEST(ThemeApply, PalettesColourWindowsEntriesAndButtonsAndGoAwayForThePlatformLook) {
    Widgets existing; // made before the palette: restyled too
    const std::uint32_t platformBackground = StyleColor(existing.window, "background-color");
    const bool userDark = PrefersDark();

    TStylesUtils::ApplyPalette(&Light);
    EXPECT_EQ(ActiveThemePalette(), &Light);
    Widgets later;
    for (GtkWidget* window : {existing.window, later.window}) {
        EXPECT_EQ(StyleColor(window, "background-color"), Light.Window);
        EXPECT_EQ(StyleColor(window, "color"), Light.WindowText);
    }
    EXPECT_EQ(StyleColor(later.entry, "background-color"), Light.Control);
    EXPECT_EQ(StyleColor(later.entry, "color"), Light.ControlText);
    EXPECT_EQ(StyleColor(later.button, "background-color"), Light.Control);
    EXPECT_FALSE(PrefersDark());

    TStylesUtils::ApplyPalette(&Dark); // replaces, never stacks
    EXPECT_EQ(ActiveThemePalette(), &Dark);
    EXPECT_EQ(StyleColor(existing.window, "background-color"), Dark.Window);
    EXPECT_EQ(StyleColor(existing.entry, "color"), Dark.ControlText);
    EXPECT_TRUE(PrefersDark());

    TStylesUtils::ApplyPalette(nullptr);
    EXPECT_EQ(ActiveThemePalette(), nullptr);
    EXPECT_EQ(StyleColor(existing.window, "background-color"), platformBackground);
    EXPECT_EQ(PrefersDark(), userDark);
}

TEST(ThemeApply, SwitchingByNameAppliesThePaletteOfThatTheme) {
    ASSERT_TRUE(TStylesUtils::TrySetStyle(u"carbon", false));
    const TThemePalette* carbon = FindThemePalette(u"Carbon");
    ASSERT_NE(carbon, nullptr);
    EXPECT_EQ(ActiveThemePalette(), carbon);
    Widgets widgets;
    EXPECT_EQ(StyleColor(widgets.window, "background-color"), carbon->Window);
    ASSERT_TRUE(TStylesUtils::TrySetStyle(PlatformThemeName, false));
    EXPECT_EQ(ActiveThemePalette(), nullptr);
}

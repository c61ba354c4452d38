// GTK: a theme palette becomes one CSS provider on the default screen at application priority
// (windows, dialogs, entries, buttons, title bars, menus, selection), plus GTK's dark variant
// for dark palettes. The provider is kept on the screen object, so every window, present or
// later, takes it.
#include "platform/ThemeApply.h"

#include "platform/gtk/GtkHandles.h"

#include <cstdio>
#include <string>

namespace Velmora::Platform {

using Shared::TThemePalette;

namespace {

constexpr const char* ProviderKey = "velmora-theme-provider";
constexpr const char* UserDarkKey = "velmora-user-prefers-dark";

std::string Css(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFFu);
    return text;
}

// The colour halfway between two (hover and border shades).
std::uint32_t Mix(std::uint32_t a, std::uint32_t b) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return out;
}

std::string PaletteCss(const TThemePalette& p) {
    const std::string window = Css(p.Window), text = Css(p.WindowText), control = Css(p.Control),
                      controlText = Css(p.ControlText), accent = Css(p.Accent), accentText = Css(p.AccentText),
                      caption = Css(p.Caption), captionText = Css(p.CaptionText),
                      border = Css(Mix(p.Control, p.WindowText)), hover = Css(Mix(p.Control, p.Accent));
    // The named colours answer lookups by our own windows (the installation window's system colours).
    std::string css = "@define-color theme_bg_color " + window +
                      ";\n"
                      "@define-color theme_fg_color " +
                      text +
                      ";\n"
                      "@define-color theme_base_color " +
                      control +
                      ";\n"
                      "@define-color theme_text_color " +
                      controlText +
                      ";\n"
                      "@define-color theme_selected_bg_color " +
                      accent +
                      ";\n"
                      "@define-color theme_selected_fg_color " +
                      accentText +
                      ";\n"
                      "@define-color borders " +
                      border + ";\n";
    css += "window, dialog, .background, messagedialog, menu, .menu, menubar, popover, tooltip {"
           " background-color: " +
           window + "; background-image: none; color: " + text + "; }\n";
    css += "label { color: inherit; }\n";
    css += "entry, textview text, spinbutton { background-color: " + control +
           "; background-image: none;"
           " color: " +
           controlText + "; border-color: " + border + "; }\n";
    css += "entry:focus { border-color: " + accent + "; box-shadow: inset 0 0 0 1px " + accent + "; }\n";
    css += "button { background-color: " + control + "; background-image: none; color: " + controlText +
           "; border-color: " + border + "; box-shadow: none; text-shadow: none; -gtk-icon-shadow: none; }\n";
    css += "button:hover { background-color: " + hover + "; }\n";
    css += "button.default, button:active, button:checked { background-color: " + accent + "; color: " + accentText +
           "; }\n";
    css += "headerbar, .titlebar, .titlebar:backdrop, headerbar:backdrop { background-color: " + caption +
           "; background-image: none; color: " + captionText + "; border-color: " + border + "; box-shadow: none; }\n";
    css += "headerbar .title, .titlebar .title, headerbar button, .titlebar button { color: " + captionText + "; }\n";
    css += "menuitem:hover, menu menuitem:hover, menubar > menuitem:hover { background-color: " + accent +
           "; color: " + accentText + "; }\n";
    css += "selection, *:selected, entry selection, textview text selection { background-color: " + accent +
           "; color: " + accentText + "; }\n";
    return css;
}

// GTK's dark variant follows the palette; the user's own choice comes back with the platform look.
void SetPreferDark(const TThemePalette* palette) {
    GtkSettings* settings = gtk_settings_get_default();
    if (!settings) return;
    if (!g_object_get_data(G_OBJECT(settings), UserDarkKey)) {
        gboolean userDark = FALSE;
        g_object_get(settings, "gtk-application-prefer-dark-theme", &userDark, nullptr);
        // Stored as 1 + value so that "false" is told apart from "not yet saved".
        g_object_set_data(G_OBJECT(settings), UserDarkKey, GINT_TO_POINTER(1 + (userDark ? 1 : 0)));
    }
    const bool userDark = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(settings), UserDarkKey)) == 2;
    g_object_set(settings, "gtk-application-prefer-dark-theme", palette ? palette->Dark : userDark, nullptr);
}

} // namespace

void ApplyThemePalette(const TThemePalette* Palette) {
    const TThemePalette* palette = Palette;
    // Before GTK has opened its display there is no window to theme (the entry point opens it
    // first thing).
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return;
    if (auto* old = static_cast<GtkStyleProvider*>(g_object_get_data(G_OBJECT(screen), ProviderKey))) {
        gtk_style_context_remove_provider_for_screen(screen, old);
        g_object_set_data(G_OBJECT(screen), ProviderKey, nullptr); // drops our reference
    }
    SetPreferDark(palette);
    if (!palette) return;

    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, PaletteCss(*palette).c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_set_data_full(G_OBJECT(screen), ProviderKey, provider, g_object_unref);
}

} // namespace Velmora::Platform

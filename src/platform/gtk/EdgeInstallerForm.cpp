// GTK: the window shown while the browser runtime installs: an 80 x 80 popup (no frame, no
// taskbar entry) with corners cut round, centred on the screen, coloured from the settings,
// refusing to close, with a drawn busy indicator in its middle.
#include "platform/gtk/ActivityIndicator.h"
#include "platform/gtk/GtkHandles.h"
#include "platform/StartupDialogs.h"

#include <cstdio>
#include <iterator>

namespace Velmora::Platform {

namespace {

constexpr int FormSize = 80, IndicatorSize = 32;

// System colour indices as the settings give them (0xFF000000 + index), each answered by the
// theme's colour of the same role, or by the usual desktop colour when the theme has none.
struct SystemColor {
    const char* ThemeColor;
    std::uint32_t Fallback; // 0xRRGGBB
};

constexpr SystemColor SystemColors[] = {
    {"theme_bg_color", 0xC8C8C8},           // 0 scroll bar
    {"theme_bg_color", 0x000000},           // 1 desktop
    {"theme_selected_bg_color", 0x99B4D1},  // 2 active caption
    {"theme_unfocused_bg_color", 0xBFCDDB}, // 3 inactive caption
    {"theme_bg_color", 0xF0F0F0},           // 4 menu
    {"theme_base_color", 0xFFFFFF},         // 5 window
    {"borders", 0x646464},                  // 6 window frame
    {"theme_fg_color", 0x000000},           // 7 menu text
    {"theme_text_color", 0x000000},         // 8 window text
    {"theme_fg_color", 0x000000},           // 9 caption text
    {"borders", 0xB4B4B4},                  // 10 active border
    {"unfocused_borders", 0xF4F7FC},        // 11 inactive border
    {"theme_bg_color", 0xABABAB},           // 12 application workspace
    {"theme_selected_bg_color", 0x0078D7},  // 13 highlight
    {"theme_selected_fg_color", 0xFFFFFF},  // 14 highlight text
    {"theme_bg_color", 0xF0F0F0},           // 15 button face
    {"borders", 0xA0A0A0},                  // 16 button shadow
    {"insensitive_fg_color", 0x6D6D6D},     // 17 grey text
    {"theme_fg_color", 0x000000},           // 18 button text
    {"theme_unfocused_fg_color", 0x000000}, // 19 inactive caption text
    {"theme_base_color", 0xFFFFFF},         // 20 button highlight
    {"borders", 0x696969},                  // 21 3D dark shadow
    {"theme_bg_color", 0xE3E3E3},           // 22 3D light
    {"theme_fg_color", 0x000000},           // 23 tooltip text
    {"theme_base_color", 0xFFFFE1},         // 24 tooltip background
    {"theme_bg_color", 0xF0F0F0},           // 25 (unused)
    {"theme_selected_bg_color", 0x0066CC},  // 26 hot-tracked item
    {"theme_selected_bg_color", 0xB9D1EA},  // 27 active caption gradient
    {"theme_unfocused_bg_color", 0xD7E4F2}, // 28 inactive caption gradient
    {"theme_selected_bg_color", 0x3399FF},  // 29 menu highlight
    {"theme_bg_color", 0xF0F0F0},           // 30 menu bar
};

GdkRGBA FromRgb(std::uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1.0};
}

GdkRGBA ResolveColor(GtkWidget* widget, std::int32_t color) {
    const auto value = static_cast<std::uint32_t>(color);
    if ((value >> 24) != 0xFF) // 0x00BBGGRR
        return FromRgb(((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF));
    const std::uint32_t index = value & 0xFFFFFF;
    const SystemColor& system = index < std::size(SystemColors) ? SystemColors[index] : SystemColors[15];
    GdkRGBA rgba;
    if (gtk_style_context_lookup_color(gtk_widget_get_style_context(widget), system.ThemeColor, &rgba)) return rgba;
    return FromRgb(system.Fallback);
}

// A rectangle with each corner pixel cut off: what 4 x 4 corner ellipses round at this size.
void CutCorners(GtkWidget* window, int width, int height) {
    const cairo_rectangle_int_t rows[] = {
        {1, 0, width - 2, 1}, {0, 1, width, height - 2}, {1, height - 1, width - 2, 1}};
    cairo_region_t* region = cairo_region_create_rectangles(rows, 3);
    gtk_widget_shape_combine_region(window, region);
    cairo_region_destroy(region);
}

gboolean RefuseClose(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

class TGtkEdgeInstallerForm final : public TEdgeInstallerForm {
public:
    TGtkEdgeInstallerForm() {
        GtkWindow* window = GTK_WINDOW(FWindow.get());
        gtk_window_set_decorated(window, FALSE);
        gtk_window_set_resizable(window, FALSE);
        gtk_window_set_skip_taskbar_hint(window, TRUE);
        gtk_window_set_position(window, GTK_WIN_POS_CENTER);
        gtk_widget_set_size_request(FWindow.get(), FormSize, FormSize);
        // Our colour must win over any theme palette.
        gtk_style_context_add_provider(gtk_widget_get_style_context(FWindow.get()),
                                       GTK_STYLE_PROVIDER(FBackground.get()), GTK_STYLE_PROVIDER_PRIORITY_USER);
        gtk_widget_set_halign(FIndicator, GTK_ALIGN_CENTER);
        gtk_widget_set_valign(FIndicator, GTK_ALIGN_CENTER);
        gtk_container_add(GTK_CONTAINER(window), FIndicator);
        g_signal_connect(window, "delete-event", G_CALLBACK(RefuseClose), nullptr);
        CutCorners(FWindow.get(), FormSize, FormSize);
    }

    void SetColor(std::int32_t Color) override {
        const GdkRGBA rgba = ResolveColor(FWindow.get(), Color);
        char css[96];
        std::snprintf(css, sizeof css, "window { background-color: rgb(%d,%d,%d); background-image: none; }",
                      static_cast<int>(rgba.red * 255.0 + 0.5), static_cast<int>(rgba.green * 255.0 + 0.5),
                      static_cast<int>(rgba.blue * 255.0 + 0.5));
        gtk_css_provider_load_from_data(FBackground.get(), css, -1, nullptr);
    }

    void SetIndicatorColor(std::int32_t IndicatorColor) override {
        SetActivityIndicatorWhite(FIndicator, IndicatorColor == 1);
    }

    void SetIndicatorType(std::int32_t IndicatorType) override { SetActivityIndicatorKind(FIndicator, IndicatorType); }

    void Show() override { gtk_widget_show_all(FWindow.get()); }

    void* Handle() const override { return FWindow.get(); }

private:
    TopLevelPtr FWindow{gtk_window_new(GTK_WINDOW_POPUP)};
    GObjectPtr<GtkCssProvider> FBackground{gtk_css_provider_new()};
    GtkWidget* FIndicator = NewActivityIndicator(IndicatorSize); // owned by the window
};

} // namespace

std::unique_ptr<TEdgeInstallerForm> CreateEdgeInstallerForm() { return std::make_unique<TGtkEdgeInstallerForm>(); }

} // namespace Velmora::Platform

// WebKitGTK: the browser's own popup windows (see WebKitPopupWindows.h).
#include "platform/gtk/WebKitPopupWindows.h"

#include <algorithm>

namespace Velmora::Platform {

namespace {

constexpr int PopupWidth = 800;
constexpr int PopupHeight = 600;

} // namespace

TWebKitPopupWindows::TWebKitPopupWindows(std::function<void(WebKitWebView*)> ConnectPage)
    : FConnectPage(std::move(ConnectPage)) {}

TWebKitPopupWindows::~TWebKitPopupWindows() {
    // Destroying a window runs Destroyed, which edits the list: work on a copy.
    const std::vector<GtkWidget*> windows = FWindows;
    for (GtkWidget* window : windows) {
        g_signal_handlers_disconnect_by_data(window, this);
        gtk_widget_destroy(window);
    }
}

GtkWidget* TWebKitPopupWindows::Create(WebKitWebView* Opener) {
    // The engine gives a related view the opener's scripts too; its relay is never started, so
    // nothing it posts reaches the host.
    GtkWidget* view = webkit_web_view_new_with_related_view(Opener);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), PopupWidth, PopupHeight);
    // The window takes the view's floating reference; the engine only borrows the widget.
    gtk_container_add(GTK_CONTAINER(window), view);
    FWindows.push_back(window);
    g_signal_connect(window, "destroy", G_CALLBACK(Destroyed), this);
    g_signal_connect(view, "ready-to-show", G_CALLBACK(ReadyToShow), window);
    g_signal_connect(view, "close", G_CALLBACK(CloseRequested), window);
    g_signal_connect(view, "notify::title", G_CALLBACK(TitleChanged), window);
    if (FConnectPage) FConnectPage(WEBKIT_WEB_VIEW(view));
    return view;
}

void TWebKitPopupWindows::ReadyToShow(WebKitWebView*, gpointer window) { gtk_widget_show_all(GTK_WIDGET(window)); }

void TWebKitPopupWindows::CloseRequested(WebKitWebView*, gpointer window) {
    // Never destroy the view inside its own signal: let the engine return first.
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer w) -> gboolean {
            gtk_widget_destroy(GTK_WIDGET(w));
            return G_SOURCE_REMOVE;
        },
        g_object_ref(window), g_object_unref);
}

void TWebKitPopupWindows::TitleChanged(GObject* view, GParamSpec*, gpointer window) {
    const char* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(view));
    gtk_window_set_title(GTK_WINDOW(window), title != nullptr ? title : "");
}

void TWebKitPopupWindows::Destroyed(GtkWidget* window, gpointer data) {
    auto& windows = static_cast<TWebKitPopupWindows*>(data)->FWindows;
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

} // namespace Velmora::Platform

// GTK: the main window behind TMainForm, a GtkWindow set up from a TWindowLayout (size, limits
// as geometry hints, placement, decorations and type hint for the border, maximised, keep-above)
// holding one vertical GtkBox for the browser view; and the GTK main loop.
#include "browser/NativeMainWindow.h"
#include "platform/gtk/GtkHandles.h"

namespace Velmora::Runtime {

namespace {

// X11 sizes are 16-bit: "no maximum" is the largest one.
constexpr int NoMaximum = 32767;

void ApplyConstraints(GtkWindow* window, const TSizeConstraints& limits) {
    GdkGeometry geometry{};
    int mask = 0;
    if (limits.MinWidth > 0 || limits.MinHeight > 0) {
        geometry.min_width = limits.MinWidth > 0 ? limits.MinWidth : 1;
        geometry.min_height = limits.MinHeight > 0 ? limits.MinHeight : 1;
        mask |= GDK_HINT_MIN_SIZE;
    }
    if (limits.MaxWidth > 0 || limits.MaxHeight > 0) {
        geometry.max_width = limits.MaxWidth > 0 ? limits.MaxWidth : NoMaximum;
        geometry.max_height = limits.MaxHeight > 0 ? limits.MaxHeight : NoMaximum;
        mask |= GDK_HINT_MAX_SIZE;
    }
    if (mask) gtk_window_set_geometry_hints(window, nullptr, &geometry, static_cast<GdkWindowHints>(mask));
}

void ApplyBorder(GtkWindow* window, std::int32_t border) {
    switch (border) {
    case bsNone:
        gtk_window_set_decorated(window, FALSE);
        break;
    case bsSingle:
        gtk_window_set_resizable(window, FALSE);
        break;
    case bsDialog:
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_window_set_resizable(window, FALSE);
        break;
    case bsToolWindow:
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
        gtk_window_set_resizable(window, FALSE);
        break;
    case bsSizeToolWin:
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
        break;
    default: // sizeable, and every unknown value
        break;
    }
}

} // namespace

struct TNativeMainWindow::Impl {
    TNativeMainWindow* Owner;
    Platform::TopLevelPtr Window{gtk_window_new(GTK_WINDOW_TOPLEVEL)};
    bool Closed = false;

    static gboolean DeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<Impl*>(data)->TryClose();
        return TRUE; // we hide the window ourselves; it is destroyed with this object
    }

    static void ClientResized(GtkWidget*, GdkRectangle* allocation, gpointer data) {
        auto* self = static_cast<Impl*>(data);
        if (self->Owner->OnResize) self->Owner->OnResize(allocation->width, allocation->height);
    }

    void TryClose() {
        if (Closed) return;
        if (Owner->OnCloseQuery && !Owner->OnCloseQuery()) return;
        Closed = true;
        gtk_widget_hide(Window.get());
        if (Owner->OnClose) Owner->OnClose();
    }
};

TNativeMainWindow::TNativeMainWindow(const TWindowLayout& layout) : FImpl(std::make_unique<Impl>()) {
    FImpl->Owner = this;
    GtkWindow* window = GTK_WINDOW(FImpl->Window.get());
    gtk_window_set_title(window, Shared::ToUtf8(layout.Caption).c_str());
    // The outer size; Left and Top give way to the placement, as on every platform.
    gtk_window_set_default_size(window, layout.Width, layout.Height);
    ApplyConstraints(window, layout.Constraints);
    gtk_window_set_position(window, layout.CenterOnDesktop ? GTK_WIN_POS_CENTER : GTK_WIN_POS_NONE);
    if (layout.FullScreen) {
        // Full screen is a maximised window without decorations, as the layout defines it.
        gtk_window_set_decorated(window, FALSE);
        gtk_window_maximize(window);
    } else {
        ApplyBorder(window, layout.Border);
        if (layout.Maximized) gtk_window_maximize(window);
    }
    if (layout.StayOnTop) gtk_window_set_keep_above(window, TRUE);

    // The one child: the browser view (and anything above it) goes in here.
    GtkWidget* client = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(window), client);
    gtk_widget_show(client);
    g_signal_connect(client, "size-allocate", G_CALLBACK(Impl::ClientResized), FImpl.get());

    g_signal_connect(window, "delete-event", G_CALLBACK(Impl::DeleteEvent), FImpl.get());
}

TNativeMainWindow::~TNativeMainWindow() = default;

void TNativeMainWindow::Show() {
    FImpl->Closed = false;
    gtk_window_present(GTK_WINDOW(FImpl->Window.get()));
}

void TNativeMainWindow::SetCaption(Shared::TextView caption) {
    gtk_window_set_title(GTK_WINDOW(FImpl->Window.get()), Shared::ToUtf8(caption).c_str());
}

void TNativeMainWindow::Close() { FImpl->TryClose(); }

void* TNativeMainWindow::Handle() const { return FImpl->Window.get(); }

void SetApplicationTitle(Shared::TextView title) {
    // GLib takes the application name once; later calls would only warn.
    const std::string name = Shared::ToUtf8(title);
    const char* current = g_get_application_name();
    const char* program = g_get_prgname();
    const bool unset = current == nullptr || (program != nullptr && g_strcmp0(current, program) == 0);
    if (unset && g_strcmp0(current, name.c_str()) != 0) g_set_application_name(name.c_str());
}

void RunMessageLoop() { gtk_main(); }

void QuitMessageLoop() {
    if (gtk_main_level() > 0) gtk_main_quit();
}

} // namespace Velmora::Runtime

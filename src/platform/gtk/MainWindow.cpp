// GTK: the main window behind TMainForm, a GtkWindow holding one vertical GtkBox for the browser
// view: size limits as geometry hints, placement, decorations, resizability and type hint for the
// border, maximise/iconify, keep-above, outer bounds from the frame extents; the state the window
// manager reports comes back through window-state-event, the stacking from _NET_WM_STATE. A
// change to a shown window waits briefly for the window manager to carry it out.
#include "platform/MainWindow.h"

#include "platform/gtk/GtkHandles.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace Velmora::Platform {

namespace {

// X11 sizes are 16-bit: "no maximum" is the largest one.
constexpr int NoMaximum = 32767;
// How long a change may take the window manager before the window is read back as it is.
constexpr gint64 SettleMicroseconds = 500 * 1000;

void ApplyLimits(GtkWindow* window, const TSizeLimits& limits) {
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

// GDK reports no "above" state of its own: the window manager's word is in _NET_WM_STATE. None
// where no window manager keeps that property.
std::optional<bool> WindowManagerKeepsAbove(GdkWindow* window) {
    GdkAtom type = GDK_NONE;
    gint format = 0, length = 0;
    guchar* data = nullptr;
    if (!gdk_property_get(window, gdk_atom_intern_static_string("_NET_WM_STATE"), gdk_atom_intern_static_string("ATOM"),
                          0, 1024, FALSE, &type, &format, &length, &data))
        return std::nullopt;
    const GCharPtr owned(reinterpret_cast<gchar*>(data));
    // GDK hands ATOM properties over as GdkAtoms.
    const auto* atoms = reinterpret_cast<const GdkAtom*>(data);
    const GdkAtom above = gdk_atom_intern_static_string("_NET_WM_STATE_ABOVE");
    for (gint i = 0; i < length / static_cast<gint>(sizeof(GdkAtom)); ++i)
        if (atoms[i] == above) return true;
    return false;
}

class TGtkMainWindow final : public TNativeMainWindow {
public:
    TGtkMainWindow(Shared::TextView caption, const TMainWindowPlacement& placement) {
        GtkWindow* window = Window();
        SetCaption(caption);
        // The outer size; the system's default position gives way to centring, as on every platform.
        gtk_window_set_default_size(window, placement.Width, placement.Height);
        ApplyLimits(window, placement.Limits);
        gtk_window_set_position(window, placement.CenterOnDesktop ? GTK_WIN_POS_CENTER : GTK_WIN_POS_NONE);

        // The one child: the browser view (and anything above it) goes in here.
        GtkWidget* client = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_container_add(GTK_CONTAINER(window), client);
        gtk_widget_show(client);
        g_signal_connect(client, "size-allocate", G_CALLBACK(ClientResized), this);
        g_signal_connect(window, "delete-event", G_CALLBACK(DeleteEvent), this);
        g_signal_connect(window, "window-state-event", G_CALLBACK(StateChanged), this);
    }

    void Show() override {
        FClosed = false;
        gtk_window_present(Window());
    }
    void Hide() override { gtk_widget_hide(FWindow.get()); }
    void BringToFront() override {
        gtk_window_deiconify(Window());
        gtk_window_present(Window());
    }

    Shared::Text Caption() const override {
        const char* title = gtk_window_get_title(Window());
        return Shared::FromUtf8(title != nullptr ? title : "");
    }
    void SetCaption(Shared::TextView caption) override {
        gtk_window_set_title(Window(), Shared::ToUtf8(caption).c_str());
    }

    std::int32_t Border() const override {
        GtkWindow* window = Window();
        if (!gtk_window_get_decorated(window)) return bsNone;
        const bool resizable = gtk_window_get_resizable(window);
        switch (gtk_window_get_type_hint(window)) {
            case GDK_WINDOW_TYPE_HINT_UTILITY: return resizable ? bsSizeToolWin : bsToolWindow;
            case GDK_WINDOW_TYPE_HINT_DIALOG: return bsDialog;
            default: return resizable ? bsSizeable : bsSingle;
        }
    }
    void SetBorder(std::int32_t border) override {
        GtkWindow* window = Window();
        gtk_window_set_decorated(window, border != bsNone);
        const bool fixedSize = border == bsSingle || border == bsDialog || border == bsToolWindow;
        gtk_window_set_resizable(window, !fixedSize);
        GdkWindowTypeHint hint = GDK_WINDOW_TYPE_HINT_NORMAL;
        if (border == bsDialog) hint = GDK_WINDOW_TYPE_HINT_DIALOG;
        if (border == bsToolWindow || border == bsSizeToolWin) hint = GDK_WINDOW_TYPE_HINT_UTILITY;
        gtk_window_set_type_hint(window, hint);
        Settle([&] { return FrameDrawn() == (border != bsNone); });
    }

    TWindowState State() const override { return FState; }
    void SetState(TWindowState state) override {
        GtkWindow* window = Window();
        switch (state) {
            case TWindowState::Normal:
                gtk_window_deiconify(window);
                gtk_window_unmaximize(window);
                break;
            case TWindowState::Maximized: gtk_window_maximize(window); break;
            case TWindowState::Minimized: gtk_window_iconify(window); break;
        }
        // Before the window is mapped nothing reports back: the state asked for is the one it shows in.
        if (!gtk_widget_get_mapped(FWindow.get())) FState = state;
        if (Settle([&] { return FState == state; })) SettleBounds();
    }

    bool StayOnTop() const override {
        GdkWindow* gdk = gtk_widget_get_window(FWindow.get());
        if (gdk != nullptr && gtk_widget_get_mapped(FWindow.get()))
            if (const std::optional<bool> above = WindowManagerKeepsAbove(gdk)) return *above;
        return FStayOnTop;
    }
    void SetStayOnTop(bool onTop) override {
        gtk_window_set_keep_above(Window(), onTop);
        FStayOnTop = onTop;
        Settle([&] { return StayOnTop() == onTop; });
    }

    TWindowBounds Bounds() const override {
        GdkWindow* gdk = gtk_widget_get_window(FWindow.get());
        if (gdk != nullptr && gtk_widget_get_mapped(FWindow.get())) {
            GdkRectangle frame{};
            gdk_window_get_frame_extents(gdk, &frame);
            return {frame.x, frame.y, frame.width, frame.height};
        }
        TWindowBounds bounds;
        gtk_window_get_position(Window(), &bounds.Left, &bounds.Top);
        gtk_window_get_default_size(Window(), &bounds.Width, &bounds.Height);
        return bounds;
    }
    void SetBounds(const TWindowBounds& bounds) override {
        const auto placed = [&] {
            const TWindowBounds now = Bounds();
            return now.Left == bounds.Left && now.Top == bounds.Top && now.Width == bounds.Width &&
                   now.Height == bounds.Height;
        };
        // A window manager still restoring the window from maximised (or from full screen) may
        // move it back to its old place after this request: the request is made once more then.
        for (int attempt = 0; attempt < 2; ++attempt) {
            RequestBounds(bounds);
            if (Settle(placed)) return;
        }
    }

    void Close() override { TryClose(); }
    void* Handle() const override { return FWindow.get(); }

private:
    GtkWindow* Window() const { return GTK_WINDOW(FWindow.get()); }

    // The window manager carries a request out later; the page reads the window back right
    // after it, as on Windows where the change is made when the call returns. So a shown window
    // serves the main loop until done() holds or a short time has passed (a window manager that
    // refuses or clamps, or none at all). Returns done().
    bool Settle(const std::function<bool()>& done) const {
        if (!gtk_widget_get_mapped(FWindow.get())) return done();
        gdk_display_flush(gtk_widget_get_display(FWindow.get()));
        const gint64 deadline = g_get_monotonic_time() + SettleMicroseconds;
        while (!done()) {
            if (g_get_monotonic_time() >= deadline) return false;
            if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
        }
        return true;
    }

    // A window manager may move a window through several places after a change of state (an
    // animated restore): serves the main loop until the bounds have held still for a moment.
    void SettleBounds() const {
        constexpr gint64 StillMicroseconds = 80 * 1000;
        const gint64 deadline = g_get_monotonic_time() + SettleMicroseconds;
        TWindowBounds last = Bounds();
        gint64 since = g_get_monotonic_time();
        while (g_get_monotonic_time() < deadline && g_get_monotonic_time() - since < StillMicroseconds) {
            if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
            const TWindowBounds now = Bounds();
            if (now.Left != last.Left || now.Top != last.Top || now.Width != last.Width || now.Height != last.Height) {
                last = now;
                since = g_get_monotonic_time();
            }
        }
    }

    // The window manager draws a frame around the client window.
    bool FrameDrawn() const {
        GdkWindow* gdk = gtk_widget_get_window(FWindow.get());
        if (gdk == nullptr) return gtk_window_get_decorated(Window());
        GdkRectangle frame{};
        gdk_window_get_frame_extents(gdk, &frame);
        return frame.width > gdk_window_get_width(gdk) || frame.height > gdk_window_get_height(gdk);
    }

    void RequestBounds(const TWindowBounds& bounds) {
        // GTK sizes the client area: the frame the window manager draws is taken off the outer size.
        int frameWidth = 0, frameHeight = 0;
        if (GdkWindow* gdk = gtk_widget_get_window(FWindow.get()); gdk && gtk_widget_get_mapped(FWindow.get())) {
            GdkRectangle frame{};
            gdk_window_get_frame_extents(gdk, &frame);
            frameWidth = frame.width - gdk_window_get_width(gdk);
            frameHeight = frame.height - gdk_window_get_height(gdk);
        }
        gtk_window_move(Window(), bounds.Left, bounds.Top);
        gtk_window_resize(Window(), std::max(1, bounds.Width - frameWidth), std::max(1, bounds.Height - frameHeight));
    }

    static gboolean DeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<TGtkMainWindow*>(data)->TryClose();
        return TRUE; // we hide the window ourselves; it is destroyed with this object
    }

    static void ClientResized(GtkWidget*, GdkRectangle* allocation, gpointer data) {
        auto* self = static_cast<TGtkMainWindow*>(data);
        if (self->OnResize) self->OnResize(allocation->width, allocation->height);
    }

    static gboolean StateChanged(GtkWidget*, GdkEventWindowState* event, gpointer data) {
        auto* self = static_cast<TGtkMainWindow*>(data);
        const GdkWindowState state = event->new_window_state;
        self->FState = (state & GDK_WINDOW_STATE_ICONIFIED)   ? TWindowState::Minimized
                       : (state & GDK_WINDOW_STATE_MAXIMIZED) ? TWindowState::Maximized
                                                              : TWindowState::Normal;
        return FALSE;
    }

    void TryClose() {
        if (FClosed) return;
        if (OnCloseQuery && !OnCloseQuery()) return;
        FClosed = true;
        gtk_widget_hide(FWindow.get());
        if (OnClose) OnClose();
    }

    TopLevelPtr FWindow{gtk_window_new(GTK_WINDOW_TOPLEVEL)};
    TWindowState FState = TWindowState::Normal;
    bool FStayOnTop = false; // asked for; what counts once the window manager tells
    bool FClosed = false;
};

} // namespace

std::unique_ptr<TNativeMainWindow> CreateMainWindow(Shared::TextView Caption, const TMainWindowPlacement& Placement) {
    return std::make_unique<TGtkMainWindow>(Caption, Placement);
}

void SetApplicationTitle(Shared::TextView title) {
    // GLib takes the application name once; later calls would only warn.
    const std::string name = Shared::ToUtf8(title);
    const char* current = g_get_application_name();
    const char* program = g_get_prgname();
    const bool unset = current == nullptr || (program != nullptr && g_strcmp0(current, program) == 0);
    if (unset && g_strcmp0(current, name.c_str()) != 0) g_set_application_name(name.c_str());
}

} // namespace Velmora::Platform

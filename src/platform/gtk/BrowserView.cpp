// GTK: the browser view inside the main window: a vertical box holding the WebKit control and a
// 4-pixel running bar below it (a pulsed GtkProgressBar), packed into the window's client box.
// Creation completes from the main loop; the bar goes for good at the first finished or failed
// load.
#include "platform/BrowserView.h"

#include "platform/gtk/BrowserControl.h"

namespace Velmora::Platform {

namespace {

using Shared::TextView;

constexpr int BarHeight = 4;
constexpr guint PulseMilliseconds = 100;
constexpr const char* BarCss = "progressbar, progressbar trough, progressbar progress "
                               "{ min-height: 4px; padding: 0; margin: 0; border: none; }";

GtkWidget* NewRunningBar() {
    GtkWidget* bar = gtk_progress_bar_new();
    gtk_widget_set_size_request(bar, -1, BarHeight);
    GObjectPtr<GtkCssProvider> css{gtk_css_provider_new()};
    gtk_css_provider_load_from_data(css.get(), BarCss, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(bar), GTK_STYLE_PROVIDER(css.get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    gtk_progress_bar_set_pulse_step(GTK_PROGRESS_BAR(bar), 0.05);
    return bar;
}

// The client box the main window keeps for the view; the window itself when it has none.
GtkContainer* ClientArea(void* parentWindow) {
    GtkWidget* window = static_cast<GtkWidget*>(parentWindow);
    GtkWidget* child = GTK_IS_BIN(window) ? gtk_bin_get_child(GTK_BIN(window)) : nullptr;
    return GTK_CONTAINER(child != nullptr && GTK_IS_BOX(child) ? child : window);
}

class TGtkBrowserView final : public TBrowserView {
public:
    TGtkBrowserView(void* parentWindow, TBrowserViewHandler& handler, const TBrowserViewOptions& options)
        : FHandler(handler),
          FControl(std::make_unique<TWebKitBrowserControl>(
              TBrowserControlHooks{[this](TextView uri) { return FHandler.WebResourceRequested(uri); },
                                   [this](TextView uri) { return FHandler.NewWindowRequested(uri); },
                                   [this] { StopBar(); },
                                   [this](TextView uri) { return FHandler.TrustsDocument(uri); }},
              Shared::ToUtf8(options.DataFolder))) {
        FControl->OnWebMessageReceived = [this](TextView json, TextView) { FHandler.WebMessageReceived(json); };

        FBox.reset(GTK_WIDGET(g_object_ref_sink(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0))));
        gtk_box_pack_start(GTK_BOX(FBox.get()), FControl->Widget(), TRUE, TRUE, 0);
        FBar = NewRunningBar();
        gtk_box_pack_end(GTK_BOX(FBox.get()), FBar, FALSE, FALSE, 0);
        GtkContainer* client = ClientArea(parentWindow);
        if (GTK_IS_BOX(client)) gtk_box_pack_start(GTK_BOX(client), FBox.get(), TRUE, TRUE, 0);
        else gtk_container_add(client, FBox.get());
        gtk_widget_show_all(FBox.get());

        FPulse = g_timeout_add(PulseMilliseconds, Pulse, FBar);
        // The owner sets the form's properties after this returns: tell it from the loop, ahead
        // of the first layout and paint, so the first page is not kept waiting for them.
        FCreated = g_idle_add_full(G_PRIORITY_DEFAULT, Created, this, nullptr);
    }

    ~TGtkBrowserView() override {
        if (FCreated != 0) g_source_remove(FCreated);
        StopBar();
        // The web view goes first, with its signals disconnected; then the box, which our
        // reference keeps valid even when the window has already been destroyed.
        FControl.reset();
        gtk_widget_destroy(FBox.get());
    }

    TBrowserControl& EdgeBrowser() override { return *FControl; }

    // The box fills the window's client area through packing.
    void SetBounds(int, int) override {}

private:
    static gboolean Pulse(gpointer bar) {
        gtk_progress_bar_pulse(GTK_PROGRESS_BAR(bar));
        return G_SOURCE_CONTINUE;
    }

    static gboolean Created(gpointer data) {
        auto* self = static_cast<TGtkBrowserView*>(data);
        self->FCreated = 0;
        self->FControl->MarkCreated();
        self->FHandler.CreateWebViewCompleted(true);
        return G_SOURCE_REMOVE;
    }

    void StopBar() {
        if (FPulse == 0) return;
        g_source_remove(FPulse);
        FPulse = 0;
        gtk_widget_hide(FBar);
    }

    TBrowserViewHandler& FHandler;
    std::unique_ptr<TWebKitBrowserControl> FControl;
    GObjectPtr<GtkWidget> FBox;
    GtkWidget* FBar = nullptr; // owned by the box
    guint FPulse = 0;
    guint FCreated = 0;
};

} // namespace

std::unique_ptr<TBrowserView> CreateBrowserView(void* ParentWindow, TBrowserViewHandler& Handler,
                                                const TBrowserViewOptions& Options) {
    return std::make_unique<TGtkBrowserView>(ParentWindow, Handler, Options);
}

} // namespace Velmora::Platform

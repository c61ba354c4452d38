// WebKitGTK: the browser control over one WebKitWebView (see BrowserControl.h).
#include "platform/gtk/BrowserControl.h"

#include "platform/gtk/WebKitConsole.h"
#include "platform/gtk/WebKitDownloads.h"
#include "platform/gtk/WebKitSchemeResponse.h"
#include "platform/AppScheme.h"
#include "platform/Resources.h"

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string_view>

namespace Velmora::Platform {

using Shared::TextView;

namespace {

// The handler name the WebKit shim (resources/webkit-shim.js) posts to.
constexpr const char* MessageHandlerName = "qmt";
constexpr const char* MessageSignal = "script-message-received::qmt";
// The script world of the relay: the handler exists there alone, and the page cannot reach it.
constexpr const char* RelayWorld = "velmora-bridge";
constexpr std::string_view ShimResource = "QMT_WEBKIT_SHIM";
constexpr std::string_view RelayResource = "QMT_WEBKIT_RELAY";
constexpr std::string_view MediaResource = "QMT_WEBKIT_MEDIA";
constexpr std::string_view DownloadsResource = "QMT_WEBKIT_DOWNLOADS";
constexpr std::string_view DispatchOpen = "window.chrome.webview.__dispatch(";
constexpr std::string_view DispatchClose = ");";

constexpr double ZoomStep = 1.1;
constexpr double MinZoom = 0.25;
constexpr double MaxZoom = 5.0;

std::string ResourceScript(std::string_view name) {
    const auto data = FindResourceData(name);
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return std::string(text);
}

// Frames: every frame, or the top-level document only. World: null for the page's own.
void AddDocumentStartScript(WebKitUserContentManager* content, const std::string& source,
                            WebKitUserContentInjectedFrames frames = WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                            const char* world = nullptr) {
    WebKitUserScript* script =
        world ? webkit_user_script_new_for_world(source.c_str(), frames, WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START,
                                                 world, nullptr, nullptr)
              : webkit_user_script_new(source.c_str(), frames, WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr,
                                       nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);
}

// The engine's storage below the data folder start-up prepared; none on disk without one.
WebKitWebsiteDataManager* NewDataManager(const std::string& folder) {
    if (folder.empty()) return webkit_website_data_manager_new_ephemeral();
    const std::string data = folder + "WebKit/data", cache = folder + "WebKit/cache";
    return webkit_website_data_manager_new("base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(),
                                           nullptr);
}

bool HasControl(guint state) { return (state & GDK_CONTROL_MASK) != 0; }

// 128 random bits in hex: the main view's relay key.
std::string NewRelayKey() {
    std::random_device random;
    std::string key;
    for (int i = 0; i < 4; ++i) {
        char word[9];
        std::snprintf(word, sizeof word, "%08x", static_cast<unsigned>(random()));
        key += word;
    }
    return key;
}

} // namespace

// The context's scheme callback outlives nothing of ours: the control clears the pointer before
// it lets the context go, and the context frees the route.
struct TWebKitBrowserControl::SchemeRoute {
    TWebKitBrowserControl* Control = nullptr;
};

TWebKitBrowserControl::TWebKitBrowserControl(TBrowserControlHooks Hooks, const std::string& DataFolder)
    : FHooks(std::move(Hooks)), FRelayKey(NewRelayKey()) {
    GObjectPtr<WebKitWebsiteDataManager> data{NewDataManager(DataFolder)};
    FContext.reset(webkit_web_context_new_with_website_data_manager(data.get()));
    const std::string scheme = Shared::ToUtf8(AppScheme().Name);
    FRoute = new SchemeRoute{this};
    webkit_web_context_register_uri_scheme(FContext.get(), scheme.c_str(), SchemeRequest, FRoute,
                                           [](gpointer route) { delete static_cast<SchemeRoute*>(route); });
    // App pages load scripts, modules and fetches from their own scheme like a secure origin.
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(FContext.get());
    webkit_security_manager_register_uri_scheme_as_secure(security, scheme.c_str());
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, scheme.c_str());
    // Local, as file: is to a browser: pages of other schemes may neither load nor link its
    // files, so a web page cannot probe the disk through it.
    webkit_security_manager_register_uri_scheme_as_local(security, scheme.c_str());
    AskWhereDownloadsGo(FContext.get());

    FContent.reset(webkit_user_content_manager_new());
    g_signal_connect(FContent.get(), MessageSignal, G_CALLBACK(ScriptMessage), this);
    webkit_user_content_manager_register_script_message_handler_in_world(FContent.get(), MessageHandlerName,
                                                                         RelayWorld);
    // The relay into the top-level document only, then window.chrome.webview, so the start-up
    // script finds it in every frame.
    AddDocumentStartScript(FContent.get(), ResourceScript(RelayResource), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                           RelayWorld);
    AddDocumentStartScript(FContent.get(), ResourceScript(ShimResource));
    // The media backend cannot read the app scheme: payload media reach it as blob URLs.
    AddDocumentStartScript(FContent.get(), ResourceScript(MediaResource));
    // Nor does it download the scheme's files on a link with a download attribute: blobs again.
    AddDocumentStartScript(FContent.get(), ResourceScript(DownloadsResource));

    // Media starts without a gesture, as the Windows engine is told at start-up.
    GObjectPtr<WebKitWebsitePolicies> policies{
        webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr)};
    auto* view =
        WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", FContext.get(), "user-content-manager",
                                     FContent.get(), "website-policies", policies.get(), nullptr));
    FView.reset(WEBKIT_WEB_VIEW(g_object_ref_sink(view)));
    // The app's rule for new windows needs to see script-opened ones too.
    webkit_settings_set_javascript_can_open_windows_automatically(webkit_web_view_get_settings(view), TRUE);
    // App pages load scripts, modules and data from their own local scheme, as file: pages may
    // when allowed to.
    webkit_settings_set_allow_file_access_from_file_urls(webkit_web_view_get_settings(view), TRUE);

    FPopups = std::make_unique<TWebKitPopupWindows>([this](WebKitWebView* popup) { ConnectPageSignals(popup); });
    ConnectPageSignals(view);
    g_signal_connect(view, "load-changed", G_CALLBACK(LoadChanged), this);
    g_signal_connect(view, "load-failed", G_CALLBACK(LoadFailed), this);
    g_signal_connect(view, "notify::title", G_CALLBACK(TitleChanged), this);
}

TWebKitBrowserControl::~TWebKitBrowserControl() {
    FPopups.reset();
    g_signal_handlers_disconnect_by_data(FContent.get(), this);
    webkit_user_content_manager_unregister_script_message_handler_in_world(FContent.get(), MessageHandlerName,
                                                                           RelayWorld);
    FRoute->Control = nullptr;
    g_signal_handlers_disconnect_by_data(FView.get(), this);
    gtk_widget_destroy(GTK_WIDGET(FView.get()));
    FView.reset();
    FContent.reset();
    FContext.reset();
}

void TWebKitBrowserControl::ConnectPageSignals(WebKitWebView* view) {
    g_signal_connect(view, "create", G_CALLBACK(Create), this);
    g_signal_connect(view, "permission-request", G_CALLBACK(PermissionRequest), this);
    g_signal_connect(view, "context-menu", G_CALLBACK(ContextMenu), this);
    g_signal_connect(view, "key-press-event", G_CALLBACK(KeyPress), this);
    g_signal_connect(view, "scroll-event", G_CALLBACK(Scroll), this);
}

void TWebKitBrowserControl::Navigate(TextView uri) {
    webkit_web_view_load_uri(FView.get(), Shared::ToUtf8(uri).c_str());
}

void TWebKitBrowserControl::Evaluate(const std::string& script) {
    // Result not awaited: no callback, nothing to cancel.
    webkit_web_view_evaluate_javascript(FView.get(), script.data(), static_cast<gssize>(script.size()), nullptr,
                                        nullptr, nullptr, nullptr, nullptr);
}

void TWebKitBrowserControl::ExecuteScript(TextView script) {
    if (FCreated) Evaluate(Shared::ToUtf8(script));
}

void TWebKitBrowserControl::PostWebMessageAsJson(TextView json) {
    if (!FCreated) return;
    // JSON text is a JavaScript expression: the shim hands it to the listeners already parsed.
    std::string script;
    script.reserve(DispatchOpen.size() + json.size() + DispatchClose.size() + 16);
    script.append(DispatchOpen).append(Shared::ToUtf8(json)).append(DispatchClose);
    Evaluate(script);
}

void TWebKitBrowserControl::AddScriptToExecuteOnDocumentCreated(TextView script) {
    AddDocumentStartScript(FContent.get(), Shared::ToUtf8(script));
}

void TWebKitBrowserControl::SetSetting(TBrowserSetting setting, bool value) {
    FSettings[setting] = value;
    WebKitSettings* settings = webkit_web_view_get_settings(FView.get());
    switch (setting) {
        case TBrowserSetting::IsScriptEnabled: webkit_settings_set_enable_javascript(settings, value); break;
        case TBrowserSetting::AreDevToolsEnabled:
            webkit_settings_set_enable_developer_extras(settings, value);
            // Developers also read the console from the terminal; set before the first page.
            if (value && !FConsoleOnStandardError) WriteConsoleToStandardError(FContent.get());
            FConsoleOnStandardError = FConsoleOnStandardError || value;
            break;
        default:
            // Zoom keys and context menus are decided in their signals; the status bar, web
            // messages and error pages have no switch in this engine (messages are always on, the
            // engine always shows its error page).
            break;
    }
}

bool TWebKitBrowserControl::Setting(TBrowserSetting setting) const {
    const auto found = FSettings.find(setting);
    return found != FSettings.end() && found->second;
}

void TWebKitBrowserControl::AddWebResourceRequestedFilter(TextView uriPattern) {
    // Only the app scheme reaches us here; the pattern decides which of its URIs are answered.
    FFilters.emplace_back(uriPattern);
}

void TWebKitBrowserControl::Focus() {
    GtkWidget* top = gtk_widget_get_toplevel(Widget());
    if (gtk_widget_is_toplevel(top)) gtk_window_present(GTK_WINDOW(top));
    gtk_widget_grab_focus(Widget());
}

void TWebKitBrowserControl::SchemeRequest(WebKitURISchemeRequest* request, gpointer data) {
    TWebKitBrowserControl* control = static_cast<SchemeRoute*>(data)->Control;
    if (control == nullptr) {
        FinishSchemeRequest(request, std::nullopt);
        return;
    }
    control->Serve(request);
}

void TWebKitBrowserControl::Serve(WebKitURISchemeRequest* request) {
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    const std::string text = uri != nullptr ? uri : "";
    const bool filtered = std::any_of(FFilters.begin(), FFilters.end(), [&](const Shared::Text& pattern) {
        return g_pattern_match_simple(Shared::ToUtf8(pattern).c_str(), text.c_str());
    });
    std::optional<TWebResourceResponse> answer;
    if (filtered && FHooks.ResourceRequested) answer = FHooks.ResourceRequested(Shared::FromUtf8(text));
    FinishSchemeRequest(request, std::move(answer));
}

void TWebKitBrowserControl::ScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    if (!self->OnWebMessageReceived) return;
    JSCValue* value = webkit_javascript_result_get_js_value(result);
    // The relay posts the main view's key, a line break and the message's JSON text; anything
    // else (a popup's relay, which has no key) runs nothing.
    if (!jsc_value_is_string(value)) return;
    const GCharPtr text{jsc_value_to_string(value)};
    const std::string_view posted(text.get());
    if (!posted.starts_with(self->FRelayKey) || posted.size() <= self->FRelayKey.size() ||
        posted[self->FRelayKey.size()] != '\n')
        return;
    self->OnWebMessageReceived(Shared::FromUtf8(posted.substr(self->FRelayKey.size() + 1)), self->Source());
}

GtkWidget* TWebKitBrowserControl::Create(WebKitWebView* view, WebKitNavigationAction* action, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (self->FHooks.NewWindowRequested && self->FHooks.NewWindowRequested(Shared::FromUtf8(uri ? uri : "")))
        return nullptr;
    return self->FPopups->Create(view);
}

gboolean TWebKitBrowserControl::PermissionRequest(WebKitWebView* view, WebKitPermissionRequest* request,
                                                  gpointer data) {
    // The app's own documents get what they ask for; any other document is refused.
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    const char* uri = webkit_web_view_get_uri(view);
    const bool trusted = self->FHooks.TrustsDocument && self->FHooks.TrustsDocument(Shared::FromUtf8(uri ? uri : ""));
    if (trusted) webkit_permission_request_allow(request);
    else webkit_permission_request_deny(request);
    return TRUE;
}

gboolean TWebKitBrowserControl::ContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                                            gpointer data) {
    return !static_cast<TWebKitBrowserControl*>(data)->Setting(TBrowserSetting::AreDefaultContextMenusEnabled);
}

Shared::Text TWebKitBrowserControl::Source() const {
    const char* uri = webkit_web_view_get_uri(FView.get());
    return Shared::FromUtf8(uri != nullptr ? uri : "");
}

double TWebKitBrowserControl::ZoomFactor() const { return webkit_web_view_get_zoom_level(FView.get()); }

void TWebKitBrowserControl::SetZoomFactor(double factor) {
    // Refused as WebView2 refuses it: WebKit would take a factor that shows nothing.
    if (!(factor > 0.0) || !std::isfinite(factor)) return;
    webkit_web_view_set_zoom_level(FView.get(), factor);
}

void TWebKitBrowserControl::ZoomBy(double factor) {
    const double level = factor == 0.0 ? 1.0 : webkit_web_view_get_zoom_level(FView.get()) * factor;
    webkit_web_view_set_zoom_level(FView.get(), std::clamp(level, MinZoom, MaxZoom));
}

// The engine has no zoom keys of its own: with zoom allowed Ctrl with +, - and 0 zoom the page;
// without, the keys go to the page like any other.
gboolean TWebKitBrowserControl::KeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    if (!HasControl(event->state) || !self->Setting(TBrowserSetting::IsZoomControlEnabled)) return FALSE;
    switch (event->keyval) {
        case GDK_KEY_plus:
        case GDK_KEY_equal:
        case GDK_KEY_KP_Add: self->ZoomBy(ZoomStep); return TRUE;
        case GDK_KEY_minus:
        case GDK_KEY_KP_Subtract: self->ZoomBy(1.0 / ZoomStep); return TRUE;
        case GDK_KEY_0:
        case GDK_KEY_KP_0: self->ZoomBy(0.0); return TRUE;
        default: return FALSE;
    }
}

gboolean TWebKitBrowserControl::Scroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    if (!HasControl(event->state) || !self->Setting(TBrowserSetting::IsZoomControlEnabled)) return FALSE;
    double dy = 0.0;
    if (event->direction == GDK_SCROLL_UP) dy = -1.0;
    else if (event->direction == GDK_SCROLL_DOWN) dy = 1.0;
    else if (event->direction == GDK_SCROLL_SMOOTH) dy = event->delta_y;
    if (dy < 0.0) self->ZoomBy(ZoomStep);
    else if (dy > 0.0) self->ZoomBy(1.0 / ZoomStep);
    return TRUE;
}

void TWebKitBrowserControl::LoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    if (event == WEBKIT_LOAD_COMMITTED) self->StartRelay();
    if (event == WEBKIT_LOAD_FINISHED && self->FHooks.NavigationCompleted) self->FHooks.NavigationCompleted();
}

void TWebKitBrowserControl::StartRelay() {
    // Into the relay's world of this view's new document only: popups share our scripts but
    // never get the key. The relay keeps what the page posted before this arrives.
    const std::string script = "(window.__velmoraRelay = window.__velmoraRelay || {key: null, queue: []});"
                               "if (window.__velmoraRelay.start) window.__velmoraRelay.start('" +
                               FRelayKey + "'); else window.__velmoraRelay.key = '" + FRelayKey + "';";
    webkit_web_view_evaluate_javascript(FView.get(), script.data(), static_cast<gssize>(script.size()), RelayWorld,
                                        nullptr, nullptr, nullptr, nullptr);
}

gboolean TWebKitBrowserControl::LoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    if (self->FHooks.NavigationCompleted) self->FHooks.NavigationCompleted();
    return FALSE; // the engine shows its error page
}

void TWebKitBrowserControl::TitleChanged(GObject* view, GParamSpec*, gpointer data) {
    auto* self = static_cast<TWebKitBrowserControl*>(data);
    const char* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(view));
    if (self->OnDocumentTitleChanged) self->OnDocumentTitleChanged(Shared::FromUtf8(title != nullptr ? title : ""));
}

} // namespace Velmora::Platform

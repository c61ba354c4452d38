// WebKitGTK: the browser control over one WebKitWebView. It wraps the engine's view, its own web
// context (the app scheme served through a resource callback, marked secure and
// CORS-enabled so scripts, fetch and modules load from it), the user content manager (the
// window.chrome.webview shim and the start-up script at document start in every frame, the
// script message handler "qmt" in a world of its own, reached through a relay in the top-level
// document only), the media hand-over script (payload media as blob URLs), downloads that ask
// for their target, the settings that have a WebKit meaning (developer tools also putting the
// console on standard error), permissions (the app's documents
// only), the title, context menu and zoom keys, and the popup windows of pages that ask for one
// the app does not take (with none of our scripts and no handler).
#pragma once

#include "platform/BrowserControl.h"
#include "platform/gtk/GtkHandles.h"
#include "platform/gtk/WebKitPopupWindows.h"

#include <webkit2/webkit2.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Velmora::Platform {

// What the control asks of the view that holds it.
struct TBrowserControlHooks {
    // The answer to a request under the app scheme; none: the engine shows its error page.
    std::function<std::optional<TWebResourceResponse>(Shared::TextView Uri)> ResourceRequested;
    // A page asks for a new window on Uri; true: handled, no window opens.
    std::function<bool(Shared::TextView Uri)> NewWindowRequested;
    // The main frame finished loading or failed to load.
    std::function<void()> NavigationCompleted;
    // The document at Uri is the app's own: it gets the permissions it asks for.
    std::function<bool(Shared::TextView Uri)> TrustsDocument;
};

class TWebKitBrowserControl final : public TBrowserControl {
public:
    // Creates the engine's view (not yet packed anywhere). DataFolder, when not empty, holds the
    // engine's storage and cache; empty: nothing is kept on disk.
    TWebKitBrowserControl(TBrowserControlHooks Hooks, const std::string& DataFolder);
    ~TWebKitBrowserControl() override;
    TWebKitBrowserControl(const TWebKitBrowserControl&) = delete;
    TWebKitBrowserControl& operator=(const TWebKitBrowserControl&) = delete;

    GtkWidget* Widget() const { return GTK_WIDGET(FView.get()); }
    // The owner has been told of the creation: from now on scripts and messages reach the page.
    void MarkCreated() { FCreated = true; }

    void Navigate(Shared::TextView uri) override;
    void ExecuteScript(Shared::TextView script) override;
    void PostWebMessageAsJson(Shared::TextView json) override;
    void AddScriptToExecuteOnDocumentCreated(Shared::TextView script) override;
    void SetSetting(TBrowserSetting setting, bool value) override;
    void AddWebResourceRequestedFilter(Shared::TextView uriPattern) override;
    void Focus() override;
    Shared::Text Source() const override;
    double ZoomFactor() const override;
    void SetZoomFactor(double factor) override;

    // The recorded value of a setting (false when never set).
    bool Setting(TBrowserSetting setting) const;

private:
    struct SchemeRoute;

    static void SchemeRequest(WebKitURISchemeRequest* request, gpointer data);
    static void ScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data);
    static GtkWidget* Create(WebKitWebView* view, WebKitNavigationAction* action, gpointer data);
    static gboolean PermissionRequest(WebKitWebView* view, WebKitPermissionRequest* request, gpointer data);
    static gboolean ContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*, gpointer data);
    static gboolean KeyPress(GtkWidget*, GdkEventKey* event, gpointer data);
    static gboolean Scroll(GtkWidget*, GdkEventScroll* event, gpointer data);
    static void LoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data);
    static gboolean LoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data);
    static void TitleChanged(GObject* view, GParamSpec*, gpointer data);

    void Serve(WebKitURISchemeRequest* request);
    void ConnectPageSignals(WebKitWebView* view);
    void Evaluate(const std::string& script);
    void ZoomBy(double factor);
    // Hands the relay of the main view's new document its key.
    void StartRelay();

    TBrowserControlHooks FHooks;
    GObjectPtr<WebKitWebContext> FContext;
    GObjectPtr<WebKitUserContentManager> FContent;
    GObjectPtr<WebKitWebView> FView; // a floating widget sunk by us: ours until destroyed
    SchemeRoute* FRoute = nullptr;   // owned by the context's scheme registration
    std::unique_ptr<TWebKitPopupWindows> FPopups;
    std::map<TBrowserSetting, bool> FSettings;
    std::vector<Shared::Text> FFilters;
    std::string FRelayKey; // what the relay of our own view adds to each message
    bool FCreated = false;
    bool FConsoleOnStandardError = false;
};

} // namespace Velmora::Platform

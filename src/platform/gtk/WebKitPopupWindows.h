// WebKitGTK: the browser's own popup windows, for pages that ask for a new window the app does
// not take (window.open of a web address, a target="_blank" link to one). Each popup is a
// GtkWindow holding a view related to the opener (same web process, settings, scripts and
// message handler), shown when the engine says it is ready and destroyed when its page closes
// it, when the user closes it, or with this object.
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <vector>

namespace Velmora::Platform {

class TWebKitPopupWindows {
public:
    // ConnectPage is called for every new popup view, so the popup's own requests (new windows,
    // permissions, menus, keys) follow the same rules as the main view's.
    explicit TWebKitPopupWindows(std::function<void(WebKitWebView*)> ConnectPage);
    ~TWebKitPopupWindows();
    TWebKitPopupWindows(const TWebKitPopupWindows&) = delete;
    TWebKitPopupWindows& operator=(const TWebKitPopupWindows&) = delete;

    // The view for a new window of Opener, in a window not yet shown: the answer to the
    // engine's "create" signal.
    GtkWidget* Create(WebKitWebView* Opener);

private:
    static void ReadyToShow(WebKitWebView* view, gpointer window);
    static void CloseRequested(WebKitWebView* view, gpointer window);
    static void TitleChanged(GObject* view, GParamSpec*, gpointer window);
    static void Destroyed(GtkWidget* window, gpointer data);

    std::function<void(WebKitWebView*)> FConnectPage;
    std::vector<GtkWidget*> FWindows; // top-levels created here and not yet destroyed
};

} // namespace Velmora::Platform

// The browser control as the portable code sees it: what the browser view and the bridge ask of
// the platform's browser (WebView2 over COM on Windows, WebKitGTK on Linux). Calls arrive on the
// user-interface thread.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <functional>

namespace Velmora::Platform {

// The browser settings the view applies once the web view exists.
enum class TBrowserSetting : std::uint8_t {
    IsScriptEnabled,
    IsStatusBarEnabled,
    IsWebMessageEnabled,
    IsBuiltInErrorPageEnabled,
    IsZoomControlEnabled,
    AreDevToolsEnabled,
    AreDefaultContextMenusEnabled,
};

// The answer to one resource request, owned by the caller until the browser takes it.
struct TWebResourceResponse {
    Shared::Bytes Content;
    std::int32_t StatusCode = 200;
    Shared::Text ReasonPhrase = u"OK";
    Shared::Text MimeType;
    Shared::Text Headers; // "Content-Type: <MimeType>; charset=utf-8", the only header given
};

class TBrowserControl {
public:
    virtual ~TBrowserControl() = default;

    // Opens uri in the view.
    virtual void Navigate(Shared::TextView uri) = 0;

    // Runs script in the page's top document. The result is not awaited or used. Does nothing
    // while the web view does not exist yet.
    virtual void ExecuteScript(Shared::TextView script) = 0;

    // Delivers json (one JSON value) to the page's 'message' listeners of window.chrome.webview,
    // which receive it already parsed as the event's data. A post that fails is lost.
    virtual void PostWebMessageAsJson(Shared::TextView json) = 0;

    // Registers script to run at the creation of every document and frame from now on, before
    // the document's own scripts. Does not wait for the registration to complete.
    virtual void AddScriptToExecuteOnDocumentCreated(Shared::TextView script) = 0;

    // Applies one browser setting.
    virtual void SetSetting(TBrowserSetting setting, bool value) = 0;

    // Routes the requests whose URI matches uriPattern ("*": every URI), for every kind of
    // resource, to the view's resource handler.
    virtual void AddWebResourceRequestedFilter(Shared::TextView uriPattern) = 0;

    // Gives the focus to the window that contains the view, then to the browser itself.
    virtual void Focus() = 0;

    // The URI of the top-level document now shown; empty while there is none.
    virtual Shared::Text Source() const = 0;

    // The page's zoom factor (1.0: none); setting it while no web view exists does nothing.
    virtual double ZoomFactor() const = 0;
    virtual void SetZoomFactor(double factor) = 0;

    // Events, raised on the user-interface thread. The browser view assigns them; the main
    // window replaces them with the bridge's handler and its title handler.
    // A web message a top-level document posted, as JSON text (a posted string arrives as a JSON
    // string), with the URI of the document that posted it. Frames and popups post nothing.
    std::function<void(Shared::TextView WebMessageAsJson, Shared::TextView Source)> OnWebMessageReceived;
    // The page's document title changed.
    std::function<void(Shared::TextView Title)> OnDocumentTitleChanged;
};

} // namespace Velmora::Platform

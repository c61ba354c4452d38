// TBrowserForm: the portable rules of the browser view. Holds the view's properties, builds the
// start-up script, applies the settings, the resource filter and the first navigation when the
// web view exists, answers resource requests, and turns a new-window request for an app page
// into a new instance of the program. The platform's view creates the browser control and
// calls the handlers below from the control's events.
#pragma once

#include "platform/BrowserView.h"
#include "shared/Text.h"

#include <functional>
#include <optional>

namespace Velmora::Shared {

class TPayloadReader;

// Starts a program with a parameter text, without waiting for it (in the program:
// TSysUtils::ShellExec). True when it started.
using TStartProcess = std::function<bool(TextView FilePath, TextView Parameters)>;

class TBrowserForm final : public Platform::TBrowserViewHandler {
public:
    // Every text empty, every flag false, no reader, no control; AppDirPath the folder of the
    // executable with a trailing separator.
    explicit TBrowserForm(TStartProcess StartProcess);
    TBrowserForm(const TBrowserForm&) = delete;
    TBrowserForm& operator=(const TBrowserForm&) = delete;

    // Properties, set by the owner right after creation, before the web view exists.
    const TPayloadReader* ExeZip = nullptr; // source of the app's files; not owned
    bool IsRuntime = false;                 // false: preview mode, for hosts other than the program
    Text RuntimeAppID;                      // passed to further instances
    bool WithExternal = false;              // the bridge script goes into the start-up script
    Text AppDirName;                        // the app's folder inside the payload
    Text AppDirPath;                        // the executable's folder, trailing separator
    bool AllowDebug = false;
    bool AllowZoom = false;
    Text WebviewJavascript; // the app's own start-up script
    bool AllowContextMenu = false;
    Text StartPageURL;                                // first page; empty: none
    Text BridgeOrigins;                               // web origins the app treats as its own
    bool HandleRequests = false;                      // answer resource requests
    Platform::TBrowserControl* EdgeBrowser = nullptr; // the view's control; not owned

    // The web view exists: its creation completed successfully.
    bool WebViewCreated() const { return FWebViewCreated; }

    // The text registered to run in every document: each piece after one carriage return.
    Text StartupScript() const;

    // The web view's creation completed: on success registers the start-up script, applies the
    // seven settings in their order, routes every request to the resource handler and opens
    // StartPageURL. A failure leaves the view empty.
    void EdgeBrowserCreateWebViewCompleted(bool Succeeded);

    // The answer to a resource request, or none to leave it to the browser.
    std::optional<Platform::TWebResourceResponse> EdgeBrowserWebResourceRequested(TextView Uri) const;

    // A page asks for a new window. An app page (the app scheme, any letter case) opens in a new
    // instance of the program and true is returned: no browser window opens. False leaves the
    // request to the browser (any other URI, and everything in preview mode).
    bool EdgeBrowserNewWindowRequested(TextView Uri) const;

    // The view's own web-message handler (the main window replaces it with the bridge's): in
    // preview mode a click in the page gives the focus to the window that hosts the view.
    void EdgeBrowserWebMessageReceived(TextView WebMessageAsJson) const;

    // The view's events, answered by the rules above.
    void CreateWebViewCompleted(bool Succeeded) override { EdgeBrowserCreateWebViewCompleted(Succeeded); }
    std::optional<Platform::TWebResourceResponse> WebResourceRequested(TextView Uri) override {
        return EdgeBrowserWebResourceRequested(Uri);
    }
    bool NewWindowRequested(TextView Uri) override { return EdgeBrowserNewWindowRequested(Uri); }
    void WebMessageReceived(TextView WebMessageAsJson) override { EdgeBrowserWebMessageReceived(WebMessageAsJson); }
    // App pages and the origins of BridgeOrigins.
    bool TrustsDocument(TextView Uri) override;

private:
    TStartProcess FStartProcess;
    bool FWebViewCreated = false;
};

// The parameter text of a further window: the application identifier and the URI, each quoted
// by the platform's command-line rules (platform/CommandLine.h), one blank between them.
Text FurtherWindowParameters(TextView AppID, TextView Uri);

} // namespace Velmora::Shared

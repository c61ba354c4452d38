// The platform's browser view: the borderless child that fills the main window, holds the
// browser control and shows a thin running bar along its bottom edge until the first navigation
// completes. It connects the control's events to the portable rules behind TBrowserViewHandler:
//   creation completed   -> CreateWebViewCompleted, always from the message loop (never inside
//                           CreateBrowserView), so the owner's properties are set;
//   resource requested   -> WebResourceRequested, answered before returning;
//   new window requested -> NewWindowRequested (true: handled, no window opens);
//   permission requested -> allowed for the documents TrustsDocument names, denied for others;
//   navigation completed -> the bar hidden for good, success or not;
//   web message          -> the control's OnWebMessageReceived (first the handler's own);
//   title changed        -> the control's OnDocumentTitleChanged.
// A failed creation leaves the view empty with the bar running; a failed browser process is
// ignored.
#pragma once

#include "platform/BrowserControl.h"
#include "shared/Text.h"

#include <memory>
#include <optional>

namespace Velmora::Platform {

// The portable rules the view calls from the control's events.
class TBrowserViewHandler {
public:
    virtual ~TBrowserViewHandler() = default;
    // The creation of the web view completed, successfully or not.
    virtual void CreateWebViewCompleted(bool Succeeded) = 0;
    // The answer to a resource request, or none to leave it to the browser.
    virtual std::optional<TWebResourceResponse> WebResourceRequested(Shared::TextView Uri) = 0;
    // A page asks for a new window on Uri; true: handled, no browser window opens.
    virtual bool NewWindowRequested(Shared::TextView Uri) = 0;
    // The view's own web-message handler, until the owner replaces it.
    virtual void WebMessageReceived(Shared::TextView WebMessageAsJson) = 0;
    // The document at Uri is the app's own: it gets the permissions it asks for (and, on Linux,
    // the app scheme's files).
    virtual bool TrustsDocument(Shared::TextView Uri) = 0;
};

struct TBrowserViewOptions {
    // The WebView2 loader library (Windows), loaded once from here by the control.
    Shared::Text LoaderLibraryPath;
    // The folder start-up prepared for the engine's storage (trailing separator); empty: none is
    // kept on disk (Linux; WebView2 takes its folder from the environment).
    Shared::Text DataFolder;
};

class TBrowserView {
public:
    virtual ~TBrowserView() = default; // closes the web view
    virtual TBrowserControl& EdgeBrowser() = 0;
    // The parent's client area is now Width by Height pixels; the view fills it.
    virtual void SetBounds(int Width, int Height) = 0;
};

// Creates the view as a child filling ParentWindow (TNativeMainWindow::Handle()), shows it and
// starts the creation of the web view. Handler outlives the view.
std::unique_ptr<TBrowserView> CreateBrowserView(void* ParentWindow, TBrowserViewHandler& Handler,
                                                const TBrowserViewOptions& Options);

} // namespace Velmora::Platform

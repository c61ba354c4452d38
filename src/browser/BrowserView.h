// The platform's browser view: the borderless child that fills the main window, holds the
// browser control and shows a thin running bar along its bottom edge until the first navigation
// completes. It connects the control's events to the portable rules of TBrowserForm:
//   creation completed   -> Form.EdgeBrowserCreateWebViewCompleted, always from the message loop
//                           (never inside CreateBrowserView), so the owner's properties are set;
//   resource requested   -> Form.EdgeBrowserWebResourceRequested, answered before returning;
//   new window requested -> Form.EdgeBrowserNewWindowRequested (true: handled, no window opens);
//   permission requested -> allowed, for every kind and page;
//   navigation completed -> the bar hidden for good, success or not;
//   web message          -> the control's OnWebMessageReceived (first Form's preview handler);
//   title changed        -> the control's OnDocumentTitleChanged.
// A failed creation leaves the view empty with the bar running; a failed browser process is
// ignored. Implemented in src/platform/<name>/BrowserView.cpp.
#pragma once

#include <memory>

namespace Velmora::Shared {

class TBrowserControl;
class TBrowserForm;

class TBrowserView {
public:
    virtual ~TBrowserView() = default; // closes the web view
    virtual TBrowserControl& EdgeBrowser() = 0;
    // The parent's client area is now Width by Height pixels; the view fills it.
    virtual void SetBounds(int Width, int Height) = 0;
};

// Creates the view as a child filling ParentWindow (TNativeMainWindow::Handle(): HWND on
// Windows, GtkWindow* on Linux), shows it, sets Form.EdgeBrowser to its control and starts the
// creation of the web view. Form outlives the view.
std::unique_ptr<TBrowserView> CreateBrowserView(void* ParentWindow, TBrowserForm& Form);

} // namespace Velmora::Shared

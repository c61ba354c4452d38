// TMainForm: the application's one visible window. Takes caption, size, limits, placement,
// border, state and stacking from the settings, creates and connects the browser view and the
// bridge module, opens the start page, and closes only when the page agrees (the close
// handshake); closing it ends the application.
#pragma once

#include "platform/MainWindow.h"
#include "shared/Text.h"

#include <memory>

namespace Velmora::Platform {
class TBrowserView;
}

namespace Velmora::Shared {
class TBrowserExternalModule;
class TBrowserForm;
} // namespace Velmora::Shared

namespace Velmora::Runtime {

struct TStartupValues;

class TMainForm {
public:
    explicit TMainForm(TStartupValues& values);
    // Frees the bridge module, then the browser view (which closes the web view). Runs after
    // the message loop has ended, so no browser event is on the stack when the view goes.
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    void Show();
    Platform::TNativeMainWindow& Window() { return *FWindow; }

private:
    void FormCreate();
    // The answer to a close request: FCanClose, after asking the page through its
    // onCloseQuery event (on every request); true while no web view exists.
    bool FormCloseQuery();
    // The main window has closed: the application ends.
    void FormClose();
    // The title handler: with DynamicAppTitle the caption follows the page's title.
    void DocumentTitleChanged(Shared::TextView Title);
    // The close approval that app.close gives: the window is asked to close again.
    void AppCloseRequest();
    Shared::Text StartPageURL() const;

    TStartupValues& FValues;
    bool FCanClose = false;
    std::unique_ptr<Platform::TNativeMainWindow> FWindow;
    std::unique_ptr<Shared::TBrowserForm> FBrowserForm;
    std::unique_ptr<Platform::TBrowserView> FBrowserView;
    std::unique_ptr<Shared::TBrowserExternalModule> FBrowserExternalModule;
};

} // namespace Velmora::Runtime

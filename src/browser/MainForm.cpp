#include "browser/MainForm.h"

#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserControl.h"
#include "browser/BrowserForm.h"
#include "browser/BrowserView.h"
#include "browser/ResourceServing.h"
#include "shared/SysUtils.h"
#include "startup/ExeZipLoader.h"
#include "startup/PayloadReader.h"

namespace Velmora::Runtime {

using namespace Shared;

namespace {

constexpr TextView CloseQueryEvent = u"onCloseQuery";

// The app's own start-up script, UTF-8 in the payload; a missing entry gives empty text.
Text ReadWebviewJavascript(const TPayloadReader& exeZip) {
    Bytes content;
    exeZip.ExtractToStream(StartupScriptEntryName, content);
    return FromUtf8(std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

} // namespace

TMainForm::TMainForm(TStartupValues& values) : FValues(values) { FormCreate(); }

TMainForm::~TMainForm() {
    FBrowserExternalModule.reset();
    FBrowserView.reset();
    FBrowserForm.reset();
}

void TMainForm::FormCreate() {
    FCanClose = false;
    // The window first: the browser view is its child. Caption and application title, bounds,
    // limits, placement, border, state and stacking come from the settings.
    SetApplicationTitle(FValues.AppName);
    const TWindowLayout layout = LayoutFromSettings(FValues.ProjectINI, FValues.AppName);
    FWindow = std::make_unique<TNativeMainWindow>(layout);
    FWindow->OnCloseQuery = [this] { return FormCloseQuery(); };
    FWindow->OnClose = [this] { FormClose(); };
    FWindow->OnResize = [this](int width, int height) {
        if (FBrowserView) FBrowserView->SetBounds(width, height);
    };

    FBrowserExternalModule = std::make_unique<TBrowserExternalModule>();
    FBrowserExternalModule->ExeZip = &FValues.ExeZip;

    // The web view's creation completes later, from the message loop, so the properties set
    // below are in place by then.
    FBrowserForm = std::make_unique<TBrowserForm>(&TSysUtils::ShellExec);
    FBrowserView = CreateBrowserView(FWindow->Handle(), *FBrowserForm);
    TBrowserForm& form = *FBrowserForm;
    form.ExeZip = &FValues.ExeZip;
    form.IsRuntime = true;
    form.AppDirName = FValues.AppDirName;
    form.HandleRequests = true;
    form.RuntimeAppID = FValues.AppID;
    form.WithExternal = true;
    form.AllowDebug = FValues.ProjectINI.AllowDebug();
    form.AllowZoom = FValues.ProjectINI.AllowZoom();
    form.AllowContextMenu = FValues.ProjectINI.AllowContextMenu();

    TBrowserControl& control = FBrowserView->EdgeBrowser();
    TBrowserExternalModule* module = FBrowserExternalModule.get();
    control.OnWebMessageReceived = [module](TextView json) { module->EdgeBrowserWebMessageReceived(json); };
    control.OnDocumentTitleChanged = [this](TextView title) { DocumentTitleChanged(title); };
    module->BrowserControl = &control;
    module->ProjectINI = &FValues.ProjectINI;
    module->OnAppCloseRequest = [this](TBrowserExternalModule&) { AppCloseRequest(); };
    module->InFullscreen = layout.FullScreen;

    form.WebviewJavascript = ReadWebviewJavascript(FValues.ExeZip);
    form.StartPageURL = StartPageURL();
}

Text TMainForm::StartPageURL() const {
    // A further window opens the page its starter named, exactly as given.
    if (IsFurtherWindowCommandLine(FValues.Arguments, FValues.AppID)) return FValues.Arguments[1];
    return Text(PlatformAppScheme().Prefix) + FValues.IndexHtml;
}

void TMainForm::Show() { FWindow->Show(); }

bool TMainForm::FormCloseQuery() {
    const bool canClose = FCanClose;
    // Asked on every request, also once approved: the page's handler runs after this answer.
    FBrowserExternalModule->ExecuteBridgeEvent(CloseQueryEvent);
    return canClose;
}

void TMainForm::AppCloseRequest() {
    FCanClose = true;
    FWindow->Close();
}

void TMainForm::DocumentTitleChanged(TextView Title) {
    // Read at every change; the application's title keeps the application name.
    if (FValues.ProjectINI.DynamicAppTitle()) FWindow->SetCaption(Title);
}

void TMainForm::FormClose() {
    // The main window closing ends the application. The module and the view are freed once the
    // loop has ended (destructor): this may run inside the page's app.close message.
    QuitMessageLoop();
}

} // namespace Velmora::Runtime

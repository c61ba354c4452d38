#include "browser/MainForm.h"

#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "browser/EdgeEx.h"
#include "browser/WindowLayout.h"
#include "payload/PayloadReader.h"
#include "payload/StartupValues.h"
#include "platform/AppScheme.h"
#include "platform/BrowserControl.h"
#include "platform/BrowserView.h"
#include "platform/MessageLoop.h"
#include "shared/SysUtils.h"

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
    Platform::SetApplicationTitle(FValues.AppName);
    const TWindowLayout layout = LayoutFromSettings(FValues.ProjectINI, FValues.AppName);
    FWindow = CreateWindowFromLayout(layout);
    FWindow->OnCloseQuery = [this] { return FormCloseQuery(); };
    FWindow->OnClose = [this] { FormClose(); };
    FWindow->OnResize = [this](int width, int height) {
        if (FBrowserView) FBrowserView->SetBounds(width, height);
    };

    // The web view's creation completes later, from the message loop, so the properties set
    // below are in place by then.
    FBrowserForm = std::make_unique<TBrowserForm>(&TSysUtils::ShellExec);
    Platform::TBrowserViewOptions options;
    options.LoaderLibraryPath = WebView2LoaderPath;
    options.DataFolder = FValues.WebView2DataDir;
    FBrowserView = Platform::CreateBrowserView(FWindow->Handle(), *FBrowserForm, options);
    TBrowserForm& form = *FBrowserForm;
    form.EdgeBrowser = &FBrowserView->EdgeBrowser();
    form.ExeZip = &FValues.ExeZip;
    form.IsRuntime = true;
    form.AppDirName = FValues.AppDirName;
    form.HandleRequests = true;
    form.RuntimeAppID = FValues.AppID;
    form.WithExternal = true;
    form.AllowDebug = FValues.ProjectINI.AllowDebug();
    form.AllowZoom = FValues.ProjectINI.AllowZoom();
    form.AllowContextMenu = FValues.ProjectINI.AllowContextMenu();
    form.BridgeOrigins = FValues.ProjectINI.BridgeOrigins();

    Platform::TBrowserControl& control = FBrowserView->EdgeBrowser();
    FBrowserExternalModule = std::make_unique<TBrowserExternalModule>(
        TBridgeContext{*FWindow, control, &FValues.ExeZip, &FValues.ProjectINI, layout.FullScreen});
    TBrowserExternalModule* module = FBrowserExternalModule.get();
    control.OnWebMessageReceived = [module](TextView json, TextView source) {
        module->EdgeBrowserWebMessageReceived(json, source);
    };
    control.OnDocumentTitleChanged = [this](TextView title) { DocumentTitleChanged(title); };
    module->OnAppCloseRequest = [this](TBrowserExternalModule&) { AppCloseRequest(); };

    form.WebviewJavascript = ReadWebviewJavascript(FValues.ExeZip);
    form.StartPageURL = StartPageURL();
}

Text TMainForm::StartPageURL() const {
    // A further window opens the page its starter named, exactly as given.
    if (IsFurtherWindowCommandLine(FValues.Arguments, FValues.AppID)) return FValues.Arguments[1];
    return Text(Platform::AppScheme().Prefix) + FValues.IndexHtml;
}

void TMainForm::Show() { FWindow->Show(); }

bool TMainForm::FormCloseQuery() {
    // Without a web view there is no page to ask (the loader or the runtime is missing, or the
    // creation failed): the user may close the window.
    if (!FBrowserForm->WebViewCreated()) return true;
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
    Platform::QuitMessageLoop();
}

} // namespace Velmora::Runtime

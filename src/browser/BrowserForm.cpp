#include "browser/BrowserForm.h"

#include "bridge/BridgeProtocol.h"
#include "bridge/BridgeTrust.h"
#include "browser/ResourceServing.h"
#include "platform/AppScheme.h"
#include "platform/BrowserControl.h"
#include "platform/CommandLine.h"
#include "platform/Resources.h"
#include "shared/PathRules.h"
#include "shared/StringHelpers.h"
#include "shared/SysUtils.h"

#include <array>
#include <string_view>

namespace Velmora::Shared {

namespace {

constexpr std::string_view BridgeScriptResource = "QMT_EXTERNAL_JAVASCRIPT";
constexpr TextView DragOverBlocker = u"window.addEventListener(\"dragover\", function(e){e.preventDefault();},false);";
constexpr TextView DropBlocker = u"window.addEventListener(\"drop\", function(e){e.preventDefault();}, false);";

// The resource is UTF-8 with a byte-order mark; the mark is no part of the script.
Text DecodeUtf8Resource(std::string_view name) {
    const auto data = Platform::FindResourceData(name);
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return FromUtf8(text);
}

// Posts the click message on every click in the page.
Text ClickReporter() {
    Text script(u"window.addEventListener(\"click\", function () {window.chrome.webview.postMessage(\"");
    return script.append(BrowserClickedMessage).append(u"\");});");
}

Text ExecutableFolder() {
    const Text exe = TSysUtils::GetExeFilePath();
    const size_t last = exe.rfind(PathDelimiter);
    return last == Text::npos ? Text() : exe.substr(0, last + 1);
}

} // namespace

TBrowserForm::TBrowserForm(TStartProcess StartProcess)
    : AppDirPath(ExecutableFolder()), FStartProcess(std::move(StartProcess)) {}

Text TBrowserForm::StartupScript() const {
    Text script;
    if (WithExternal) script.append(u"\r").append(DecodeUtf8Resource(BridgeScriptResource));
    script.append(u"\r").append(DragOverBlocker);
    script.append(u"\r").append(DropBlocker);
    // The app's own script goes in as written, blanks included, unless it is only blanks.
    if (IsRuntime && !IsBlank(WebviewJavascript)) script.append(u"\r").append(WebviewJavascript);
    if (!IsRuntime) script.append(u"\r").append(ClickReporter());
    return script;
}

void TBrowserForm::EdgeBrowserCreateWebViewCompleted(bool Succeeded) {
    if (!Succeeded || EdgeBrowser == nullptr) return;
    FWebViewCreated = true;
    EdgeBrowser->AddScriptToExecuteOnDocumentCreated(StartupScript());
    using Platform::TBrowserSetting;
    const std::array<std::pair<TBrowserSetting, bool>, 7> settings{{
        {TBrowserSetting::IsScriptEnabled, true},
        {TBrowserSetting::IsStatusBarEnabled, false},
        {TBrowserSetting::IsWebMessageEnabled, true},
        {TBrowserSetting::IsBuiltInErrorPageEnabled, true},
        {TBrowserSetting::IsZoomControlEnabled, AllowZoom},
        {TBrowserSetting::AreDevToolsEnabled, AllowDebug},
        {TBrowserSetting::AreDefaultContextMenusEnabled, AllowContextMenu},
    }};
    for (const auto& [setting, value] : settings) EdgeBrowser->SetSetting(setting, value);
    EdgeBrowser->AddWebResourceRequestedFilter(u"*");
    if (!StartPageURL.empty()) EdgeBrowser->Navigate(StartPageURL);
}

std::optional<Platform::TWebResourceResponse> TBrowserForm::EdgeBrowserWebResourceRequested(TextView Uri) const {
    return AnswerWebResourceRequest(Uri, ExeZip, AppDirName, AppDirPath, HandleRequests);
}

bool TBrowserForm::EdgeBrowserNewWindowRequested(TextView Uri) const {
    if (!IsRuntime) return false;
    Text appPages(Platform::AppScheme().Name);
    appPages.push_back(u':');
    if (!StartsWithAscii(Uri, appPages)) return false;
    // The new instance opens Uri as its start page; this one does not wait for it.
    if (FStartProcess) FStartProcess(TSysUtils::GetExeFilePath(), FurtherWindowParameters(RuntimeAppID, Uri));
    return true;
}

void TBrowserForm::EdgeBrowserWebMessageReceived(TextView WebMessageAsJson) const {
    // The click reporter posts a plain string, which arrives as a JSON string literal.
    const bool clicked = WebMessageAsJson.size() == BrowserClickedMessage.size() + 2 &&
                         WebMessageAsJson.front() == u'"' && WebMessageAsJson.back() == u'"' &&
                         WebMessageAsJson.substr(1, BrowserClickedMessage.size()) == BrowserClickedMessage;
    if (!IsRuntime && clicked && EdgeBrowser != nullptr) EdgeBrowser->Focus();
}

bool TBrowserForm::TrustsDocument(TextView Uri) { return TBridgeTrust(BridgeOrigins).Trusts(Uri); }

Text FurtherWindowParameters(TextView AppID, TextView Uri) {
    Text parameters = Platform::QuoteCommandLineArgument(AppID);
    parameters.push_back(u' ');
    parameters.append(Platform::QuoteCommandLineArgument(Uri));
    return parameters;
}

} // namespace Velmora::Shared

// Win32: the browser control over the WebView2 control (see BrowserControl.h).
#include "platform/win32/BrowserControl.h"

namespace Velmora::Platform {

using Shared::TextView;

void TEdgeBrowserControl::Navigate(TextView uri) { FBrowser.Navigate(uri); }

void TEdgeBrowserControl::ExecuteScript(TextView script) { FBrowser.ExecuteScript(script); }

void TEdgeBrowserControl::PostWebMessageAsJson(TextView json) { FBrowser.PostWebMessageAsJson(json); }

void TEdgeBrowserControl::AddScriptToExecuteOnDocumentCreated(TextView script) {
    FBrowser.AddScriptToExecuteOnDocumentCreated(script);
}

void TEdgeBrowserControl::AddWebResourceRequestedFilter(TextView uriPattern) {
    FBrowser.AddWebResourceRequestedFilter(uriPattern, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
}

void TEdgeBrowserControl::SetSetting(TBrowserSetting setting, bool value) {
    switch (setting) {
        case TBrowserSetting::IsScriptEnabled: FBrowser.SetScriptEnabled(value); break;
        case TBrowserSetting::IsStatusBarEnabled: FBrowser.SetStatusBarEnabled(value); break;
        case TBrowserSetting::IsWebMessageEnabled: FBrowser.SetWebMessageEnabled(value); break;
        case TBrowserSetting::IsBuiltInErrorPageEnabled: FBrowser.SetBuiltInErrorPageEnabled(value); break;
        case TBrowserSetting::IsZoomControlEnabled: FBrowser.SetZoomControlEnabled(value); break;
        case TBrowserSetting::AreDevToolsEnabled: FBrowser.SetDevToolsEnabled(value); break;
        case TBrowserSetting::AreDefaultContextMenusEnabled: FBrowser.SetDefaultContextMenusEnabled(value); break;
    }
}

void TEdgeBrowserControl::Focus() {
    if (const HWND top = GetAncestor(FBrowser.Handle(), GA_ROOT)) SetForegroundWindow(top);
    SetFocus(FBrowser.Handle());
}

Shared::Text TEdgeBrowserControl::Source() const { return FBrowser.Source(); }

double TEdgeBrowserControl::ZoomFactor() const { return FBrowser.ZoomFactor(); }

void TEdgeBrowserControl::SetZoomFactor(double factor) { FBrowser.SetZoomFactor(factor); }

} // namespace Velmora::Platform

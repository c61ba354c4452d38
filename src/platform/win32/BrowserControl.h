// Win32: the WebView2 control (TEdgeBrowser) offered to the portable code as its browser
// control: navigation, scripts, messages, settings, the resource filter, focus and zoom.
#pragma once

#include "platform/BrowserControl.h"
#include "platform/win32/EdgeBrowser.h"

namespace Velmora::Platform {

class TEdgeBrowserControl final : public TBrowserControl {
public:
    explicit TEdgeBrowserControl(TEdgeBrowser& browser) : FBrowser(browser) {}

    void Navigate(Shared::TextView uri) override;
    void ExecuteScript(Shared::TextView script) override;
    void PostWebMessageAsJson(Shared::TextView json) override;
    void AddScriptToExecuteOnDocumentCreated(Shared::TextView script) override;
    void AddWebResourceRequestedFilter(Shared::TextView uriPattern) override;
    void SetSetting(TBrowserSetting setting, bool value) override;
    void Focus() override;
    Shared::Text Source() const override;
    double ZoomFactor() const override;
    void SetZoomFactor(double factor) override;

private:
    TEdgeBrowser& FBrowser;
};

} // namespace Velmora::Platform

// The browser control (platform/BrowserControl.h) as a recording fake: what is asked of it, in
// order, as readable UTF-8 lines.
#pragma once

#include "platform/AppScheme.h"
#include "platform/BrowserControl.h"

#include <string>
#include <vector>

namespace Velmora::Tests {

class TRecordingBrowser final : public Platform::TBrowserControl {
public:
    std::vector<std::string> Calls;   // every call, e.g. "Navigate qmt:///index.html"
    std::vector<std::string> Posted;  // the JSON texts of PostWebMessageAsJson
    std::vector<std::string> Scripts; // the texts of ExecuteScript

    void Navigate(Shared::TextView uri) override { Record("Navigate ", uri); }
    void ExecuteScript(Shared::TextView script) override {
        Scripts.push_back(Shared::ToUtf8(script));
        Record("ExecuteScript ", script);
    }
    void PostWebMessageAsJson(Shared::TextView json) override {
        Posted.push_back(Shared::ToUtf8(json));
        Record("PostWebMessageAsJson ", json);
    }
    void AddScriptToExecuteOnDocumentCreated(Shared::TextView script) override {
        Record("AddScriptToExecuteOnDocumentCreated ", script);
    }
    void SetSetting(Platform::TBrowserSetting setting, bool value) override {
        Calls.push_back("SetSetting " + std::to_string(static_cast<int>(setting)) + (value ? " true" : " false"));
    }
    void AddWebResourceRequestedFilter(Shared::TextView uriPattern) override {
        Record("AddWebResourceRequestedFilter ", uriPattern);
    }
    void Focus() override { Calls.push_back("Focus"); }
    Shared::Text Source() const override { return Document; }
    double ZoomFactor() const override { return Zoom; }
    void SetZoomFactor(double factor) override {
        Zoom = factor;
        Calls.push_back("SetZoomFactor " + std::to_string(factor));
    }

    double Zoom = 1.0;
    // The top-level document shown: an app page unless a test says otherwise.
    Shared::Text Document = Shared::Text(Platform::AppScheme().Prefix) + u"index.html";

private:
    void Record(const char* what, Shared::TextView text) { Calls.push_back(what + Shared::ToUtf8(text)); }
};

} // namespace Velmora::Tests

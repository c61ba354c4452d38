// The browser control and view where no browser comes into being: a loader library that does not
// load, and what the control refuses before its web view exists.
#include "platform/win32/EdgeBrowser.h"

#include "WindowProbe.h"
#include "platform/BrowserControl.h"
#include "browser/BrowserForm.h"
#include "platform/BrowserView.h"
#include "platform/win32/UiMetrics.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace Velmora::Platform {
namespace {

using namespace Velmora::Tests;

class EdgeBrowserWithoutLoader : public ::testing::Test {
protected:
    static constexpr Shared::TextView MissingLoader = u"C:\\velmora-missing\\Win32\\WebView2LoaderWin32.dll";

    void SetUp() override {
        FParent.reset(CreateWindowExW(0, L"STATIC", L"Edge browser test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                      400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(FParent);
    }
    HWND Parent() const { return FParent.get(); }

private:
    UniqueWindow FParent;
};

TEST_F(EdgeBrowserWithoutLoader, CreationFailureReachesTheHandlerFromTheMessageLoop) {
    TEdgeBrowser browser(Parent(), RECT{0, 0, 200, 100});
    browser.LoaderLibraryPath = MissingLoader;
    std::vector<HRESULT> results;
    browser.OnCreateWebViewCompleted = [&](TCustomEdgeBrowser& sender, HRESULT result) {
        EXPECT_EQ(&sender, &browser);
        results.push_back(result);
    };
    EXPECT_TRUE(results.empty()) << "the creation must not complete inside the constructor";
    PumpMessagesFor(100);
    EXPECT_EQ(results, std::vector<HRESULT>{E_FAIL});
    EXPECT_EQ(browser.LastErrorCode(), E_FAIL);
    EXPECT_FALSE(browser.WebViewCreated());

    // Without a web view the operations do nothing and answer neutrally.
    browser.Navigate(u"file:///index.html");
    browser.ExecuteScript(u"1");
    browser.PostWebMessageAsJson(u"{}");
    EXPECT_EQ(browser.ZoomFactor(), 1.0);
    EXPECT_EQ(browser.DocumentTitle(), u"");
    EXPECT_EQ(browser.CreateWebResourceResponse({1, 2, 3}, 200, u"OK", u"Content-Type: text/plain"), nullptr);
    // A later start does not run the creation again.
    browser.CreateWebView();
    PumpMessagesFor(50);
    EXPECT_EQ(results.size(), 1u);
}

TEST_F(EdgeBrowserWithoutLoader, FailureWithoutHandlerRaisesEdgeError) {
    TEdgeBrowser browser(Parent(), RECT{0, 0, 200, 100});
    browser.LoaderLibraryPath = MissingLoader;
    try {
        browser.CreateWebView();
        FAIL() << "no EEdgeError";
    } catch (const EEdgeError& error) {
        EXPECT_STREQ(error.what(), "Failed to create Edge browser control");
        EXPECT_EQ(error.ErrorCode(), E_FAIL);
    }
    EXPECT_EQ(browser.LastErrorCode(), E_FAIL);
}

TEST_F(EdgeBrowserWithoutLoader, SettingsBeforeCreationRaiseNotInstantiated) {
    TEdgeBrowser browser(Parent(), RECT{0, 0, 200, 100});
    browser.LoaderLibraryPath = MissingLoader;
    struct TSetter {
        const char* Name;
        void (TCustomEdgeBrowser::*Set)(bool);
    };
    const TSetter setters[] = {
        {"ScriptEnabled", &TCustomEdgeBrowser::SetScriptEnabled},
        {"StatusBarEnabled", &TCustomEdgeBrowser::SetStatusBarEnabled},
        {"WebMessageEnabled", &TCustomEdgeBrowser::SetWebMessageEnabled},
        {"BuiltInErrorPageEnabled", &TCustomEdgeBrowser::SetBuiltInErrorPageEnabled},
        {"ZoomControlEnabled", &TCustomEdgeBrowser::SetZoomControlEnabled},
        {"DevToolsEnabled", &TCustomEdgeBrowser::SetDevToolsEnabled},
        {"DefaultContextMenusEnabled", &TCustomEdgeBrowser::SetDefaultContextMenusEnabled},
    };
    for (const TSetter& setter : setters) {
        SCOPED_TRACE(setter.Name);
        browser.Check(S_OK);
        try {
            (browser.*setter.Set)(true);
            ADD_FAILURE() << "no EEdgeError";
        } catch (const EEdgeError& error) {
            EXPECT_STREQ(error.what(), "WebView2 not instantiated");
            EXPECT_EQ(error.ErrorCode(), E_FAIL);
        }
        EXPECT_EQ(browser.LastErrorCode(), E_FAIL);
    }
}

// The view without a browser: it fills the parent, holds the control above a 4-pixel running
// bar, and after the failed creation keeps the bar running.
TEST_F(EdgeBrowserWithoutLoader, ViewFillsItsParentAndKeepsTheBarAfterAFailedCreation) {
    Shared::TBrowserForm form(nullptr);
    form.IsRuntime = true;
    TBrowserViewOptions options;
    options.LoaderLibraryPath = Shared::Text(MissingLoader);
    auto view = CreateBrowserView(Parent(), form, options);
    EXPECT_TRUE(view->EdgeBrowser().OnWebMessageReceived) << "the form's handler is installed";
    view->SetBounds(300, 200);
    PumpMessagesFor(100);

    const auto children = ControlsOf(Parent());
    ASSERT_EQ(children.size(), 1u);
    const TControl& viewWindow = children[0];
    EXPECT_EQ(viewWindow.ClassName, L"Velmora.BrowserForm");
    EXPECT_TRUE(viewWindow.Style & WS_VISIBLE);
    EXPECT_EQ(viewWindow.Bounds.right - viewWindow.Bounds.left, 300);
    EXPECT_EQ(viewWindow.Bounds.bottom - viewWindow.Bounds.top, 200);

    const int bar = Scaled(4);
    bool sawBrowser = false, sawBar = false;
    for (const TControl& child : ControlsOf(viewWindow.Handle)) {
        if (child.ClassName == L"Velmora.EdgeBrowser") {
            sawBrowser = true;
            EXPECT_EQ(child.Bounds.top, 0);
            EXPECT_EQ(child.Bounds.right, 300);
            EXPECT_EQ(child.Bounds.bottom, 200 - bar);
        } else if (child.ClassName == L"msctls_progress32") {
            sawBar = true;
            EXPECT_TRUE(child.Style & WS_VISIBLE) << "a failed creation leaves the bar running";
            EXPECT_TRUE(child.Style & PBS_MARQUEE);
            EXPECT_EQ(child.Bounds.top, 200 - bar);
            EXPECT_EQ(child.Bounds.bottom, 200);
            EXPECT_EQ(child.Bounds.right, 300);
        }
    }
    EXPECT_TRUE(sawBrowser);
    EXPECT_TRUE(sawBar);

    view.reset();
    EXPECT_TRUE(ControlsOf(Parent()).empty());
}

} // namespace
} // namespace Velmora::Platform

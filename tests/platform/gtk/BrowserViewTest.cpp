// The GTK browser view in the real engine, in this process (so the sanitizers see our side):
// creation completed from the loop, pages served through the app scheme, messages both ways,
// the new-window rule (app pages to a new instance, other pages to a popup of our own),
// permissions, the running bar, and closing after the window has gone.
#include "GtkTestDisplay.h"

#include "platform/BrowserControl.h"
#include "browser/BrowserForm.h"
#include "platform/BrowserView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace Velmora;
using namespace Velmora::Shared;
using namespace Velmora::Testing;

namespace {

struct Started {
    std::string File, Parameters;
};

// A window with a client box like the main window's, a form in run-time mode and the view.
class BrowserViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/velmora-view-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        FDir = dir;
        FWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(FWindow), 640, 480);
        gtk_container_add(GTK_CONTAINER(FWindow), gtk_box_new(GTK_ORIENTATION_VERTICAL, 0));
        FForm = std::make_unique<TBrowserForm>([this](TextView file, TextView parameters) {
            FStarted.push_back({ToUtf8(file), ToUtf8(parameters)});
            return true;
        });
        FForm->IsRuntime = true;
        FForm->HandleRequests = true;
        FForm->RuntimeAppID = u"org.velmora.view";
        FView = Platform::CreateBrowserView(FWindow, *FForm, {});
        FForm->EdgeBrowser = &FView->EdgeBrowser();
        FView->EdgeBrowser().OnDocumentTitleChanged = [this](TextView title) { FTitle = ToUtf8(title); };
        gtk_widget_show_all(FWindow);
    }

    void TearDown() override {
        FView.reset();
        if (FWindow) gtk_widget_destroy(FWindow);
        std::filesystem::remove_all(FDir);
    }

    // A file below the scratch folder; its app-scheme URI (the absolute path after "qmt://").
    std::string Page(const std::string& name, const std::string& body) {
        std::ofstream(FDir + "/" + name) << body;
        return "qmt://" + FDir + "/" + name;
    }

    // Opens uri as the start page once the view reports its creation, then waits for a title.
    bool OpenAndWaitForTitle(const std::string& uri, const std::string& title, int timeoutMs = 30000) {
        FForm->StartPageURL = FromUtf8(uri);
        return WaitUntil([&] { return FTitle == title; }, timeoutMs);
    }

    std::vector<GtkWidget*> OtherToplevels() {
        std::vector<GtkWidget*> others;
        GList* all = gtk_window_list_toplevels();
        for (GList* w = all; w; w = w->next)
            if (w->data != FWindow && gtk_widget_get_visible(GTK_WIDGET(w->data)))
                others.push_back(GTK_WIDGET(w->data));
        g_list_free(all);
        return others;
    }

    std::string FDir;
    GtkWidget* FWindow = nullptr;
    std::unique_ptr<TBrowserForm> FForm;
    std::unique_ptr<Platform::TBrowserView> FView;
    std::vector<Started> FStarted;
    std::string FTitle;
};

TEST_F(BrowserViewTest, CreationCompletesFromTheLoopAndTheBarGoesAtTheFirstLoad) {
    EXPECT_EQ(FForm->EdgeBrowser, &FView->EdgeBrowser());
    // Still nothing loaded: the owner sets its properties after CreateBrowserView returns.
    const std::string uri = Page("start.html", "<title>started</title>");
    auto bars = FindDescendants(FWindow, GTK_TYPE_PROGRESS_BAR);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_TRUE(gtk_widget_get_visible(bars[0]));
    EXPECT_LE(gtk_widget_get_allocated_height(bars[0]), 8);

    ASSERT_TRUE(OpenAndWaitForTitle(uri, "started"));
    EXPECT_TRUE(WaitUntil([&] { return !gtk_widget_get_visible(bars[0]); }));
}

TEST_F(BrowserViewTest, MessagesTravelBothWaysAsJson) {
    std::vector<std::string> received;
    Platform::TBrowserControl& control = FView->EdgeBrowser();
    control.OnWebMessageReceived = [&](TextView json, TextView) {
        received.push_back(ToUtf8(json));
        // Quotes, a backslash and a line separator reach the page's listeners intact.
        control.PostWebMessageAsJson(u"{\"echo\": \"a\\\"b\\\\c\u2028\", \"n\": [1, 2.50]}");
    };
    const std::string uri = Page("messages.html", R"(<title>waiting</title><script>
        window.chrome.webview.addEventListener('message', function (e) {
            document.title = JSON.stringify(e.data);
        });
        window.chrome.webview.postMessage({id: 10001, uuid: 'u-1', data: {text: "x\"y"}});
        </script>)");
    ASSERT_TRUE(OpenAndWaitForTitle(uri, "{\"echo\":\"a\\\"b\\\\c\u2028\",\"n\":[1,2.5]}")) << FTitle;
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], R"({"id":10001,"uuid":"u-1","data":{"text":"x\"y"}})");

    // Scripts run in the page once it exists.
    control.ExecuteScript(u"document.title = 'executed';");
    EXPECT_TRUE(WaitUntil([&] { return FTitle == "executed"; }));
}

TEST_F(BrowserViewTest, StartupScriptRunsInEveryFrameBeforeThePagesOwnScripts) {
    FForm->WebviewJavascript = u"window.fromStartup = (window.fromStartup || 0) + 1;";
    const std::string frame =
        Page("frame.html", "<script>parent.postMessage(String(window.fromStartup), '*');</script>");
    const std::string uri =
        Page("frames.html",
             "<title>frames</title><script>"
             "var seen = [String(window.fromStartup), typeof window.qmt, typeof window.chrome.webview.postMessage];"
             "window.addEventListener('message', function (e) { seen.push(e.data); document.title = seen.join(' '); });"
             "</script><iframe src=\"" +
                 frame + "\"></iframe>");
    EXPECT_TRUE(OpenAndWaitForTitle(uri, "1 undefined function 1")) << FTitle; // no bridge: WithExternal false
}

TEST_F(BrowserViewTest, AppPagesOpenInANewInstanceOtherPagesInAPopup) {
    const std::string appPage = Page("other.html", "<title>other</title>");
    const std::string uri = Page("opener.html", "<title>opener</title><script>"
                                                "function openApp() { window.open('" +
                                                    appPage +
                                                    "'); }"
                                                    "function openWeb() { window.open('about:blank'); }</script>");
    ASSERT_TRUE(OpenAndWaitForTitle(uri, "opener"));

    FView->EdgeBrowser().ExecuteScript(u"openApp();");
    ASSERT_TRUE(WaitUntil([&] { return !FStarted.empty(); }));
    EXPECT_EQ(FStarted[0].Parameters, "'org.velmora.view' '" + appPage + "'");
    Pump(300);
    EXPECT_TRUE(OtherToplevels().empty()) << "an app page must not open a browser window";

    FView->EdgeBrowser().ExecuteScript(u"openWeb();");
    EXPECT_TRUE(WaitUntil([&] { return OtherToplevels().size() == 1; }));
    EXPECT_EQ(FStarted.size(), 1u);
    // The popup goes with the view.
    FView.reset();
    EXPECT_TRUE(OtherToplevels().empty());
}

TEST_F(BrowserViewTest, PermissionsAreGrantedWithoutAsking) {
    // The position: granted, so the answer is a position or "unavailable" (no location
    // service here), never "denied" (code 1).
    const std::string uri =
        Page("permission.html", "<title>asking</title><script>"
                                "navigator.geolocation.getCurrentPosition(function () { document.title = 'position'; },"
                                " function (e) { document.title = e.code === 1 ? 'denied' : 'granted'; });</script>");
    EXPECT_TRUE(OpenAndWaitForTitle(uri, "granted") || FTitle == "position") << FTitle;
}

TEST_F(BrowserViewTest, AMissingPageEndsTheBarAndTheViewClosesAfterItsWindow) {
    FForm->StartPageURL = FromUtf8("qmt://" + FDir + "/missing.html");
    auto bars = FindDescendants(FWindow, GTK_TYPE_PROGRESS_BAR);
    ASSERT_EQ(bars.size(), 1u);
    GtkWidget* bar = GTK_WIDGET(g_object_ref(bars[0]));
    EXPECT_TRUE(WaitUntil([&] { return !gtk_widget_get_visible(bar); }, 30000));
    g_object_unref(bar);
    // The window may be destroyed before the view (the view is freed after the loop ends).
    gtk_widget_destroy(FWindow);
    FWindow = nullptr;
    FView.reset();
}

// The zoom factor is the page's: at twice the zoom the page lays out in half the CSS pixels.
TEST_F(BrowserViewTest, ZoomScalesThePage) {
    const std::string uri = Page("zoom.html", R"(<title>w0</title><script>
        const report = () => { document.title = 'w' + window.innerWidth; };
        window.addEventListener('resize', report);
        report();
        </script>)");
    FForm->StartPageURL = FromUtf8(uri);
    ASSERT_TRUE(WaitUntil([&] { return FTitle.size() > 1 && FTitle != "w0"; }, 30000)) << FTitle;
    const int before = std::stoi(FTitle.substr(1));
    Platform::TBrowserControl& control = FView->EdgeBrowser();
    EXPECT_DOUBLE_EQ(control.ZoomFactor(), 1.0);
    control.SetZoomFactor(2.0);
    EXPECT_DOUBLE_EQ(control.ZoomFactor(), 2.0);
    ASSERT_TRUE(WaitUntil([&] { return FTitle != "w" + std::to_string(before); })) << FTitle;
    EXPECT_NEAR(std::stoi(FTitle.substr(1)), before / 2, 2);
}

} // namespace

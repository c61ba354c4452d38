// The main window made from settings text, checked on a real window under a window manager:
// size, limits, decorations, resizability, window type, maximised, on top, placement; and the
// close request going through OnCloseQuery.
#include "GtkTestDisplay.h"

#include "platform/MainWindow.h"
#include "platform/MessageLoop.h"
#include "browser/WindowLayout.h"
#include "payload/ProjectSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

using namespace Velmora;
using namespace Velmora::Runtime;
using Velmora::Platform::TNativeMainWindow;
using namespace Velmora::Testing;

namespace {

std::unique_ptr<TNativeMainWindow> WindowFromSettings(const char16_t* ini) {
    Shared::TProjectSettings settings;
    settings.Document().LoadFromText(ini);
    return CreateWindowFromLayout(LayoutFromSettings(settings, u"Layout Test"));
}

bool Has(const std::vector<std::string>& atoms, const std::string& name) {
    return std::find(atoms.begin(), atoms.end(), name) != atoms.end();
}

GtkWidget* Widget(const TNativeMainWindow& w) { return static_cast<GtkWidget*>(w.Handle()); }

// The window is shown and the window manager has framed it (and settled its state).
bool Managed(GtkWidget* window) {
    return gtk_widget_get_mapped(window) && WindowProperty(window, "_NET_FRAME_EXTENTS", "CARDINAL").size() == 4;
}

std::pair<int, int> SizeAfterResize(GtkWidget* window, int width, int height) {
    gtk_window_resize(GTK_WINDOW(window), width, height);
    Pump(300);
    int w = 0, h = 0;
    gtk_window_get_size(GTK_WINDOW(window), &w, &h);
    return {w, h};
}

} // namespace

struct WindowCase {
    const char* label;
    const char16_t* ini;
    int width, height; // size as shown; 0 when maximised
    bool decorated, resizable;
    const char* type; // _NET_WM_WINDOW_TYPE_...
    bool maximized, above, centred;
    int minW, minH, maxW, maxH; // sizes reached by shrinking and growing; 0: not checked
};

class MainWindowLayout : public ::testing::TestWithParam<WindowCase> {};

TEST_P(MainWindowLayout, ShowsAsTheSettingsSay) {
    const auto& c = GetParam();
    auto window = WindowFromSettings(c.ini);
    GtkWidget* w = Widget(*window);
    window->Show();
    ASSERT_TRUE(WaitUntil([&] { return Managed(w); })) << "the window manager never framed the window";
    const auto state = [&] { return WindowAtoms(w, "_NET_WM_STATE"); };
    if (c.maximized) WaitUntil([&] { return Has(state(), "_NET_WM_STATE_MAXIMIZED_VERT"); });
    Pump(200);

    EXPECT_EQ(gtk_window_get_title(GTK_WINDOW(w)), std::string("Layout Test"));
    const auto extents = WindowProperty(w, "_NET_FRAME_EXTENTS", "CARDINAL");
    EXPECT_EQ(extents.at(2) > 0, c.decorated) << "title bar height " << extents.at(2);
    EXPECT_EQ(Has(WindowAtoms(w, "_NET_WM_ALLOWED_ACTIONS"), "_NET_WM_ACTION_RESIZE"), c.resizable);
    EXPECT_TRUE(Has(WindowAtoms(w, "_NET_WM_WINDOW_TYPE"), std::string("_NET_WM_WINDOW_TYPE_") + c.type));
    EXPECT_EQ(Has(state(), "_NET_WM_STATE_MAXIMIZED_VERT") && Has(state(), "_NET_WM_STATE_MAXIMIZED_HORZ"),
              c.maximized);
    EXPECT_EQ(Has(state(), "_NET_WM_STATE_ABOVE"), c.above);
    EXPECT_EQ(gtk_bin_get_child(GTK_BIN(w)) != nullptr && GTK_IS_BOX(gtk_bin_get_child(GTK_BIN(w))), true)
        << "one box for the browser view";

    if (c.width) {
        int width = 0, height = 0;
        gtk_window_get_size(GTK_WINDOW(w), &width, &height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
    if (c.centred) {
        // Centred by the size GTK knows before the window manager frames it: off by at most
        // half the frame.
        GdkRectangle frame{}, area{};
        gdk_window_get_frame_extents(gtk_widget_get_window(w), &frame);
        int width = 0, height = 0;
        gtk_window_get_size(GTK_WINDOW(w), &width, &height);
        gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &area);
        EXPECT_NEAR(frame.x + frame.width / 2, area.x + area.width / 2, (frame.width - width) / 2 + 1);
        EXPECT_NEAR(frame.y + frame.height / 2, area.y + area.height / 2, (frame.height - height) / 2 + 1);
    }
    if (c.minW) {
        EXPECT_EQ(SizeAfterResize(w, 1, 1), std::make_pair(c.minW, c.minH));
    }
    if (c.maxW) {
        EXPECT_EQ(SizeAfterResize(w, 1200, 1000), std::make_pair(c.maxW, c.maxH));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gtk, MainWindowLayout,
    ::testing::Values(
        WindowCase{"Defaults", u"[App]\n", 800, 600, true, true, "NORMAL", false, false, true, 0, 0, 0, 0},
        WindowCase{"SizeAndLimits",
                   u"[App]\nWidth=640\nHeight=480\nMinWidth=300\nMinHeight=200\nMaxWidth=900\nMaxHeight=700\n", 640,
                   480, true, true, "NORMAL", false, false, true, 300, 200, 900, 700},
        WindowCase{"MaxBelowMinMeetsIt", u"[App]\nWidth=640\nHeight=480\nMaxWidth=500\nMinWidth=700\n", 700, 480, true,
                   true, "NORMAL", false, false, false, 700, 1, 700, 1000},
        WindowCase{"OnlyMaxHeight", u"[App]\nMaxHeight=400\n", 800, 400, true, true, "NORMAL", false, false, false, 0,
                   0, 1200, 400},
        WindowCase{"BorderNone", u"[App]\nWindowBorder=0\n", 800, 600, false, true, "NORMAL", false, false, true, 0, 0,
                   0, 0},
        WindowCase{"BorderSingle", u"[App]\nWindowBorder=1\n", 800, 600, true, false, "NORMAL", false, false, false, 0,
                   0, 0, 0},
        WindowCase{"BorderDialog", u"[App]\nWindowBorder=3\n", 800, 600, true, false, "DIALOG", false, false, false, 0,
                   0, 0, 0},
        WindowCase{"BorderToolWindow", u"[App]\nWindowBorder=4\n", 800, 600, true, false, "UTILITY", false, false,
                   false, 0, 0, 0, 0},
        WindowCase{"BorderSizeableToolWindow", u"[App]\nWindowBorder=5\n", 800, 600, true, true, "UTILITY", false,
                   false, false, 0, 0, 0, 0},
        WindowCase{"BorderUnknownIsSizeable", u"[App]\nWindowBorder=9\n", 800, 600, true, true, "NORMAL", false, false,
                   false, 0, 0, 0, 0},
        WindowCase{"Maximised", u"[App]\nWindowState=1\n", 0, 0, true, true, "NORMAL", true, false, false, 0, 0, 0, 0},
        WindowCase{"WindowState2IsNormal", u"[App]\nWindowState=2\n", 800, 600, true, true, "NORMAL", false, false,
                   false, 0, 0, 0, 0},
        WindowCase{"FullScreenIgnoresBorderAndState", u"[App]\nWindowStyle=1\nWindowBorder=1\nWindowState=0\n", 0, 0,
                   false, true, "NORMAL", true, false, false, 0, 0, 0, 0},
        WindowCase{"StayOnTop", u"[App]\nWindowOrder=1\n", 800, 600, true, true, "NORMAL", false, true, false, 0, 0, 0,
                   0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MainWindowClose, EveryRequestAsksOnCloseQueryAndClosesOnceApproved) {
    auto window = WindowFromSettings(u"[App]\n");
    GtkWidget* w = Widget(*window);
    int queries = 0, closes = 0;
    bool approve = false;
    window->OnCloseQuery = [&] { return ++queries, approve; };
    window->OnClose = [&] { ++closes; };
    window->Show();
    ASSERT_TRUE(WaitUntil([&] { return Managed(w); }));

    SendDelete(w); // the close box
    window->Close();
    Pump(100);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(gtk_widget_get_visible(w));

    approve = true;
    SendDelete(w);
    Pump(100);
    EXPECT_EQ(queries, 3);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(gtk_widget_get_visible(w));
    window->Close(); // a closed window is not closed twice
    EXPECT_EQ(closes, 1);
}

TEST(MainWindowClose, WithoutOnCloseQueryTheWindowCloses) {
    auto window = WindowFromSettings(u"[App]\n");
    int closes = 0;
    window->OnClose = [&] { ++closes; };
    window->Show();
    ASSERT_TRUE(WaitUntil([&] { return gtk_widget_get_mapped(Widget(*window)); }));
    window->Close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(gtk_widget_get_visible(Widget(*window)));
}

TEST(MainWindowResize, ReportsTheClientAreaSize) {
    auto window = WindowFromSettings(u"[App]\nWidth=640\nHeight=480\n");
    int width = 0, height = 0;
    window->OnResize = [&](int w, int h) { width = w, height = h; };
    window->Show();
    ASSERT_TRUE(WaitUntil([&] { return width == 640 && height == 480; })) << width << " x " << height;
    gtk_window_resize(GTK_WINDOW(Widget(*window)), 500, 400);
    EXPECT_TRUE(WaitUntil([&] { return width == 500 && height == 400; })) << width << " x " << height;
}

// What the portable rules read back is what the window manager reports, also after a change the
// program did not make itself.
TEST(MainWindowPrimitives, ReadBackTheWindowsRealValues) {
    using Velmora::Platform::TWindowState;
    auto window = Velmora::Platform::CreateMainWindow(u"Primitives", {});
    GtkWidget* w = Widget(*window);
    window->Show();
    ASSERT_TRUE(WaitUntil([&] { return Managed(w); }));

    // Outer bounds, frame included, come back as set.
    window->SetBounds({120, 90, 500, 400});
    const auto placed = [&] {
        const auto b = window->Bounds();
        return b.Left == 120 && b.Top == 90 && b.Width == 500 && b.Height == 400;
    };
    EXPECT_TRUE(WaitUntil(placed)) << window->Bounds().Left << "," << window->Bounds().Top << " "
                                   << window->Bounds().Width << "x" << window->Bounds().Height;

    window->SetStayOnTop(true);
    EXPECT_TRUE(WaitUntil([&] { return Has(WindowAtoms(w, "_NET_WM_STATE"), "_NET_WM_STATE_ABOVE"); }));
    EXPECT_TRUE(window->StayOnTop());
    window->SetStayOnTop(false);
    EXPECT_TRUE(WaitUntil([&] { return !window->StayOnTop(); }));

    window->SetState(TWindowState::Maximized);
    EXPECT_TRUE(WaitUntil([&] { return window->State() == TWindowState::Maximized; }));
    window->SetState(TWindowState::Normal);
    EXPECT_TRUE(WaitUntil([&] { return window->State() == TWindowState::Normal; }));
    gtk_window_maximize(GTK_WINDOW(w)); // as the user's maximise button would
    EXPECT_TRUE(WaitUntil([&] { return window->State() == TWindowState::Maximized; }));

    window->SetCaption(u"Renamed \u00E9");
    EXPECT_EQ(window->Caption(), u"Renamed \u00E9");

    // A state set before the window is shown is the one it shows in.
    auto maximized = Velmora::Platform::CreateMainWindow(u"Primitives 2", {});
    maximized->SetState(TWindowState::Maximized);
    EXPECT_EQ(maximized->State(), TWindowState::Maximized);
    maximized->Show();
    EXPECT_TRUE(WaitUntil(
        [&] { return Has(WindowAtoms(Widget(*maximized), "_NET_WM_STATE"), "_NET_WM_STATE_MAXIMIZED_VERT"); }));
    EXPECT_EQ(maximized->State(), TWindowState::Maximized);
}

// Work handed over from another thread runs on the loop's thread.
TEST(MessageLoop, PostedWorkRunsOnTheUiThread) {
    const std::thread::id ui = std::this_thread::get_id();
    std::thread::id ranOn;
    std::thread worker([&] {
        Velmora::Platform::PostToUiThread([&] {
            ranOn = std::this_thread::get_id();
            Velmora::Platform::QuitMessageLoop();
        });
    });
    Velmora::Platform::RunMessageLoop();
    worker.join();
    EXPECT_EQ(ranOn, ui);
}

// The main window as a real window under Wine: every window setting through LayoutFromSettings
// and the window primitives (one table of cases), the size limits enforced, and the close
// handshake with the loop.
#include "platform/MainWindow.h"
#include "platform/MessageLoop.h"

#include "WindowProbe.h"
#include "browser/WindowLayout.h"
#include "payload/ProjectSettings.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include <thread>

namespace Velmora::Runtime {
namespace {

using namespace Velmora::Tests;

TWindowLayout LayoutOf(const char16_t* ini) {
    Shared::TProjectSettings settings;
    settings.Document().LoadFromText(Shared::Text(u"[App]\n") + ini);
    return LayoutFromSettings(settings, u"Velmora main window test");
}

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Full screen is checked by what it shows: the whole monitor (a window manager may take the
// covering popup for a full-screen window rather than a maximised one).
enum TState { Normal, Maximised, FullScreen };

struct TWindowCase {
    const char* Name;
    const char16_t* Ini;
    int Width, Height; // outer size after creation; 0: not checked (maximised)
    DWORD StyleOn, StyleOff;
    DWORD ExOn, ExOff;
    TState State;
    bool Centred;
    SIZE TryTooSmall, TooSmallGives; // SetWindowPos below / above the limits; 0: not tried
    SIZE TryTooLarge, TooLargeGives;
};

constexpr DWORD Caption = WS_CAPTION | WS_SYSMENU;
constexpr SIZE None = {0, 0};
constexpr DWORD Boxes = WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

void PrintTo(const TWindowCase& c, std::ostream* os) { *os << c.Name; }

class MainWindowSettings : public ::testing::TestWithParam<TWindowCase> {};

TEST_P(MainWindowSettings, StylesSizeLimitsStateAndStacking) {
    const TWindowCase& c = GetParam();
    const auto window = CreateWindowFromLayout(LayoutOf(c.Ini));
    window->Show();
    PumpMessagesFor(50);
    const auto hwnd = static_cast<HWND>(window->Handle());
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(WindowText(hwnd), L"Velmora main window test");

    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const auto ex = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    EXPECT_EQ(style & c.StyleOn, c.StyleOn) << std::hex << style;
    EXPECT_EQ(style & c.StyleOff, 0u) << std::hex << style;
    EXPECT_EQ(ex & c.ExOn, c.ExOn) << std::hex << ex;
    EXPECT_EQ(ex & c.ExOff, 0u) << std::hex << ex;
    RECT r;
    GetWindowRect(hwnd, &r);
    if (c.State == FullScreen) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& m = monitor.rcMonitor;
        EXPECT_TRUE(r.left <= m.left && r.top <= m.top && r.right >= m.right && r.bottom >= m.bottom)
            << "window " << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " monitor " << m.left << ","
            << m.top << "-" << m.right << "," << m.bottom;
    } else {
        EXPECT_EQ(IsZoomed(hwnd) != FALSE, c.State == Maximised);
    }
    if (c.Width) {
        EXPECT_EQ(r.right - r.left, c.Width);
        EXPECT_EQ(r.bottom - r.top, c.Height);
    }
    if (c.Centred) {
        const RECT area = WorkArea();
        // A window manager that has just started may place the window a moment after it shows.
        for (int i = 0; i < 40 && std::abs((r.left + r.right) - (area.left + area.right)) > 1; ++i) {
            PumpMessagesFor(50);
            GetWindowRect(hwnd, &r);
        }
        EXPECT_NEAR(r.left + r.right, area.left + area.right, 1);
        EXPECT_NEAR(r.top + r.bottom, area.top + area.bottom, 1);
    }
    const auto tryResize = [&](SIZE to, SIZE expected) {
        if (!to.cx) return;
        SetWindowPos(hwnd, nullptr, 0, 0, to.cx, to.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.right - r.left, expected.cx) << "resized to " << to.cx << " x " << to.cy;
        EXPECT_EQ(r.bottom - r.top, expected.cy) << "resized to " << to.cx << " x " << to.cy;
    };
    tryResize(c.TryTooSmall, c.TooSmallGives);
    tryResize(c.TryTooLarge, c.TooLargeGives);
}

INSTANTIATE_TEST_SUITE_P(
    Win32, MainWindowSettings,
    ::testing::Values(
        // No window keys: 800 x 600, centred, sizeable, normal, not on top, no limits.
        TWindowCase{"defaults",
                    u"",
                    800,
                    600,
                    WS_OVERLAPPEDWINDOW,
                    WS_POPUP,
                    0,
                    WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                    Normal,
                    true,
                    {300, 200},
                    {300, 200},
                    {1000, 700},
                    {1000, 700}},
        TWindowCase{"border_none", u"WindowBorder=0", 800, 600, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0, 0, Normal,
                    true, None, None, None, None},
        TWindowCase{"border_single", u"WindowBorder=1\nWidth=640\nHeight=480", 640, 480, Caption | Boxes, WS_THICKFRAME,
                    0, WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, Normal, true, None, None, None, None},
        TWindowCase{"border_dialog", u"WindowBorder=3", 800, 600, Caption, WS_THICKFRAME | Boxes, WS_EX_DLGMODALFRAME,
                    WS_EX_TOOLWINDOW, Normal, true, None, None, None, None},
        TWindowCase{"border_tool", u"WindowBorder=4", 800, 600, Caption, WS_THICKFRAME | Boxes, WS_EX_TOOLWINDOW, 0,
                    Normal, true, None, None, None, None},
        TWindowCase{"border_sizeable_tool", u"WindowBorder=5", 800, 600, Caption | WS_THICKFRAME, Boxes,
                    WS_EX_TOOLWINDOW, 0, Normal, true, None, None, None, None},
        TWindowCase{"border_unknown_is_sizeable", u"WindowBorder=9", 800, 600, WS_OVERLAPPEDWINDOW, WS_POPUP, 0,
                    WS_EX_TOOLWINDOW, Normal, true, None, None, None, None},
        // Full screen ignores border and state.
        TWindowCase{"full_screen", u"WindowStyle=1\nWindowBorder=1\nWindowState=0", 0, 0, WS_POPUP,
                    WS_CAPTION | WS_THICKFRAME, 0, 0, FullScreen, false, None, None, None, None},
        TWindowCase{"maximised", u"WindowState=1", 0, 0, WS_OVERLAPPEDWINDOW, 0, 0, 0, Maximised, false, None, None,
                    None, None},
        TWindowCase{"state_2_is_normal", u"WindowState=2", 800, 600, WS_OVERLAPPEDWINDOW, 0, 0, 0, Normal, true, None,
                    None, None, None},
        TWindowCase{"stay_on_top", u"WindowOrder=1", 800, 600, 0, 0, WS_EX_TOPMOST, 0, Normal, true, None, None, None,
                    None},
        // Limits: the created size is kept within them, and so is any later size.
        TWindowCase{"limits",
                    u"MinWidth=500\nMinHeight=400\nMaxWidth=900\nMaxHeight=650",
                    800,
                    600,
                    0,
                    0,
                    0,
                    0,
                    Normal,
                    true,
                    {100, 100},
                    {500, 400},
                    {2000, 2000},
                    {900, 650}},
        TWindowCase{"limits_clamp_created_size", u"Width=300\nHeight=900\nMinWidth=400\nMaxHeight=500", 400, 500, 0, 0,
                    0, 0, Normal, true, None, None, None, None},
        // The minimum, set after the maximum, raises it: both limits end at 700.
        TWindowCase{"max_then_larger_min",
                    u"MaxWidth=500\nMinWidth=700",
                    700,
                    600,
                    0,
                    0,
                    0,
                    0,
                    Normal,
                    true,
                    {300, 600},
                    {700, 600},
                    {1200, 600},
                    {700, 600}},
        // Limits hold for a borderless window too, which the system itself would not limit.
        TWindowCase{"limits_without_border",
                    u"WindowBorder=0\nMaxWidth=600\nMinHeight=300",
                    600,
                    600,
                    WS_POPUP,
                    0,
                    0,
                    0,
                    Normal,
                    true,
                    {200, 100},
                    {200, 300},
                    {900, 900},
                    {600, 900}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MainWindowClosing, QueryRefusesThenApprovesAndTheLoopEnds) {
    const auto window = CreateWindowFromLayout(LayoutOf(u""));
    bool canClose = false;
    int queries = 0, closes = 0;
    window->OnCloseQuery = [&] {
        ++queries;
        return canClose;
    };
    // Closing the main window ends the loop: that is the main form's rule, given here.
    window->OnClose = [&] {
        ++closes;
        Platform::QuitMessageLoop();
    };
    window->Show();
    const auto hwnd = static_cast<HWND>(window->Handle());

    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); // the title bar's close button
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(queries, 1);

    canClose = true;
    window->Close(); // queued: served by the loop, which the close ends
    Platform::RunMessageLoop();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(closes, 1);
}

TEST(MainWindowClosing, DestroyingTheObjectIsNoCloseAndLeavesTheLoopAlone) {
    int closes = 0;
    {
        const auto window = CreateWindowFromLayout(LayoutOf(u""));
        window->OnClose = [&] { ++closes; };
        window->Show();
    }
    EXPECT_EQ(closes, 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(MainWindowResize, ReportsTheClientSize) {
    const auto window = CreateWindowFromLayout(LayoutOf(u"WindowBorder=0"));
    int width = 0, height = 0;
    window->OnResize = [&](int w, int h) {
        width = w;
        height = h;
    };
    window->Show();
    SetWindowPos(static_cast<HWND>(window->Handle()), nullptr, 0, 0, 640, 360, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(width, 640); // no frame: client and window agree
    EXPECT_EQ(height, 360);
}

// What the portable rules read back is the window's real state, also after a change the program
// did not make itself; a border changed on a shown window takes its styles.
TEST(MainWindowPrimitives, ReadBackTheWindowsRealValues) {
    using Platform::TWindowState;
    const auto window = Platform::CreateMainWindow(u"Primitives", {});
    const auto hwnd = static_cast<HWND>(window->Handle());
    window->SetState(TWindowState::Maximized); // before it is shown: the state it shows in
    EXPECT_EQ(window->State(), TWindowState::Maximized);
    window->Show();
    PumpMessagesFor(50);
    EXPECT_TRUE(IsZoomed(hwnd));

    window->SetState(TWindowState::Normal);
    EXPECT_EQ(window->State(), TWindowState::Normal);
    ShowWindow(hwnd, SW_MINIMIZE); // as the user's minimise button would
    EXPECT_EQ(window->State(), TWindowState::Minimized);
    window->BringToFront();
    EXPECT_EQ(window->State(), TWindowState::Normal);

    window->SetBorder(Platform::bsToolWindow);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const auto ex = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_POPUP), static_cast<DWORD>(WS_CAPTION)) << std::hex << style;
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    window->SetBorder(Platform::bsSizeable);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    window->SetStayOnTop(true);
    EXPECT_TRUE(window->StayOnTop());
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    window->SetStayOnTop(false);
    EXPECT_FALSE(window->StayOnTop());

    window->SetBounds({120, 90, 500, 400});
    const Platform::TWindowBounds bounds = window->Bounds();
    EXPECT_EQ(bounds.Left, 120);
    EXPECT_EQ(bounds.Top, 90);
    EXPECT_EQ(bounds.Width, 500);
    EXPECT_EQ(bounds.Height, 400);
    SetWindowPos(hwnd, nullptr, 10, 20, 640, 480, SWP_NOZORDER); // moved by the user
    EXPECT_EQ(window->Bounds().Width, 640);
    EXPECT_EQ(window->Bounds().Left, 10);

    window->SetCaption(u"Renamed \u00E9");
    EXPECT_EQ(window->Caption(), u"Renamed \u00E9");
}

// Work handed over from another thread runs on the loop's thread.
TEST(MessageLoop, PostedWorkRunsOnTheUiThread) {
    Platform::InitializeUi();
    const DWORD ui = GetCurrentThreadId();
    DWORD ranOn = 0;
    std::thread worker([&] {
        Platform::PostToUiThread([&] {
            ranOn = GetCurrentThreadId();
            Platform::QuitMessageLoop();
        });
    });
    Platform::RunMessageLoop();
    worker.join();
    EXPECT_EQ(ranOn, ui);
}

} // namespace
} // namespace Velmora::Runtime

// The installation window and its activity indicator as real windows under Wine, and the
// indicator's frames as computed.
#include "platform/StartupDialogs.h"

#include "WindowProbe.h"
#include "platform/win32/ActivityIndicator.h"
#include "platform/win32/UiMetrics.h"

#include <gtest/gtest.h>

#include <numeric>

namespace Velmora::Runtime {
namespace {

using namespace Velmora::Platform;

using namespace Velmora::Tests;
using Platform::Scaled;
using Platform::TActivityIndicatorType;

HWND IndicatorOf(HWND form) { return FindWindowExW(form, nullptr, L"Velmora.ActivityIndicator", nullptr); }

TEST(EdgeInstallerForm, PopupWithShadowRoundedRegionCursorAndIndicator) {
    const auto formOwner = Platform::CreateEdgeInstallerForm();
    Platform::TEdgeInstallerForm& form = *formOwner;
    form.Show();
    const auto hwnd = static_cast<HWND>(form.Handle());
    ASSERT_TRUE(hwnd);
    // Created as WS_POPUP alone; the system adds only visibility and its sibling clipping.
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(style & ~static_cast<DWORD>(WS_VISIBLE | WS_CLIPSIBLINGS), static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(GetClassLongPtrW(hwnd, GCL_STYLE) & CS_DROPSHADOW);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button while installing";

    RECT client, window;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &window);
    EXPECT_EQ(client.right, Scaled(80));
    EXPECT_EQ(client.bottom, Scaled(80));
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // Rounded: the corner pixel is cut off, the edges' middles are not.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 0, client.bottom / 2));
    EXPECT_TRUE(PtInRegion(region, client.right - 1, client.bottom / 2));
    DeleteObject(region);

    const HCURSOR appStarting = LoadCursorW(nullptr, IDC_APPSTARTING);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(hwnd, GCLP_HCURSOR)), appStarting);
    const HWND indicator = IndicatorOf(hwnd);
    ASSERT_TRUE(indicator);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(indicator, GCLP_HCURSOR)), appStarting);
    const TControl placed = ControlsOf(hwnd).front();
    EXPECT_EQ(placed.Bounds.left, Scaled(9));
    EXPECT_EQ(placed.Bounds.top, Scaled(8));
    EXPECT_EQ(placed.Bounds.right - placed.Bounds.left, Scaled(64));
    EXPECT_EQ(placed.Bounds.bottom - placed.Bounds.top, Scaled(64));
}

TEST(EdgeInstallerForm, RefusesToCloseUntilFreed) {
    HWND hwnd = nullptr;
    {
        const auto formOwner = Platform::CreateEdgeInstallerForm();
        Platform::TEdgeInstallerForm& form = *formOwner;
        form.Show();
        hwnd = static_cast<HWND>(form.Handle());
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); // Alt+F4, the system menu's Close
        PumpMessagesFor(50);
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

struct TColorCase {
    std::int32_t Setting;
    COLORREF Expected;
};

void PrintTo(const TColorCase& c, std::ostream* os) { *os << std::hex << "setting 0x" << c.Setting; }

class EdgeInstallerFormColor : public ::testing::TestWithParam<TColorCase> {};

TEST_P(EdgeInstallerFormColor, SystemIndexOrBgr) {
    const auto formOwner = Platform::CreateEdgeInstallerForm();
    Platform::TEdgeInstallerForm& form = *formOwner;
    form.SetColor(GetParam().Setting);
    form.Show();
    int w = 0, h = 0;
    const std::vector<COLORREF> pixels = PrintClient(static_cast<HWND>(form.Handle()), WM_PRINT, w, h);
    ASSERT_FALSE(pixels.empty());
    // Left of the indicator, halfway down.
    EXPECT_EQ(pixels[static_cast<size_t>(h / 2) * w + 3], GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Win32, EdgeInstallerFormColor,
                         ::testing::Values(TColorCase{static_cast<std::int32_t>(0xFF00001A),
                                                      GetSysColor(COLOR_HOTLIGHT)},
                                           TColorCase{static_cast<std::int32_t>(0xFF000005), GetSysColor(COLOR_WINDOW)},
                                           TColorCase{0x00336699, RGB(0x99, 0x66, 0x33)}, TColorCase{0, RGB(0, 0, 0)}));

// The indicator paints ink of its colour over the form's colour, for every kind, and moves.
struct TIndicatorCase {
    std::int32_t Color;
    std::int32_t Type;
};

void PrintTo(const TIndicatorCase& c, std::ostream* os) { *os << "colour " << c.Color << ", type " << c.Type; }

class ActivityIndicatorPaint : public ::testing::TestWithParam<TIndicatorCase> {};

TEST_P(ActivityIndicatorPaint, InkOfItsColourAndAnimation) {
    const TIndicatorCase& c = GetParam();
    const auto formOwner = Platform::CreateEdgeInstallerForm();
    Platform::TEdgeInstallerForm& form = *formOwner;
    form.SetColor(0x00808080); // mid grey: black and white ink both stand out
    form.SetIndicatorColor(c.Color);
    form.SetIndicatorType(c.Type);
    form.Show();
    const HWND indicator = IndicatorOf(static_cast<HWND>(form.Handle()));
    ASSERT_TRUE(indicator);
    int w = 0, h = 0;
    const std::vector<COLORREF> first = PrintClient(indicator, WM_PRINTCLIENT, w, h);
    const COLORREF ink = c.Color == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    const COLORREF other = c.Color == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    const auto count = [&](const std::vector<COLORREF>& pixels, COLORREF color) {
        return std::count_if(pixels.begin(), pixels.end(), [&](COLORREF p) { return ColorDistance(p, color) < 16; });
    };
    EXPECT_GT(count(first, ink), 20);
    EXPECT_EQ(count(first, other), 0);
    EXPECT_GT(count(first, RGB(0x80, 0x80, 0x80)), w * h / 3) << "background";
    PumpMessagesFor(400); // the timer moves it on
    EXPECT_NE(PrintClient(indicator, WM_PRINTCLIENT, w, h), first);
}

INSTANTIATE_TEST_SUITE_P(Win32, ActivityIndicatorPaint,
                         ::testing::Values(TIndicatorCase{0, 0}, TIndicatorCase{1, 0}, TIndicatorCase{0, 1},
                                           TIndicatorCase{1, 1}, TIndicatorCase{0, 2}, TIndicatorCase{1, 2},
                                           // out of range: white momentum dots, no failure
                                           TIndicatorCase{7, -3}));

// --- frames as computed ----------------------------------------------------------------------

long Sum(const std::vector<std::uint8_t>& coverage) { return std::accumulate(coverage.begin(), coverage.end(), 0L); }

struct TKindCase {
    TActivityIndicatorType Kind;
    bool CentreCovered; // only the sector is a filled disc
};

void PrintTo(const TKindCase& c, std::ostream* os) { *os << "kind " << static_cast<int>(c.Kind); }

class IndicatorFrames : public ::testing::TestWithParam<TKindCase> {};

TEST_P(IndicatorFrames, ShapeScalesAndMoves) {
    const TActivityIndicatorType kind = GetParam().Kind;
    const auto frame = Platform::RenderIndicatorCoverage(kind, 64, 0);
    ASSERT_EQ(frame.size(), 64u * 64u);
    EXPECT_EQ(frame[0], 0) << "corner";
    EXPECT_EQ(frame[32 * 64 + 32] > 0, GetParam().CentreCovered);
    EXPECT_NE(std::count(frame.begin(), frame.end(), 255), 0) << "fully covered pixels";
    // Anti-aliased edges.
    EXPECT_NE(std::count_if(frame.begin(), frame.end(), [](std::uint8_t v) { return v > 0 && v < 255; }), 0);
    EXPECT_NE(Platform::RenderIndicatorCoverage(kind, 64, 350), frame);
    // Twice the size: four times the ink, within the sampling error.
    const double ratio = static_cast<double>(Sum(Platform::RenderIndicatorCoverage(kind, 128, 0))) / Sum(frame);
    EXPECT_NEAR(ratio, 4.0, 0.2);
}

INSTANTIATE_TEST_SUITE_P(Win32, IndicatorFrames,
                         ::testing::Values(TKindCase{TActivityIndicatorType::aitMomentumDots, false},
                                           TKindCase{TActivityIndicatorType::aitRotatingSector, true},
                                           TKindCase{TActivityIndicatorType::aitSectorRing, false}));

} // namespace
} // namespace Velmora::Runtime

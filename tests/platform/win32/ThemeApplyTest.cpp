// Theme palettes on our real windows: the colours they paint and the repaint a change asks for.
#include "bridge/StylesUtils.h"

#include "WindowProbe.h"
#include "shared/ThemePalettes.h"
#include "platform/MainWindow.h"
#include "browser/WindowLayout.h"
#include "platform/win32/ThemeColors.h"
#include "platform/StartupDialogs.h"

#include <gtest/gtest.h>

namespace Velmora::Shared {
namespace {

using namespace Velmora::Tests;

const TThemePalette TestPalette{u"Test Dusk", "TESTDUSK", 0x202830, 0xE0E0E0, 0x303840, 0xF0F0F0,
                                0x2080C0,     0xFFFFFF,   0x101820, 0xC0C0C0, true};

COLORREF Bgr(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Every test leaves the platform's own look behind.
class ThemeApply : public ::testing::Test {
protected:
    void TearDown() override { TStylesUtils::ApplyPalette(nullptr); }
};

COLORREF ClientColor(HWND hwnd) {
    int w = 0, h = 0;
    const std::vector<COLORREF> pixels = PrintClient(hwnd, WM_PRINT, w, h);
    return pixels.empty() ? CLR_INVALID : pixels[static_cast<size_t>(h / 2) * w + 3];
}

TEST_F(ThemeApply, MainWindowBackgroundFollowsThePaletteAndBack) {
    Runtime::TWindowLayout layout;
    layout.Caption = u"Velmora theme test";
    const auto window = Runtime::CreateWindowFromLayout(layout);
    window->Show();
    const auto hwnd = static_cast<HWND>(window->Handle());
    EXPECT_EQ(ClientColor(hwnd), GetSysColor(COLOR_WINDOW));

    UpdateWindow(hwnd);
    TStylesUtils::ApplyPalette(&TestPalette);
    EXPECT_EQ(ActiveThemePalette(), &TestPalette);
    RECT invalid;
    EXPECT_TRUE(GetUpdateRect(hwnd, &invalid, FALSE)) << "our window was not asked to repaint";
    EXPECT_EQ(ClientColor(hwnd), Bgr(TestPalette.Window));

    TStylesUtils::ApplyPalette(nullptr);
    EXPECT_EQ(ActiveThemePalette(), nullptr);
    EXPECT_EQ(ClientColor(hwnd), GetSysColor(COLOR_WINDOW));
}

TEST_F(ThemeApply, SystemColourIndicesMapToRolesExplicitColoursStay) {
    TStylesUtils::ApplyPalette(&TestPalette);
    EXPECT_EQ(Platform::ThemedSysColor(COLOR_HOTLIGHT), Bgr(TestPalette.Accent));
    EXPECT_EQ(Platform::ThemedSysColor(COLOR_BTNFACE), Bgr(TestPalette.Window));
    EXPECT_EQ(Platform::ThemedSysColor(COLOR_WINDOW), Bgr(TestPalette.Control));
    EXPECT_EQ(Platform::ThemedSysColor(COLOR_SCROLLBAR), GetSysColor(COLOR_SCROLLBAR)); // no role

    // The installation window's default colour is the hot-light index: the theme's accent.
    const auto themedOwner = Platform::CreateEdgeInstallerForm();
    Platform::TEdgeInstallerForm& themed = *themedOwner;
    themed.Show();
    EXPECT_EQ(ClientColor(static_cast<HWND>(themed.Handle())), Bgr(TestPalette.Accent));
    const auto explicitColourOwner = Platform::CreateEdgeInstallerForm();
    Platform::TEdgeInstallerForm& explicitColour = *explicitColourOwner;
    explicitColour.SetColor(0x000000FF);
    explicitColour.Show();
    EXPECT_EQ(ClientColor(static_cast<HWND>(explicitColour.Handle())), RGB(255, 0, 0));
}

} // namespace
} // namespace Velmora::Shared

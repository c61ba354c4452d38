// The main window's layout from settings: defaults, limits that move each other, full screen.
#include "browser/WindowLayout.h"
#include "payload/ProjectSettings.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Runtime::TWindowLayout;

namespace {

TWindowLayout Layout(const char16_t* ini) {
    Shared::TProjectSettings settings;
    settings.Document().LoadFromText(ini);
    return Runtime::LayoutFromSettings(settings, u"Demo");
}

struct LayoutCase {
    const char* label;
    const char16_t* ini;
    std::int32_t width, height, minW, maxW, minH, maxH;
    bool centred, fullScreen, maximized, onTop;
    std::int32_t border;
};

class WindowLayoutCases : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WindowLayoutCases, FollowsSettings) {
    const auto& c = GetParam();
    const TWindowLayout l = Layout(c.ini);
    EXPECT_EQ(l.Caption, u"Demo");
    EXPECT_EQ(l.Width, c.width);
    EXPECT_EQ(l.Height, c.height);
    EXPECT_EQ(l.Constraints.MinWidth, c.minW);
    EXPECT_EQ(l.Constraints.MaxWidth, c.maxW);
    EXPECT_EQ(l.Constraints.MinHeight, c.minH);
    EXPECT_EQ(l.Constraints.MaxHeight, c.maxH);
    EXPECT_EQ(l.CenterOnDesktop, c.centred);
    EXPECT_EQ(l.FullScreen, c.fullScreen);
    EXPECT_EQ(l.Maximized, c.maximized);
    EXPECT_EQ(l.StayOnTop, c.onTop);
    if (!c.fullScreen) {
        EXPECT_EQ(l.Border, c.border);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WindowLayoutCases,
    ::testing::Values(
        LayoutCase{"defaults", u"[App]\nID=x\n", 800, 600, 0, 0, 0, 0, true, false, false, false, 2},
        // Limits are set maximum first, so a smaller maximum is raised by the larger minimum
        // whatever order the file has.
        LayoutCase{"min in the file before max", u"[App]\nMinWidth=700\nMaxWidth=500\n", 800, 600, 700, 700, 0, 0, true,
                   false, false, false, 2},
        LayoutCase{"min above max raises max", u"[App]\nMaxWidth=500\nMinWidth=700\n", 800, 600, 700, 700, 0, 0, true,
                   false, false, false, 2},
        LayoutCase{"heights follow the same rule", u"[App]\nMaxHeight=300\nMinHeight=400\n", 800, 600, 0, 0, 400, 400,
                   true, false, false, false, 2},
        LayoutCase{"zero max leaves min", u"[App]\nMaxWidth=0\nMinWidth=700\n", 800, 600, 700, 0, 0, 0, true, false,
                   false, false, 2},
        LayoutCase{"size, system placement, on top",
                   u"[App]\nWidth=$400\nHeight=0x300\nWindowPosition=3\nWindowOrder=1\n", 1024, 768, 0, 0, 0, 0, false,
                   false, false, true, 2},
        LayoutCase{"full screen ignores border and state", u"[App]\nWindowStyle=1\nWindowBorder=1\nWindowState=1\n",
                   800, 600, 0, 0, 0, 0, true, true, false, false, 0},
        LayoutCase{"maximised single border", u"[App]\nWindowBorder=1\nWindowState=1\n", 800, 600, 0, 0, 0, 0, true,
                   false, true, false, 1},
        LayoutCase{"state 2 stays normal", u"[App]\nWindowState=2\nWindowBorder=5\n", 800, 600, 0, 0, 0, 0, true, false,
                   false, false, 5},
        LayoutCase{"order 2 is normal", u"[App]\nWindowOrder=2\n", 800, 600, 0, 0, 0, 0, true, false, false, false, 2}),
    [](const auto& info) {
        std::string name = info.param.label;
        for (auto& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

} // namespace

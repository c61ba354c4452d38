// The application and window operations on recording fakes of the window and the browser: what
// each call asks of the window, in order, and what it answers; the full-screen machine with its
// flag; the words; zoom factors read and written; the command-line array.
#include "bridge/BrowserExternalModule.h"
#include "bridge/ops/AppWindowOperations.h"
#include "bridge/ops/WindowWords.h"
#include "bridge/ops/ZoomFactor.h"
#include "payload/PayloadReader.h"
#include "payload/ProjectSettings.h"
#include "platform/ExecutablePath.h"
#include "platform/NumberFormat.h"
#include "shared/StrUtils.h"

#include "unit/fakes/RecordingBrowser.h"
#include "unit/fakes/RecordingMainWindow.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;

struct TStep {
    int ID;
    const char* Data;   // the message's data
    const char* Result; // the reply's result; null: no reply
};

struct TOpsCase {
    const char* Name;
    const char16_t* Ini; // the settings; null: none
    bool StartFullscreen;
    std::vector<TStep> Steps;
    std::vector<std::string> WindowCalls;  // in order
    std::vector<std::string> BrowserCalls; // in order, replies left out
};

constexpr int InFullscreen = 50002, Enter = 50003, Exit = 50004;
constexpr int GetStyle = 60001, SetStyle = 60002, GetState = 60003, SetState = 60004, GetTitle = 60005,
              SetTitle = 60006, GetZoom = 60007, SetZoom = 60008, GetSize = 60009, SetSize = 60010, GetBorder = 60011,
              SetBorder = 60012;

const TOpsCase OpsCases[] = {
    {"flag from start up", nullptr, true, {{InFullscreen, "{}", "true"}}, {}, {}},
    {"flag off", nullptr, false, {{InFullscreen, "{}", "false"}}, {}, {}},
    {"enter twice changes the window once",
     nullptr,
     false,
     {{Enter, "{}", nullptr}, {Enter, "{}", nullptr}, {InFullscreen, "{}", "true"}},
     {"SetBorder 0", "SetState maximized"},
     {}},
    {"exit outside full screen changes nothing", nullptr, false, {{Exit, "{}", nullptr}}, {}, {}},
    {"exit gives the normal state then the settings' border",
     u"[App]\nWindowStyle=1\nWindowBorder=0\n",
     true,
     {{Exit, "{}", nullptr}, {InFullscreen, "{}", "false"}, {Exit, "{}", nullptr}},
     {"SetState normal", "SetBorder 0"},
     {}},
    {"exit without WindowBorder is sizeable",
     u"[App]\nWindowStyle=1\n",
     true,
     {{Exit, "{}", nullptr}},
     {"SetState normal", "SetBorder 2"},
     {}},
    {"exit without settings is sizeable",
     nullptr,
     true,
     {{Exit, "{}", nullptr}},
     {"SetState normal", "SetBorder 2"},
     {}},
    {"border and state in full screen keep the flag on",
     u"[App]\nWindowBorder=3\n",
     false,
     {{Enter, "{}", nullptr},
      {SetBorder, R"({"border":"single"})", "true"},
      {SetState, R"({"state":"normal"})", "true"},
      {InFullscreen, "{}", "true"},
      {Exit, "{}", nullptr},
      {InFullscreen, "{}", "false"}},
     {"SetBorder 0", "SetState maximized", "SetBorder 1", "SetState normal", "SetState normal", "SetBorder 3"},
     {}},
    {"style: ontop exactly, anything else normal",
     nullptr,
     false,
     {{SetStyle, R"({"style":"ontop"})", "true"},
      {GetStyle, "{}", R"("ontop")"},
      {SetStyle, R"({"style":"ONTOP"})", "true"},
      {GetStyle, "{}", R"("normal")"},
      {SetStyle, R"({"style":"ontop"})", "true"},
      {SetStyle, "{}", "true"},
      {SetStyle, R"({"style":""})", "true"}},
     {"SetStayOnTop true", "SetStayOnTop false", "SetStayOnTop true", "SetStayOnTop false", "SetStayOnTop false"},
     {}},
    {"state words exactly; absent is normal, empty is nothing",
     nullptr,
     false,
     {{SetState, R"({"state":"maximized"})", "true"},
      {GetState, "{}", R"("maximized")"},
      {SetState, R"({"state":"minimized"})", "true"},
      {GetState, "{}", R"("minimized")"},
      {SetState, R"({"state":"Maximized"})", "true"},
      {SetState, R"({"state":""})", "true"},
      {SetState, R"({"state":null})", "true"},
      {GetState, "{}", R"("normal")"}},
     {"SetState maximized", "SetState minimized", "SetState normal"},
     {}},
    {"title set, read back escaped, emptied",
     nullptr,
     false,
     {{SetTitle, R"({"title":"Gr\u00fc\u00dfe \"x\" \\ \u20ac"})", "true"},
      {GetTitle, "{}", R"("Grüße \"x\" \\ \u20AC")"},
      {SetTitle, "{}", "true"},
      {GetTitle, "{}", R"("")"},
      {SetTitle, R"({"title":7})", "true"},
      {GetTitle, "{}", R"("7")"}},
     {"SetCaption Grüße \"x\" \\ €", "SetCaption ", "SetCaption 7"},
     {}},
    {"zoom: a point number is taken, anything else resets to 1",
     nullptr,
     false,
     {{SetZoom, R"({"factor":1.5})", "true"},
      {GetZoom, "{}", R"("1{sep}5")"},
      {SetZoom, R"({"factor":"0.75"})", "true"},
      {SetZoom, R"({"factor":"1,5"})", "false"},
      {GetZoom, "{}", R"("1")"},
      {SetZoom, "{}", "false"},
      {SetZoom, R"({"factor":""})", "false"},
      {SetZoom, R"({"factor":"big"})", "false"},
      {SetZoom, R"({"factor":2e0})", "true"},
      {SetZoom, R"({"factor":0})", "true"}},
     {},
     {"SetZoomFactor 1.500000", "SetZoomFactor 0.750000", "SetZoomFactor 1.000000", "SetZoomFactor 1.000000",
      "SetZoomFactor 1.000000", "SetZoomFactor 1.000000", "SetZoomFactor 2.000000", "SetZoomFactor 0.000000"}},
    {"size: absent members keep the window's values",
     nullptr,
     false,
     {{GetSize, "{}", R"({"top": 50, "left": 50, "width": 800, "height": 600})"},
      {SetSize, R"({"width":700})", "true"},
      {GetSize, "{}", R"({"top": 50, "left": 50, "width": 700, "height": 600})"},
      {SetSize, R"({"top":"-10","left":20,"height":null})", "true"},
      {SetSize, "{}", "true"}},
     {"SetBounds 50 50 700 600", "SetBounds 20 -10 700 600", "SetBounds 20 -10 700 600"},
     {}},
    {"size: members that are no integer keep the window's values too",
     nullptr,
     false,
     {{SetSize, R"({"top":"x","left":"","width":640.5,"height":"480"})", "true"}},
     {"SetBounds 50 50 800 480"},
     {}},
    {"border words exactly; absent is sizeable, empty or unknown is nothing",
     nullptr,
     false,
     {{SetBorder, R"({"border":"toolwindow"})", "true"},
      {GetBorder, "{}", R"("toolwindow")"},
      {SetBorder, R"({"border":"Dialog"})", "true"},
      {SetBorder, R"({"border":""})", "true"},
      {SetBorder, R"({"border":"frame"})", "true"},
      {GetBorder, "{}", R"("toolwindow")"},
      {SetBorder, "{}", "true"},
      {GetBorder, "{}", R"("sizeable")"}},
     {"SetBorder 4", "SetBorder 2"},
     {}},
    {"an object argument ends the call without a reply",
     nullptr,
     false,
     {{SetTitle, R"({"title":{"a":1}})", nullptr}, {SetBorder, R"({"border":["none"]})", nullptr}},
     {},
     {}},
};

std::vector<std::string> WithoutReplies(const std::vector<std::string>& calls) {
    std::vector<std::string> kept;
    for (const std::string& call : calls)
        if (call.rfind("PostWebMessageAsJson", 0) != 0) kept.push_back(call);
    return kept;
}

class AppWindowOps : public ::testing::TestWithParam<TOpsCase> {};

TEST_P(AppWindowOps, AskTheWindowAndAnswer) {
    const TOpsCase& c = GetParam();
    TRecordingMainWindow window;
    window.Title = u"App";
    TRecordingBrowser browser;
    TPayloadReader reader;
    TProjectSettings settings;
    if (c.Ini) settings.Document().LoadFromText(c.Ini);
    TBrowserExternalModule module({window, browser, &reader, c.Ini ? &settings : nullptr, c.StartFullscreen});

    const std::string separator = ToUtf8(Platform::UserDecimalSeparator());
    for (const TStep& step : c.Steps) {
        SCOPED_TRACE(std::to_string(step.ID) + " " + step.Data);
        const std::size_t before = browser.Posted.size();
        const std::string message =
            "{\"id\":" + std::to_string(step.ID) + ",\"uuid\":\"u\",\"data\":" + step.Data + "}";
        module.EdgeBrowserWebMessageReceived(FromUtf8(message), browser.Document);
        if (step.Result == nullptr) {
            EXPECT_EQ(browser.Posted.size(), before);
            continue;
        }
        std::string result = step.Result;
        if (const auto at = result.find("{sep}"); at != std::string::npos) result.replace(at, 5, separator);
        ASSERT_EQ(browser.Posted.size(), before + 1);
        EXPECT_EQ(browser.Posted.back(), "{\"uuid\": \"u\", \"success\": true, \"result\": " + result + "}");
    }
    EXPECT_EQ(window.Calls, c.WindowCalls);
    EXPECT_EQ(WithoutReplies(browser.Calls), c.BrowserCalls);
}

INSTANTIATE_TEST_SUITE_P(Calls, AppWindowOps, ::testing::ValuesIn(OpsCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.Name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// What the page reads is the window's own value at the time, not what it was last told.
TEST(AppWindowOpsReadBack, AChangeTheUserMadeShows) {
    TRecordingMainWindow window;
    TRecordingBrowser browser;
    TPayloadReader reader;
    TBrowserExternalModule module({window, browser, &reader});
    window.WindowState = Platform::TWindowState::Maximized;
    window.WindowBounds = {3, 4, 1000, 700};
    window.WindowBorder = Platform::bsDialog;
    browser.Zoom = 0.1 + 0.2; // a zoom the user's keys left behind
    for (const int id : {GetState, GetSize, GetBorder, GetZoom})
        module.EdgeBrowserWebMessageReceived(FromUtf8("{\"id\":" + std::to_string(id) + ",\"uuid\":\"u\",\"data\":{}}"),
                                             browser.Document);
    const std::string sep = ToUtf8(Platform::UserDecimalSeparator());
    EXPECT_EQ(browser.Posted,
              (std::vector<std::string>{
                  R"({"uuid": "u", "success": true, "result": "maximized"})",
                  R"({"uuid": "u", "success": true, "result": {"top": 4, "left": 3, "width": 1000, "height": 700}})",
                  R"({"uuid": "u", "success": true, "result": "dialog"})",
                  "{\"uuid\": \"u\", \"success\": true, \"result\": \"0" + sep + "3\"}",
              }));
}

// Leaving full screen waits for the window manager twice (state, then border); a call the page
// made meanwhile is answered after it, with the window as full screen left it.
TEST(AppWindowOpsOrder, ACallArrivingDuringAnotherRunsAfterIt) {
    TRecordingMainWindow window;
    TRecordingBrowser browser;
    TPayloadReader reader;
    TBrowserExternalModule module({window, browser, &reader, nullptr, true});
    window.WindowBorder = Platform::bsNone;
    window.WindowState = Platform::TWindowState::Maximized;
    window.OnCall = [&](const std::string& call) {
        if (call != "SetState normal") return;
        module.EdgeBrowserWebMessageReceived(u"{\"id\":60011,\"uuid\":\"b\",\"data\":{}}", browser.Document);
        EXPECT_TRUE(browser.Posted.empty()) << "answered in the middle of app.exitFullscreen";
    };
    module.EdgeBrowserWebMessageReceived(u"{\"id\":50004,\"uuid\":\"x\",\"data\":{}}", browser.Document);
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"SetState normal", "SetBorder 2"}));
    EXPECT_EQ(browser.Posted, std::vector<std::string>{R"({"uuid": "b", "success": true, "result": "sizeable"})"});
}

TEST(AppWindowOpsArgs, ExecutablePathFirstThenTheArgumentsAsJsonStrings) {
    EXPECT_EQ(ToUtf8(ArgumentsJson({u"C:\\Apps\\My App.exe"})), R"(["C:\\Apps\\My App.exe"])");
    EXPECT_EQ(ToUtf8(ArgumentsJson({u"/opt/app", u"x y", u"\"q\"", u"", u"\u00e9\u20ac"})),
              R"(["\/opt\/app","x y","\"q\"","","é\u20AC"])");

    TRecordingMainWindow window;
    TRecordingBrowser browser;
    TPayloadReader reader;
    TBrowserExternalModule module({window, browser, &reader});
    module.EdgeBrowserWebMessageReceived(u"{\"id\":50005,\"uuid\":\"u\",\"data\":{}}", browser.Document);
    ASSERT_EQ(browser.Posted.size(), 1u);
    const std::string head = "{\"uuid\": \"u\", \"success\": true, \"result\": [" +
                             ToUtf8(TStrUtils::StringToJsonString(Platform::ExecutablePath()));
    EXPECT_EQ(browser.Posted[0].substr(0, head.size()), head);
    EXPECT_EQ(browser.Posted[0].substr(browser.Posted[0].size() - 2), "]}");
}

TEST(WindowWords, BordersAndStatesBothWays) {
    const char16_t* borders[] = {u"none", u"single", u"sizeable", u"dialog", u"toolwindow", u"sizetoolwindow"};
    for (std::int32_t code = 0; code < 6; ++code) {
        EXPECT_EQ(BorderFromWord(borders[code]), code);
        EXPECT_EQ(BorderWord(code), borders[code]);
    }
    for (const std::int32_t code : {-1, 6, 9}) EXPECT_EQ(BorderWord(code), u"sizeable") << code;
    for (const char16_t* word : {u"", u"None", u"sizable", u" none", u"tool window"})
        EXPECT_FALSE(BorderFromWord(word).has_value()) << ToUtf8(word);
    for (const auto state :
         {Platform::TWindowState::Normal, Platform::TWindowState::Minimized, Platform::TWindowState::Maximized})
        EXPECT_EQ(StateFromWord(StateWord(state)), state);
    for (const char16_t* word : {u"", u"Normal", u"minimised", u"maximized "})
        EXPECT_FALSE(StateFromWord(word).has_value()) << ToUtf8(word);
}

TEST(ZoomFactor, ParsedWithAPointOnly) {
    struct TCase {
        const char16_t* Text;
        std::optional<double> Value;
    };
    const TCase cases[] = {
        {u"1.5", 1.5},  {u"1", 1.0},      {u"+2", 2.0},      {u"-0.5", -0.5},   {u".5", 0.5},
        {u"5.", 5.0},   {u"1e3", 1000.0}, {u"2.5E-1", 0.25}, {u" 1.25 ", 1.25}, {u"0", 0.0},
        {u"1,5", {}},   {u"", {}},        {u" ", {}},        {u".", {}},        {u"abc", {}},
        {u"1.5x", {}},  {u"1e", {}},      {u"0x10", {}},     {u"inf", {}},      {u"nan", {}},
        {u"1e999", {}}, {u"1 000", {}},   {u"--1", {}},      {u"1.2.3", {}},    {u"\u0661", {}},
    };
    for (const TCase& c : cases) EXPECT_EQ(ParseZoomFactor(c.Text), c.Value) << ToUtf8(c.Text);
}

TEST(ZoomFactor, WrittenInTheGeneralFormatWithTheGivenSeparator) {
    struct TCase {
        double Value;
        const char16_t* Separator;
        const char16_t* Text;
    };
    const TCase cases[] = {
        {1.0, u".", u"1"},
        {1.5, u".", u"1.5"},
        {1.5, u",", u"1,5"},
        {0.25, u"\u066B", u"0\u066B25"},
        {1.0 / 3.0, u".", u"0.333333333333333"},
        {0.1 + 0.2, u".", u"0.3"},
        {123456.789, u",", u"123456,789"},
        {1e20, u".", u"1E20"},
        {1.5e-7, u",", u"1,5E-7"},
        {-2.0, u".", u"-2"},
    };
    for (const TCase& c : cases) EXPECT_EQ(ToUtf8(FormatZoomFactor(c.Value, c.Separator)), ToUtf8(c.Text)) << c.Value;
}

} // namespace
} // namespace Velmora::Tests

// The browser view's portable rules: the start-up script, what happens when the web view exists,
// and new-window requests.
#include "browser/BrowserForm.h"
#include "platform/AppScheme.h"
#include "shared/SysUtils.h"

#include "support/CommandLineSplit.h"
#include "unit/fakes/RecordingBrowser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;

const std::string DragOver = "window.addEventListener(\"dragover\", function(e){e.preventDefault();},false);";
const std::string Drop = "window.addEventListener(\"drop\", function(e){e.preventDefault();}, false);";
const std::string Click =
    "window.addEventListener(\"click\", function () {window.chrome.webview.postMessage(\"qmt-webbrowser-clicked\");});";

// The bridge script as it is on disk, without its byte-order mark.
std::string BridgeScriptFile() {
    std::ifstream in(VELMORA_SOURCE_DIR "/resources/qmt-external.js", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << "the resource is UTF-8 with a byte-order mark";
    return text.substr(3);
}

struct TScriptCase {
    const char* Name;
    bool WithExternal;
    bool IsRuntime;
    const char* WebviewJavascript;
    const char* Expected; // {Q}: the bridge script; {D}: the two drop blockers
};

const TScriptCase ScriptCases[] = {
    {"runtime, no app script", true, true, "", "\r{Q}{D}"},
    {"runtime, blank app script", true, true, " \t\r\n ", "\r{Q}{D}"},
    {"runtime, app script untrimmed", true, true, "  let a = 1;\n", "\r{Q}{D}\r  let a = 1;\n"},
    {"no bridge", false, true, "go();", "{D}\rgo();"},
    {"preview mode", true, false, "go();", "\r{Q}{D}\r{C}"},
};

TEST(StartupScript, BuiltPieceByPiece) {
    const std::string bridge = BridgeScriptFile();
    for (const TScriptCase& c : ScriptCases) {
        SCOPED_TRACE(c.Name);
        TBrowserForm form(nullptr);
        form.WithExternal = c.WithExternal;
        form.IsRuntime = c.IsRuntime;
        form.WebviewJavascript = FromUtf8(c.WebviewJavascript);
        std::string expected = c.Expected;
        for (const auto& [token, value] : {std::pair<std::string, std::string>{"{Q}", bridge},
                                           {"{D}", "\r" + DragOver + "\r" + Drop},
                                           {"{C}", Click}})
            if (const size_t at = expected.find(token); at != std::string::npos)
                expected.replace(at, token.size(), value);
        EXPECT_EQ(ToUtf8(form.StartupScript()), expected);
    }
}

TEST(WebViewCreated, RegistersScriptAppliesSettingsFiltersAndNavigates) {
    TRecordingBrowser browser;
    TBrowserForm form(nullptr);
    form.EdgeBrowser = &browser;
    form.IsRuntime = true;
    form.AllowZoom = true;
    form.AllowDebug = false;
    form.AllowContextMenu = true;
    form.StartPageURL = u"qmt:///index.html";
    form.EdgeBrowserCreateWebViewCompleted(true);

    const std::vector<std::string> expected = {
        "AddScriptToExecuteOnDocumentCreated " + ToUtf8(form.StartupScript()),
        "SetSetting 0 true",  // IsScriptEnabled
        "SetSetting 1 false", // IsStatusBarEnabled
        "SetSetting 2 true",  // IsWebMessageEnabled
        "SetSetting 3 true",  // IsBuiltInErrorPageEnabled
        "SetSetting 4 true",  // IsZoomControlEnabled = AllowZoom
        "SetSetting 5 false", // AreDevToolsEnabled = AllowDebug
        "SetSetting 6 true",  // AreDefaultContextMenusEnabled = AllowContextMenu
        "AddWebResourceRequestedFilter *",
        "Navigate qmt:///index.html",
    };
    EXPECT_EQ(browser.Calls, expected);
}

TEST(WebViewCreated, FailureDoesNothingAndEmptyStartPageStaysBlank) {
    TRecordingBrowser browser;
    TBrowserForm form(nullptr);
    form.EdgeBrowser = &browser;
    form.StartPageURL = u"qmt:///index.html";
    form.EdgeBrowserCreateWebViewCompleted(false);
    EXPECT_TRUE(browser.Calls.empty());

    form.StartPageURL.clear();
    form.EdgeBrowserCreateWebViewCompleted(true);
    ASSERT_FALSE(browser.Calls.empty());
    EXPECT_EQ(browser.Calls.back(), "AddWebResourceRequestedFilter *");
}

TEST(BrowserForm, AppDirPathIsTheExecutablesFolder) {
    TBrowserForm form(nullptr);
    const Text exe = TSysUtils::GetExeFilePath();
    ASSERT_FALSE(form.AppDirPath.empty());
    EXPECT_EQ(form.AppDirPath.back(), Platform::AppScheme().PathDelimiter);
    EXPECT_TRUE(TextView(exe).starts_with(form.AppDirPath));
    EXPECT_EQ(exe.find(Platform::AppScheme().PathDelimiter, form.AppDirPath.size()), Text::npos);
    // Requests are not answered until the owner turns them on.
    EXPECT_FALSE(form.EdgeBrowserWebResourceRequested(Platform::AppScheme().Prefix));
}

struct TStart {
    std::string FilePath;
    Text Parameters;
};

struct TNewWindowCase {
    const char* Uri; // {S}: the app scheme's name
    bool IsRuntime;
    bool Handled;
};

const TNewWindowCase NewWindowCases[] = {
    {"{S}:///page2.html", true, true},
    {"{s}:///page2.html", true, true},
    {"{S}:///a \"quoted\" \\path\\ 'x'\\\\.html?q=1#f", true, true},
    {"{S}:///a\\", true, true},
    {"https://example.com/", true, false},
    {"about:blank", true, false},
    {"{S}:///page2.html", false, false},
};

TEST(NewWindow, AppPagesOpenInANewInstance) {
    const TextView scheme = Platform::AppScheme().Name;
    Text upper(scheme);
    for (char16_t& c : upper) c = static_cast<char16_t>(c - u'a' + u'A');
    for (const TNewWindowCase& c : NewWindowCases) {
        Text uri = FromUtf8(c.Uri);
        if (const size_t at = uri.find(u"{S}"); at != Text::npos) uri.replace(at, 3, scheme);
        if (const size_t at = uri.find(u"{s}"); at != Text::npos) uri.replace(at, 3, upper);
        SCOPED_TRACE(ToUtf8(uri));

        std::vector<TStart> starts;
        TBrowserForm form([&starts](TextView file, TextView parameters) {
            starts.push_back({ToUtf8(file), Text(parameters)});
            return true;
        });
        form.IsRuntime = c.IsRuntime;
        form.RuntimeAppID = u"com.example.app";
        EXPECT_EQ(form.EdgeBrowserNewWindowRequested(uri), c.Handled);
        if (!c.Handled) {
            EXPECT_TRUE(starts.empty());
            continue;
        }
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].FilePath, ToUtf8(TSysUtils::GetExeFilePath()));
        // Parsed back by the platform's rules: exactly the identifier and the URI.
        const auto arguments = SplitCommandLine(starts[0].Parameters);
        ASSERT_TRUE(arguments.has_value()) << ToUtf8(starts[0].Parameters);
        EXPECT_EQ(*arguments, (std::vector<Text>{u"com.example.app", uri})) << ToUtf8(starts[0].Parameters);
    }
}

// Only a view in preview mode reacts to the click reporter's message, and only to that text.
TEST(PreviewClick, FocusesTheHostWindowOutsideTheRunningProgram) {
    const struct {
        bool IsRuntime;
        TextView Json;
        bool Focused;
    } cases[] = {
        {false, u"\"qmt-webbrowser-clicked\"", true},
        {true, u"\"qmt-webbrowser-clicked\"", false},
        {false, u"\"qmt-webbrowser-clicked \"", false},
        {false, u"{\"id\": 10001, \"uuid\": \"u\", \"data\": {}}", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.Json));
        TRecordingBrowser browser;
        TBrowserForm form(nullptr);
        form.EdgeBrowser = &browser;
        form.IsRuntime = c.IsRuntime;
        form.EdgeBrowserWebMessageReceived(c.Json);
        EXPECT_EQ(browser.Calls, c.Focused ? std::vector<std::string>{"Focus"} : std::vector<std::string>{});
    }
}

} // namespace
} // namespace Velmora::Tests

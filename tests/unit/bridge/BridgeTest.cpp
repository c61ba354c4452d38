// The bridge module: dispatching messages to operations, replies, the argument reader, bridge
// events, app.close and the function ID table.
#include "bridge/BridgeFunctions.h"
#include "bridge/BrowserExternalModule.h"
#include "payload/PayloadReader.h"

#include "unit/fakes/RecordingBrowser.h"
#include "unit/fakes/RecordingMainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;

// What every module here works on; the window is only ever read.
struct TBridgeParts {
    TRecordingMainWindow Window;
    TRecordingBrowser Browser;
    TPayloadReader Reader;

    TBridgeContext Context(bool withReader) { return {Window, Browser, withReader ? &Reader : nullptr}; }
};

struct TDispatchCase {
    const char* Name;
    const char* Message; // the JSON text the page posted
    bool WithReader;
    std::vector<std::string> Replies; // posted in this order
    bool Focused = false;
};

std::string HelloReply(const std::string& uuidLiteral) {
    return "{\"uuid\": " + uuidLiteral + ", \"success\": true, \"result\": \"2023.3\"}";
}

const TDispatchCase DispatchCases[] = {
    {"hello", R"({"id":10001,"uuid":"u1","data":{}})", true, {HelloReply("\"u1\"")}},
    {"hello without a reader", R"({"id":10001,"uuid":"u1","data":{}})", false, {HelloReply("\"u1\"")}},
    {"id as a string of digits", R"({"id":"10001","uuid":"u1","data":{}})", true, {HelloReply("\"u1\"")}},
    {"id as a word", R"({"id":"hello","uuid":"u1","data":{}})", true, {}},
    {"id as a fraction", R"({"id":10001.5,"uuid":"u1","data":{}})", true, {}},
    {"id written with a fraction part", R"({"id":10001.0,"uuid":"u1","data":{}})", true, {}},
    {"id in exponent form", R"({"id":1.0001e4,"uuid":"u1","data":{}})", true, {}},
    {"id beyond 32 bits does not wrap", R"({"id":4294977297,"uuid":"u1","data":{}})", true, {}},
    {"id as true", R"({"id":true,"uuid":"u1","data":{}})", true, {}},
    {"id null", R"({"id":null,"uuid":"u1","data":{}})", true, {}},
    {"id an object", R"({"id":{"n":10001},"uuid":"u1","data":{}})", true, {}},
    {"id absent", R"({"uuid":"u1","data":{}})", true, {}},
    {"id not in the table", R"({"id":99999,"uuid":"u1","data":{}})", true, {}},
    {"id in the table, operation not built", R"({"id":90001,"uuid":"u1","data":{}})", true, {}},
    {"uuid absent", R"({"id":10001,"data":{}})", true, {}},
    {"uuid a number", R"({"id":10001,"uuid":42,"data":{}})", true, {HelloReply("\"42\"")}},
    {"uuid an object", R"({"id":10001,"uuid":{},"data":{}})", true, {}},
    {"uuid with a quote and a backslash",
     R"({"id":10001,"uuid":"a\"b\\c","data":{}})",
     true,
     {HelloReply(R"("a\"b\\c")")}},
    {"data absent", R"({"id":10001,"uuid":"u1"})", true, {}},
    {"data null", R"({"id":10001,"uuid":"u1","data":null})", true, {HelloReply("\"u1\"")}},
    {"data a number", R"({"id":10001,"uuid":"u1","data":5})", true, {HelloReply("\"u1\"")}},
    {"data an array", R"({"id":10001,"uuid":"u1","data":[1,[2]]})", true, {HelloReply("\"u1\"")}},
    {"data a deep object", R"({"id":10001,"uuid":"u1","data":{"a":{"b":[{"c":1}]}}})", true, {HelloReply("\"u1\"")}},
    {"members in any order, blanks",
     " { \"data\" : {} , \"uuid\" : \"u1\" , \"id\" : 10001 } ",
     true,
     {HelloReply("\"u1\"")}},
    {"not JSON", R"({id:10001,uuid:"u1",data:{}})", true, {}},
    {"JSON followed by more text", R"({"id":10001,"uuid":"u1","data":{}} x)", true, {}},
    {"a JSON array", R"([10001,"u1",{}])", true, {}},
    {"the click string with a reader", R"("qmt-webbrowser-clicked")", true, {}},
    {"the click string without a reader", R"("qmt-webbrowser-clicked")", false, {}, true},
    {"another string without a reader", R"("qmt-webbrowser-clicked ")", false, {}},
    {"isRuntime with a reader",
     R"({"id":10002,"uuid":"u2","data":{}})",
     true,
     {R"({"uuid": "u2", "success": true, "result": true})"}},
    {"isRuntime without a reader",
     R"({"id":10002,"uuid":"u2","data":{}})",
     false,
     {R"({"uuid": "u2", "success": true, "result": false})"}},
    {"app.close gets no reply", R"({"id":50001,"uuid":"u3","data":{}})", true, {}},
};

class Dispatch : public ::testing::TestWithParam<TDispatchCase> {};

TEST_P(Dispatch, RepliesAsSpecified) {
    const TDispatchCase& c = GetParam();
    TBridgeParts parts;
    TRecordingBrowser& browser = parts.Browser;
    TBrowserExternalModule module(parts.Context(c.WithReader));

    module.EdgeBrowserWebMessageReceived(FromUtf8(c.Message), browser.Document);

    EXPECT_EQ(browser.Posted, c.Replies);
    EXPECT_EQ(std::count(browser.Calls.begin(), browser.Calls.end(), "Focus"), c.Focused ? 1 : 0);
    EXPECT_TRUE(browser.Scripts.empty());
    // Every reply is one valid JSON object that gives back the uuid as sent.
    for (const std::string& reply : browser.Posted) {
        const auto parsed = ParseBridgeJson(reply);
        ASSERT_TRUE(parsed.has_value()) << reply;
        ASSERT_NE(parsed->Member("uuid"), nullptr);
        const auto sent = ParseBridgeJson(c.Message);
        EXPECT_EQ(TBrowserExternalModule::ArgText(*parsed, u"uuid"), TBrowserExternalModule::ArgText(*sent, u"uuid"));
    }
}

INSTANTIATE_TEST_SUITE_P(Messages, Dispatch, ::testing::ValuesIn(DispatchCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.Name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

struct TArgCase {
    const char* Data;
    const char16_t* Key;
    const char16_t* Default;
    const char16_t* Expected; // null: the read fails
};

const TArgCase ArgCases[] = {
    {R"({"a":"x"})", u"a", u"d", u"x"},
    {R"({"a":""})", u"a", u"d", u""},
    {R"({"a":null})", u"a", u"d", u"d"},
    {R"({"b":"x"})", u"a", u"d", u"d"},
    {R"({"a":true,"b":false})", u"a", u"", u"true"},
    {R"({"a":true,"b":false})", u"b", u"", u"false"},
    {R"({"a":1.50})", u"a", u"", u"1.50"},
    {R"({"a":1e3})", u"a", u"", u"1e3"},
    {R"({"a":1E+3})", u"a", u"", u"1E+3"},
    {R"({"a":-0})", u"a", u"", u"-0"},
    {R"({"a":-0.0})", u"a", u"", u"-0.0"},
    {R"({"a":0})", u"a", u"", u"0"},
    {R"({"a":-12})", u"a", u"", u"-12"},
    {R"({"a":18446744073709551616})", u"a", u"", u"18446744073709551616"},
    {R"({"a":"\u00e9\u20ac\ud83d\ude00\n\"\\\/"})", u"a", u"", u"\u00e9\u20ac\U0001F600\n\"\\/"},
    {R"({"\u0061":"escaped key"})", u"a", u"", u"escaped key"},
    {R"({"a":"first","a":"second"})", u"a", u"", u"first"},
    {R"([{"a":"x"}])", u"a", u"d", u"d"},
    {R"("text")", u"a", u"d", u"d"},
    {R"(5)", u"a", u"d", u"d"},
    {R"(null)", u"a", u"d", u"d"},
    {R"({"a":{}})", u"a", u"d", nullptr},
    {R"({"a":[]})", u"a", u"d", nullptr},
    {R"({"a":[1,2],"b":"x"})", u"b", u"d", u"x"},
};

TEST(ArgText, ReadsEachKindOfMember) {
    for (const TArgCase& c : ArgCases) {
        SCOPED_TRACE(std::string(c.Data) + " / " + ToUtf8(c.Key));
        const auto data = ParseBridgeJson(c.Data);
        ASSERT_TRUE(data.has_value());
        if (c.Expected == nullptr) {
            EXPECT_THROW(TBrowserExternalModule::ArgText(*data, c.Key, c.Default), EBridgeArgumentError);
        } else {
            EXPECT_EQ(ToUtf8(TBrowserExternalModule::ArgText(*data, c.Key, c.Default)), ToUtf8(c.Expected));
        }
    }
}

TEST(Replies, FailureAndStructuredResults) {
    TBridgeParts parts;
    TRecordingBrowser& browser = parts.Browser;
    TBrowserExternalModule module(parts.Context(true));
    module.ReplyFailure(u"9b2f-4a", u"\"Missing menu items\"");
    module.ReplySuccess(u"", u"{\"top\": 1, \"left\": 2}");
    EXPECT_EQ(browser.Posted,
              (std::vector<std::string>{R"({"uuid": "9b2f-4a", "success": false, "result": "Missing menu items"})",
                                        R"({"uuid": "", "success": true, "result": {"top": 1, "left": 2}})"}));
}

TEST(BridgeEvents, ScriptTexts) {
    TBridgeParts parts;
    TRecordingBrowser& browser = parts.Browser;
    TBrowserExternalModule module(parts.Context(true));
    module.ExecuteBridgeEvent(u"onCloseQuery");
    module.ExecuteBridgeEvent(u"onTrayIconClick");
    module.ExecuteBridgeEvent(u"onMainMenuItemClick", u"7");
    module.ExecuteBridgeEvent(u"onTrayMenuItemClick", u"-12");
    module.ExecuteBridgeEvent(u"onNotificationClick", u"backup-done");
    // A name that would have ended the string literal or the line stays inside it.
    module.ExecuteBridgeEvent(u"onNotificationClick", u"a\");alert(1);(\"\\\n");
    EXPECT_EQ(browser.Scripts, (std::vector<std::string>{
                                   "qmt.events.onCloseQuery();",
                                   "qmt.events.onTrayIconClick();",
                                   "qmt.events.onMainMenuItemClick(\"7\");",
                                   "qmt.events.onTrayMenuItemClick(\"-12\");",
                                   "qmt.events.onNotificationClick(\"backup-done\");",
                                   R"(qmt.events.onNotificationClick("a\");alert(1);(\"\\\n");)",
                               }));
    EXPECT_TRUE(browser.Posted.empty());
}

TEST(AppClose, CallsTheApprovalWithTheModuleAndDoesNotReply) {
    TBridgeParts parts;
    TRecordingBrowser& browser = parts.Browser;
    TBrowserExternalModule module(parts.Context(true));
    std::vector<const TBrowserExternalModule*> senders;
    module.OnAppCloseRequest = [&senders](TBrowserExternalModule& sender) { senders.push_back(&sender); };

    module.EdgeBrowserWebMessageReceived(u"{\"id\":50001,\"uuid\":\"u\",\"data\":{}}", browser.Document);
    EXPECT_EQ(senders, std::vector<const TBrowserExternalModule*>{&module});
    EXPECT_TRUE(browser.Posted.empty());

    module.OnAppCloseRequest = nullptr; // no approval set: nothing happens, still no reply
    module.EdgeBrowserWebMessageReceived(u"{\"id\":50001,\"uuid\":\"u\",\"data\":{}}", browser.Document);
    EXPECT_TRUE(browser.Posted.empty());
}

// The approval closes the main window, which frees the module while its dispatcher is still on
// the stack; the sanitizer build reports any touch of the freed module or handler.
TEST(AppClose, ApprovalMayFreeTheModule) {
    TBridgeParts parts;
    TRecordingBrowser& browser = parts.Browser;
    auto module = std::make_unique<TBrowserExternalModule>(parts.Context(false));
    int closed = 0;
    const std::string captured(64, 'x'); // closure state large enough to live on the heap
    module->OnAppCloseRequest = [&module, &closed, captured](TBrowserExternalModule&) {
        module.reset();
        closed += captured.size() == 64 ? 1 : 100;
    };
    module->EdgeBrowserWebMessageReceived(u"{\"id\":50001,\"uuid\":\"u\",\"data\":{}}", browser.Document);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(browser.Posted.empty());
}

TEST(FunctionTable, EveryRowIsFoundByItsIdAndNothingElse) {
    for (const TBridgeFunction& row : BridgeFunctions()) EXPECT_EQ(FindBridgeFunction(row.ID), &row) << row.ID;
    for (const std::int32_t id : {0, -1, 10000, 10003, 59999, 90002, 99999, INT32_MIN, INT32_MAX})
        EXPECT_EQ(FindBridgeFunction(id), nullptr) << id;
}

TEST(FunctionTable, RuntimeOnlyMessages) {
    struct TCase {
        std::int32_t ID;
        const char* Expected;
    };
    const TCase cases[] = {
        {60012, "Calls to qmt.window.setBorder() works only at runtime."},
        {60006, "Calls to qmt.window.setTitle() works only at runtime."},
        {12001, "Calls to qmt.mainMenu.setItems() works only at runtime."},
        {30004, "Calls to qmt.app.extractFile() works only at runtime."},
    };
    for (const TCase& c : cases) {
        const TBridgeFunction* row = FindBridgeFunction(c.ID);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->Scope, TBridgeScope::RuntimeOnly);
        EXPECT_EQ(ToUtf8(RuntimeOnlyMessage(*row)), c.Expected);
    }
}

} // namespace
} // namespace Velmora::Tests

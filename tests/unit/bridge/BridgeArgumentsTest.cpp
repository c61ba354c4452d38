// Reading a call's arguments as booleans and integers, and required arguments answering their
// own failure.
#include "bridge/BridgeArguments.h"
#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"

#include "unit/fakes/RecordingBrowser.h"
#include "unit/fakes/RecordingMainWindow.h"

#include <gtest/gtest.h>

#include <optional>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;

TJsonValue Data(const char* json) {
    std::optional<TJsonValue> data = ParseBridgeJson(json);
    EXPECT_TRUE(data.has_value()) << json;
    return data.value_or(TJsonValue{});
}

TEST(BridgeArguments, Booleans) {
    const struct {
        const char* Json;
        std::optional<bool> Expected; // none: the read ends the operation
    } cases[] = {
        {R"({})", false},         // absent: the default
        {R"({"b":null})", false}, // null: the default
        {R"({"b":true})", true},
        {R"({"b":false})", false},
        {R"({"b":0})", false},
        {R"({"b":-0.0})", false},
        {R"({"b":2})", true},
        {R"({"b":0.5})", true},
        {R"({"b":"TRUE"})", true},
        {R"({"b":"False"})", false},
        {R"({"b":"1"})", true},
        {R"({"b":"0"})", false},
        {R"({"b":"1.5"})", true},
        {R"({"b":"yes"})", std::nullopt},
        {R"({"b":""})", std::nullopt},
        {R"({"b":" true"})", std::nullopt},
        {R"({"b":[true]})", std::nullopt},
        {R"({"b":{}})", std::nullopt},
    };
    for (const auto& c : cases) {
        const TJsonValue data = Data(c.Json);
        if (c.Expected) EXPECT_EQ(ArgBool(data, u"b", false), *c.Expected) << c.Json;
        else EXPECT_THROW(ArgBool(data, u"b", false), EBridgeArgumentError) << c.Json;
    }
    EXPECT_TRUE(ArgBool(Data(R"({})"), u"b", true));
}

TEST(BridgeArguments, Integers) {
    const struct {
        const char* Json;
        std::optional<std::int32_t> Expected;
    } cases[] = {
        {R"({})", 7},
        {R"({"n":null})", 7},
        {R"({"n":-120})", -120},
        {R"({"n":"640"})", 640},
        {R"({"n":"$FF"})", 255},
        {R"({"n":2147483647})", 2147483647},
        {R"({"n":2147483648})", std::nullopt},
        {R"({"n":1.5})", std::nullopt},
        {R"({"n":"12px"})", std::nullopt},
        {R"({"n":true})", std::nullopt},
        {R"({"n":[1]})", std::nullopt},
    };
    for (const auto& c : cases) {
        const TJsonValue data = Data(c.Json);
        if (c.Expected) EXPECT_EQ(ArgInteger(data, u"n", 7), *c.Expected) << c.Json;
        else EXPECT_THROW(ArgInteger(data, u"n", 7), EBridgeArgumentError) << c.Json;
    }
}

// Absent, null and empty text are all missing: the call answers the failure itself, once.
TEST(BridgeCall, RequiredArgumentsAnswerTheirFailure) {
    TRecordingMainWindow window;
    TRecordingBrowser browser;
    TBrowserExternalModule module({window, browser, nullptr});
    for (const char* json : {R"({})", R"({"filePath":null})", R"({"filePath":""})", R"(null)"}) {
        browser.Posted.clear();
        const TJsonValue data = Data(json);
        EXPECT_FALSE(TBridgeCall(module, u"u1", data).Required(u"filePath", u"Missing filePath")) << json;
        EXPECT_EQ(browser.Posted,
                  std::vector<std::string>{R"({"uuid": "u1", "success": false, "result": "Missing filePath"})"})
            << json;
    }
    browser.Posted.clear();
    const TJsonValue data = Data(R"({"filePath":"out/a.txt"})");
    EXPECT_EQ(TBridgeCall(module, u"u1", data).Required(u"filePath", u"Missing filePath"), Text(u"out/a.txt"));
    EXPECT_TRUE(browser.Posted.empty());
}

} // namespace
} // namespace Velmora::Tests

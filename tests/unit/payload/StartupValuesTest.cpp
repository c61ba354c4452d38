// The start-up values' rules: which IDs name a folder of their own, and which command lines are
// further windows.
#include "payload/StartupValues.h"

#include <gtest/gtest.h>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Runtime;
using Velmora::Shared::ToUtf8;

TEST(AppId, OnlyIdsThatNameOneFolderOfTheirOwn) {
    for (const char16_t* id : {u"com.example.app", u"My App", u"a..b", u".hidden", u"\u00e4pp-1_2"})
        EXPECT_TRUE(IsUsableAppId(id)) << ToUtf8(id);
    // The user data folder is deleted with all it holds: these would name another one.
    for (const char16_t* id : {u"", u" \t", u".", u"..", u" .. ", u"...", u"app.", u"app ", u"a/b", u"..\\..", u"a:b",
                               u"a*b", u"a?b", u"a\"b", u"a<b", u"a>b", u"a|b", u"a\nb"})
        EXPECT_FALSE(IsUsableAppId(id)) << ToUtf8(id);
}

TEST(AppId, FurtherWindowsNameTheIdExactly) {
    EXPECT_TRUE(IsFurtherWindowCommandLine({u"com.example.app", u"qmt:///a.html"}, u"com.example.app"));
    EXPECT_FALSE(IsFurtherWindowCommandLine({u"COM.example.app", u"qmt:///a.html"}, u"com.example.app"));
    EXPECT_FALSE(IsFurtherWindowCommandLine({u"com.example.app"}, u"com.example.app"));
    EXPECT_TRUE(StartsWithAppId({u"com.example.app"}, u"com.example.app"));
    EXPECT_FALSE(StartsWithAppId({}, u"com.example.app"));
}

} // namespace
} // namespace Velmora::Tests

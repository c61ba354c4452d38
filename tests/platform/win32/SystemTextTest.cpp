// Win32 under Wine: the system's text rules as start-up meets them: settings without a
// byte-order mark in the ANSI code page, and the user's language from the user locale.
#include "startup/LocalizedMessages.h"
#include "support/SettingsText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;
using namespace Velmora::Runtime;

// The system's ANSI code page (1252 under Wine for most locales) is a single-byte one: the two
// UTF-8 bytes of "é" do not come back as "é".
TEST(SettingsDecoding, UnmarkedTextUsesTheAnsiCodePage) {
    const Text name = LoadSettingsBytes(UnmarkedUtf8Settings).Name();
    EXPECT_NE(name, u"caf\u00E9");
    EXPECT_EQ(name.substr(0, 3), u"caf");
}

// Under Wine the user's locale is fixed when the process starts (Wine takes it from LC_ALL and
// the other locale variables). The ctests platform_text_wine_* start this test under a chosen
// locale and pass what it must give; a plain run has nothing to check the answer against.
TEST(UserLanguage, FollowsTheUserLocale) {
    const char* code = std::getenv("VELMORA_EXPECT_LANGUAGE");
    const char* accept = std::getenv("VELMORA_EXPECT_ACCEPT");
    if (!code || !accept) GTEST_SKIP() << "the process's locale is not known to the test";
    EXPECT_EQ(ToUtf8(GetUserLanguageCode()), code);
    EXPECT_EQ(ToUtf8(GetLocalizedMessage(MsgAccept)), accept);
}

} // namespace
} // namespace Velmora::Tests

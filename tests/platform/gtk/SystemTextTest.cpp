// Linux: the system's text rules as start-up meets them: settings without a byte-order mark in
// the locale's character set, and the user's language from the locale environment.
#include "startup/LocalizedMessages.h"
#include "support/SettingsText.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;
using namespace Velmora::Runtime;

// Linux reads unmarked text in the locale's character set. The C locale is read as
// ISO-8859-1 (Latin-1), so the UTF-8 bytes of "é" come out as "Ã©"; a UTF-8 locale keeps it.
TEST(SettingsDecoding, UnmarkedTextUsesTheLocaleCharset) {
    struct Case {
        const char* Locale;
        Text Expected;
    };
    for (const Case& c : std::vector<Case>{{"C", u"caf\u00C3\u00A9"}, {"C.UTF-8", u"caf\u00E9"}}) {
        SCOPED_TRACE(c.Locale);
        ScopedEnv all("LC_ALL", c.Locale);
        EXPECT_EQ(LoadSettingsBytes(UnmarkedUtf8Settings).Name(), c.Expected);
    }
}

// The message locale comes from LC_ALL, else LC_MESSAGES, else LANG; an empty variable counts
// as unset. C, POSIX and unknown languages get the English table.
TEST(UserLanguage, FollowsTheLocaleEnvironment) {
    struct Case {
        const char* LcAll;
        const char* LcMessages;
        const char* Lang;
        const char* Code;
        const char* Row;
        TextView Accept;
    };
    const std::vector<Case> cases = {
        {"de_DE.UTF-8", nullptr, nullptr, "de", "de", u"Akzeptieren"},
        {nullptr, nullptr, "de_DE.UTF-8", "de", "de", u"Akzeptieren"},
        {"de_DE.UTF-8", "fr_FR.UTF-8", "es_ES.UTF-8", "de", "de", u"Akzeptieren"},
        {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", "fr", "fr", u"J'accepte"},
        {"", "", "it_IT", "it", "it", u"Accettare"},
        {"zh_TW.UTF-8", nullptr, nullptr, "zh", "zh", u"\u63A5\u53D7"},
        {"pt_BR.UTF-8", nullptr, nullptr, "pt", "en", u"Accept"},
        {"en_US.UTF-8", nullptr, nullptr, "en", "en", u"Accept"},
        {"xx_YY.UTF-8", nullptr, nullptr, "xx", "en", u"Accept"},
        {"C.UTF-8", nullptr, nullptr, "", "en", u"Accept"},
        {"POSIX", nullptr, nullptr, "", "en", u"Accept"},
        {nullptr, nullptr, nullptr, "", "en", u"Accept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.LcAll ? c.LcAll : "-") + " / " + (c.LcMessages ? c.LcMessages : "-") + " / " +
                     (c.Lang ? c.Lang : "-"));
        ScopedEnv all("LC_ALL", c.LcAll), messages("LC_MESSAGES", c.LcMessages), lang("LANG", c.Lang);
        EXPECT_EQ(ToUtf8(GetUserLanguageCode()), c.Code);
        EXPECT_EQ(GetLocalizedMessage(MsgAccept), c.Accept);
        EXPECT_EQ(ToUtf8(GetLocalizedMessage(MsgLanguageCode)), c.Row);
    }
}

} // namespace
} // namespace Velmora::Tests

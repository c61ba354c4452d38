// The small text rules shared by every layer: trimming and blank tests, replacing and prefixes.
#include "shared/StringHelpers.h"

#include <gtest/gtest.h>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;

TEST(StringHelpers, BlanksAreEveryUnitUpToTheSpace) {
    EXPECT_TRUE(IsBlank(u""));
    EXPECT_TRUE(IsBlank(u" \t\r\n\x01\x1F "));
    EXPECT_FALSE(IsBlank(u"  x "));
    EXPECT_FALSE(IsBlank(u"\u00A0")); // no-break space is text, not a blank
    EXPECT_EQ(TrimBlanks(u"\t a b \r\n"), u"a b");
    EXPECT_EQ(TrimBlanksLeft(u"  a "), u"a ");
    EXPECT_EQ(TrimBlanksRight(u"  a "), u"  a");
    EXPECT_EQ(TrimBlanks(u" \x1F "), u"");
}

TEST(StringHelpers, ReplaceAllTakesOccurrencesOfTheOriginalLeftToRight) {
    const struct {
        const char16_t* Text;
        const char16_t* What;
        const char16_t* With;
        const char16_t* Expected;
    } cases[] = {
        {u"a%20b%20c", u"%20", u" ", u"a b c"},
        {u"aaa", u"aa", u"b", u"ba"},   // non-overlapping, from the left
        {u"abc", u"b", u"bb", u"abbc"}, // what is inserted is not searched again
        {u"abc", u"", u"x", u"abc"},    // nothing to find: unchanged, and no endless loop
        {u"", u"a", u"b", u""},
        {u"qmt:///qmt:///x", u"qmt:///", u"", u"x"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceAll(c.Text, c.What, c.With), c.Expected) << ToUtf8(c.Text);
}

TEST(StringHelpers, PrefixesIgnoreAsciiCaseOnly) {
    EXPECT_TRUE(StartsWithAscii(u"QMT:///index.html", u"qmt:///"));
    EXPECT_TRUE(StartsWithAscii(u"abc", u""));
    EXPECT_FALSE(StartsWithAscii(u"qm", u"qmt"));
    EXPECT_FALSE(StartsWithAscii(u"\u00C4bc", u"\u00E4bc")); // only A-Z fold
}

} // namespace
} // namespace Velmora::Tests

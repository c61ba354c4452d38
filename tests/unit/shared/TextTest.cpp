#include "shared/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace Velmora::Shared {
namespace {

struct Utf8Case {
    Text text;
    std::string utf8;
};

TEST(Text, ValidTextRoundTripsThroughUtf8) {
    const std::vector<Utf8Case> cases = {
        {u"", ""},
        {u"plain ASCII", "plain ASCII"},
        {Text(1, u'\0') + u"x", std::string(1, '\0') + "x"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
        {u"\u0416\u4E2D", "\xD0\x96\xE4\xB8\xAD"},
        {u"\uFFFF", "\xEF\xBF\xBF"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(c.text), c.utf8);
        EXPECT_EQ(FromUtf8(c.utf8), c.text);
    }
}

TEST(Text, EachInvalidUtf8ByteBecomesOneReplacement) {
    const std::vector<Utf8Case> cases = {
        {u"\uFFFD", "\x80"}, // lone continuation byte
        {u"a\uFFFD\uFFFDb", "a\xE2\x82"
                            "b"},                          // truncated sequence
        {u"\uFFFD\uFFFD", "\xE2\x82"},                     // truncated at the end
        {u"\uFFFD\uFFFD", "\xC0\xAF"},                     // overlong "/"
        {u"\uFFFD\uFFFD\uFFFD", "\xED\xA0\x80"},           // encoded surrogate
        {u"\uFFFD\uFFFD\uFFFD\uFFFD", "\xF4\x90\x80\x80"}, // above U+10FFFF
        {u"\uFFFDA", "\xFF"
                     "A"},
    };
    for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.text) << c.utf8.size() << " bytes";
}

TEST(Text, LoneSurrogatesBecomeReplacementInUtf8) {
    const std::vector<Utf8Case> cases = {
        {Text(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
        {Text(1, char16_t(0xDFFF)) + u"a", "\xEF\xBF\xBD"
                                           "a"},
        {Text{char16_t(0xDC00), char16_t(0xD800)}, "\xEF\xBF\xBD\xEF\xBF\xBD"}, // reversed pair
        {Text{u'a', char16_t(0xD83D)}, "a\xEF\xBF\xBD"},                        // high half at the end
    };
    for (const auto& c : cases) EXPECT_EQ(ToUtf8(c.text), c.utf8);
}

TEST(Text, AsciiCaseFoldingLeavesOtherLettersAlone) {
    EXPECT_EQ(AsciiLower(Text(u"ABC.Html \u00C9\u0416")), u"abc.html \u00C9\u0416");
    EXPECT_EQ(AsciiLower(std::string_view("MiXeD-09")), "mixed-09");
    EXPECT_TRUE(SameTextAscii(u"File:///A", u"file:///a"));
    EXPECT_FALSE(SameTextAscii(u"\u00C9", u"\u00E9"));
    EXPECT_FALSE(SameTextAscii(u"abc", u"abcd"));
}

class TextPath : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FDir = std::filesystem::temp_directory_path() / (std::string("velmora-text-") + info->name());
        std::filesystem::remove_all(FDir);
        std::filesystem::create_directories(FDir);
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }
    std::filesystem::path FDir;
};

TEST_F(TextPath, NonAsciiNamesReachTheFileSystemAndComeBack) {
    const Text name = u"\u00DCml\u00E4ut \u0416\u0436 \u4E2D\u6587 \U0001F600.txt";
    {
        std::ofstream file(FDir / ToPath(name), std::ios::binary);
        ASSERT_TRUE(file) << "could not create the file";
        file << "x";
    }
    std::vector<Text> listed;
    for (const auto& entry : std::filesystem::directory_iterator(FDir))
        listed.push_back(FromPath(entry.path().filename()));
    EXPECT_EQ(listed, std::vector<Text>{name});
    EXPECT_TRUE(std::filesystem::is_regular_file(ToPath(FromPath(FDir) + u"/" + name)));
}

TEST(Text, PathConversionKeepsWhatTheNativeNamesCanHold) {
    const Text lone{u'a', char16_t(0xD800), u'b'};
    if constexpr (sizeof(std::filesystem::path::value_type) == sizeof(char16_t))
        EXPECT_EQ(FromPath(ToPath(lone)), lone);         // wide names hold lone surrogates
    else EXPECT_EQ(FromPath(ToPath(lone)), u"a\uFFFDb"); // UTF-8 names cannot
}

} // namespace
} // namespace Velmora::Shared

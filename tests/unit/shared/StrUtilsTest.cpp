#include "shared/StrUtils.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <climits>
#include <filesystem>
#include <set>

namespace Velmora::Shared {
namespace {

bool IsValidUtf16(TextView text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        else if (c >= 0xD800 && c <= 0xDFFF) return false;
    }
    return true;
}

struct JsonCase {
    Text input;
    Text literal;
};

TEST(StringToJsonString, EscapesByTheTableAndStaysValidJson) {
    const Text nul(1, u'\0');
    const std::vector<JsonCase> cases = {
        {u"", u"\"\""},
        {u"plain text, no escapes", u"\"plain text, no escapes\""},
        {u"C:\\Temp/a.txt", u"\"C:\\\\Temp\\/a.txt\""},
        {u"\"quoted\"", u"\"\\\"quoted\\\"\""},
        {u"\r\n", u"\"\\r\\n\""},
        {u"\b\t\f", u"\"\\b\\t\\f\""},
        {nul, u"\"\\u0000\""},
        {u"\u000B\u001B\u001F", u"\"\\u000B\\u001B\\u001F\""},
        {u"\u007F \u00E9\u0416\u20AB", u"\"\u007F \u00E9\u0416\u20AB\""},
        {u"\u20AC", u"\"\\u20AC\""},
        {u"\u4E2D", u"\"\\u4E2D\""},
        {u"\uFFFF", u"\"\\uFFFF\""},
        {u"\U0001F600", u"\"\\uD83D\\uDE00\""},
        {Text(1, char16_t(0xD800)), u"\"\\uD800\""},
        {Text{u'x', char16_t(0xDFFF)}, u"\"x\\uDFFF\""},
        // clean stretches before, between and after escapes
        {u"h\u00E9llo \"w\u00F6rld\"\n\u20AC!", u"\"h\u00E9llo \\\"w\u00F6rld\\\"\\n\\u20AC!\""},
        {u"a/b\\c" + nul + u"d", u"\"a\\/b\\\\c\\u0000d\""},
    };
    for (const auto& c : cases) {
        const Text literal = TStrUtils::StringToJsonString(c.input);
        EXPECT_EQ(literal, c.literal);
        if (!IsValidUtf16(c.input)) continue; // a lone surrogate has no UTF-8 to compare with
        const auto parsed = nlohmann::json::parse(ToUtf8(literal));
        ASSERT_TRUE(parsed.is_string());
        EXPECT_EQ(parsed.get<std::string>(), ToUtf8(c.input));
    }
}

TEST(StringToJsonString, EveryUnitOfTheBmpParsesBackToItself) {
    Text all;
    for (char32_t c = 0; c <= 0xFFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF) all += static_cast<char16_t>(c);
    all += u"\U0001F600\U0010FFFF";
    const auto parsed = nlohmann::json::parse(ToUtf8(TStrUtils::StringToJsonString(all)));
    EXPECT_EQ(parsed.get<std::string>(), ToUtf8(all));
}

struct ExplodeCase {
    Text separator;
    Text value;
    TArrayStrings pieces;
};

TEST(ExplodeStrings, SplitsAtEveryOccurrenceAndImplodeJoinsBack) {
    const std::vector<ExplodeCase> cases = {
        {u";", u"a;;b;", {u"a", u"", u"b", u""}},
        {u";", u"", {u""}},
        {u";", u"abc", {u"abc"}},
        {u";", u";", {u"", u""}},
        {u"||", u"a||b|c", {u"a", u"b|c"}},
        {u"aa", u"aaa", {u"", u"a"}},
        {u"ab", u"ababab", {u"", u"", u"", u""}},
        {u"X", u"axbXc", {u"axb", u"c"}},
        {u"\r\n", u"l1\r\nl2\nl3", {u"l1", u"l2\nl3"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TStrUtils::ExplodeStrings(c.separator, c.value), c.pieces) << ToUtf8(c.value);
        EXPECT_EQ(TStrUtils::ImplodeStrings(c.separator, c.pieces), c.value);
    }
}

TEST(ExplodeStrings, EmptySeparatorGivesTheWholeValue) {
    EXPECT_EQ(TStrUtils::ExplodeStrings(u"", u"a;b"), TArrayStrings{u"a;b"});
    EXPECT_EQ(TStrUtils::ExplodeStrings(u"", u""), TArrayStrings{u""});
    EXPECT_EQ(TStrUtils::ImplodeStrings(u", ", {}), u"");
}

struct QuoteCase {
    Text raw;
    Text javascript;
    Text arguments;
};

TEST(QuoteJavascript, ReplacesQuotesAndArgumentSeparatorsOnly) {
    const std::vector<QuoteCase> cases = {
        {u"it's \"x\"", u"it\\x27s \\x22x\\x22", u"it\\x27s \\x22x\\x22"},
        {u"a\\b\n", u"a\\b\n", u"a\\b\n"},
        {u"k:v|w", u"k:v|w", u"k\\x3av\\x7cw"},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TStrUtils::QuoteJavascript(c.raw), c.javascript);
        EXPECT_EQ(TStrUtils::QuoteArguments(c.raw), c.arguments);
        EXPECT_EQ(TStrUtils::UnquoteJavascript(c.javascript), c.raw);
        EXPECT_EQ(TStrUtils::UnquoteArguments(c.arguments), c.raw);
    }
    // Matching is case-sensitive, and plain Unquote leaves the argument escapes alone.
    EXPECT_EQ(TStrUtils::UnquoteJavascript(u"\\X27\\x3a\\x27"), u"\\X27\\x3a'");
    EXPECT_EQ(TStrUtils::UnquoteArguments(u"\\X3A\\x3A\\x7c"), u"\\X3A\\x3A|");
}

TEST(GetJavascriptArrayFromMultilineString, QuotesTrimmedNonEmptyLines) {
    const std::vector<std::pair<Text, Text>> cases = {
        {u"a\n\nb", u"\"a\", \"b\""},
        {u"", u""},
        {u"\n\n", u""},
        {u"   \n", u"\"\""}, // blank before trimming, so kept
        {u" one \r\ntwo's\r\n", u"\"one\", \"two\\x27s\""},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(TStrUtils::GetJavascriptArrayFromMultilineString(value), expected) << ToUtf8(value);
}

TEST(SmallFormatting, LeadingZeroesRepeatAndCapitalize) {
    const std::vector<std::tuple<std::int32_t, std::int32_t, Text>> zeroes = {
        {5, 3, u"005"}, {1234, 2, u"1234"}, {-5, 3, u"-005"},
        {0, 0, u"0"},   {7, -1, u"7"},      {INT_MIN, 12, u"-002147483648"},
    };
    for (const auto& [number, length, expected] : zeroes)
        EXPECT_EQ(TStrUtils::AddLeadingZeroes(number, length), expected) << number << " " << length;

    EXPECT_EQ(TStrUtils::RepeatString(u"ab", 3), u"ababab");
    EXPECT_EQ(TStrUtils::RepeatString(u"ab", 0), u"");
    EXPECT_EQ(TStrUtils::RepeatString(u"", 5), u"");

    const std::vector<std::pair<Text, Text>> capitals = {{u"hello world", u"Hello world"},
                                                         {u"Abc", u"Abc"},
                                                         {u"\u00E9t\u00E9", u"\u00E9t\u00E9"},
                                                         {u"1a", u"1a"},
                                                         {u"", u""}};
    for (const auto& [value, expected] : capitals) EXPECT_EQ(TStrUtils::Capitalize(value), expected);
}

TEST(GetRandomString, DrawsOnlyFromTheSequenceAndCoversIt) {
    std::mt19937 generator(42);
    const Text drawn = TStrUtils::GetRandomString(400, u"ab\u00E9\u4E2D", generator);
    ASSERT_EQ(drawn.size(), 400u);
    EXPECT_EQ(std::set<char16_t>(drawn.begin(), drawn.end()), (std::set<char16_t>{u'a', u'b', u'\u00E9', u'\u4E2D'}));

    std::mt19937 again(42);
    EXPECT_EQ(TStrUtils::GetRandomString(400, u"ab\u00E9\u4E2D", again), drawn);
    EXPECT_EQ(TStrUtils::GetRandomString(5, u"", generator), u"");
    EXPECT_EQ(TStrUtils::GetRandomString(0, u"abc", generator), u"");
    EXPECT_EQ(TStrUtils::GetRandomString(-3, u"abc"), u"");

    const Text suffixed = TStrUtils::GetControlRandomSuffix(u"button");
    ASSERT_EQ(suffixed.size(), 17u);
    EXPECT_EQ(suffixed.substr(0, 7), u"button-");
    EXPECT_EQ(suffixed.find_first_not_of(u"abcdefghijklmnopqrstuvwxyz1234567890", 7), Text::npos);
    EXPECT_NE(TStrUtils::GetControlRandomSuffix(u"b"), TStrUtils::GetControlRandomSuffix(u"b"));
}

TEST(GetCompilerCacheDir, UsesTheAppFolderWhenItExistsElseTheDefault) {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / "velmora-cachedir";
    fs::remove_all(base);
    fs::create_directories(base / "app");
    const Text sep(1, static_cast<char16_t>(fs::path::preferred_separator));
    const Text app = FromPath(base / "app");
    const Text fallback = FromPath(base / "default");

    EXPECT_EQ(TStrUtils::GetCompilerCacheDir(FromPath(base / "app" / "tool.v2.exe"), u"_cache", u"tmp", fallback),
              app + sep + u"tool.v2_cache" + sep);
    EXPECT_EQ(TStrUtils::GetCompilerCacheDir(FromPath(base / "missing" / "tool.exe"), u"_cache", u"tmp", fallback),
              fallback + sep + u"tool_cache" + sep);
    EXPECT_EQ(TStrUtils::GetCompilerCacheDir(u"", u"_cache", u"tmp", fallback + sep), fallback + sep + u"tmp" + sep);
    EXPECT_EQ(TStrUtils::GetCompilerCacheDir(u"", u"_cache", u"tmp" + sep, fallback), fallback + sep + u"tmp" + sep);
    fs::remove_all(base);
}

TEST(GetUrlArguments, SplitsTheQueryAndDecodesEachItem) {
    const std::vector<std::pair<Text, TArrayStrings>> cases = {
        {u"http://x/p?a=1&b=hello+world&c=%C3%A9%20x", {u"a=1", u"b=hello world", u"c=\u00E9 x"}},
        {u"http://x/p", {}},
        {u"http://x/p?", {}},
        {u"?a=%2B+b", {u"a=+ b"}},            // "+" becomes a blank before decoding
        {u"?a&&b#frag&c", {u"a", u"", u"b"}}, // the fragment is not part of the query
        {u"?bad=%zz%4", {u"bad=%zz%4"}},      // broken escapes stay as written
        {u"?x=%FF&y=\u4E2D", {u"x=\uFFFD", u"y=\u4E2D"}},
    };
    for (const auto& [url, expected] : cases) EXPECT_EQ(TStrUtils::GetUrlArguments(url), expected) << ToUtf8(url);
}

TEST(StrToResolution, TakesTheFirstDigitsXDigits) {
    struct Case {
        Text value;
        bool found;
        std::int32_t width, height;
    };
    const std::vector<Case> cases = {
        {u"1920x1080", true, 1920, 1080},  {u"size 800x600 or 1024x768", true, 800, 600},
        {u"12ax3 4x5", true, 4, 5},        {u"0x0", true, 0, 0},
        {u"800X600", false, -1, -1},       {u"x600", false, -1, -1},
        {u"800x", false, -1, -1},          {u"", false, -1, -1},
        {u"99999999999x1", false, -1, -1}, // does not fit: left unset
    };
    for (const auto& c : cases) {
        std::int32_t width = 7, height = 7;
        EXPECT_EQ(TStrUtils::StrToResolution(c.value, width, height), c.found) << ToUtf8(c.value);
        EXPECT_EQ(width, c.width) << ToUtf8(c.value);
        EXPECT_EQ(height, c.height) << ToUtf8(c.value);
    }
}

TEST(SubStringExists, HonoursCaseWholeWordAndDirection) {
    struct Case {
        Text text, sub;
        TSearchOptions options;
        size_t position;
    };
    constexpr size_t none = Text::npos;
    const std::vector<Case> cases = {
        {u"Hello World", u"world", {true, false, false}, 6},
        {u"Hello World", u"world", {true, true, false}, none},
        {u"ab ab", u"ab", {true, false, false}, 0},
        {u"ab ab", u"ab", {false, false, false}, 3},
        {u"cart art", u"art", {true, false, true}, 5},
        {u"cart art", u"art", {false, false, true}, 5},
        {u"cart", u"art", {true, false, true}, none},
        {u"foo.bar", u"BAR", {true, false, true}, 4},
        {u"\u00C4rger", u"\u00E4rger", {true, false, false}, 0},
        {u"\u041F\u0420\u0418\u0412\u0415\u0422 \u043C\u0438\u0440",
         u"\u043F\u0440\u0438\u0432\u0435\u0442",
         {true, false, true},
         0},
        {u"abc", u"", {true, false, false}, none},
        {u"ab", u"abc", {true, false, false}, none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TStrUtils::FindSubString(c.text, c.sub, c.options), c.position)
            << ToUtf8(c.text) << " / " << ToUtf8(c.sub);
        EXPECT_EQ(TStrUtils::SubStringExists(c.text, c.sub, c.options), c.position != none);
    }
}

TEST(FilePathIs, PrefixesIgnoreAsciiCase) {
    struct Case {
        Text path;
        bool http, app, plugin;
    };
    const std::vector<Case> cases = {
        {u"HTTP://example.com", true, false, false}, {u"https://x", true, false, false},
        {u"httpx://x", false, false, false},         {u"ftp://x", false, false, false},
        {u"App/Files/a.txt", false, true, false},    {u"app/files", false, false, false},
        {u"APP/PLUGINS/x.dll", false, false, true},  {u"", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TStrUtils::FilePathIsHttpUrl(c.path), c.http) << ToUtf8(c.path);
        EXPECT_EQ(TStrUtils::FilePathIsAppRelative(c.path), c.app) << ToUtf8(c.path);
        EXPECT_EQ(TStrUtils::FilePathIsPluginRelative(c.path), c.plugin) << ToUtf8(c.path);
    }
}

} // namespace
} // namespace Velmora::Shared

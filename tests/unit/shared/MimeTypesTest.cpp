#include "shared/MimeTypes.h"
#include "shared/StrUtils.h"

#include <gtest/gtest.h>

#include <array>

namespace Velmora::Shared {
namespace {

TEST(MimeExtension, LastDotUnlessABackslashOrColonFollows) {
    const std::vector<std::pair<Text, Text>> extensions = {
        {u"a.txt", u".txt"},
        {u"a.b.TXT", u".TXT"},
        {u"lib.old/readme", u".old/readme"},
        {u"C:\\dir.x\\file", u""},
        {u"dir.x:stream", u""},
        {u"noext", u""},
        {u"a.", u"."},
        {u".htaccess", u".htaccess"},
    };
    for (const auto& [path, extension] : extensions) EXPECT_EQ(ExtractFileExt(path), extension) << ToUtf8(path);

    EXPECT_EQ(ExtractFileName(u"C:\\a\\b.txt"), u"b.txt");
    EXPECT_EQ(ExtractFileName(u"c:x.txt"), u"x.txt");
    EXPECT_EQ(ExtractFileName(u"js/main.js"), u"js/main.js");
}

TEST(MimeTable, BuiltInRowsForWebContent) {
    const TMimeTable table(BuiltInMimeRows(), {});
    const std::vector<std::pair<Text, Text>> rows = {
        {u".htm", u"text/html"},
        {u".html", u"text/html"},
        {u".css", u"text/css"},
        {u".js", u"text/javascript"},
        {u".png", u"image/x-png"},
        {u".jpg", u"image/jpeg"},
        {u".jpeg", u"image/jpeg"},
        {u".gif", u"image/gif"},
        {u".svg", u"image/svg+xml"},
        {u".ico", u"image/x-icon"},
        {u".webp", u"image/webp"},
        {u".bmp", u"image/bmp"},
        {u".txt", u"text/plain"},
        {u".xml", u"text/xml"},
        {u".pdf", u"application/pdf"},
        {u".zip", u"application/x-zip-compressed"},
        {u".wav", u"audio/x-wav"},
        {u".mp3", u"audio/x-mpg"},
        {u".mp4", u"video/mpeg"},
        {u".webm", u"video/webm"},
        {u".ogg", u"application/ogg"},
        // types that only the operating system may give
        {u".json", u"application/octet-stream"},
        {u".woff", u"application/octet-stream"},
        {u".woff2", u"application/octet-stream"},
        {u".ttf", u"application/octet-stream"},
        {u".wasm", u"application/octet-stream"},
        {u".mjs", u"application/octet-stream"},
        {u"", u"application/octet-stream"},
    };
    for (const auto& [extension, type] : rows) EXPECT_EQ(table.Lookup(extension), type) << ToUtf8(extension);
}

TEST(MimeTable, FirstBuiltInCountsAndEachOverlayEntryReplaces) {
    constexpr std::array builtIn = {TMimeRow{u".a", u"x/first"}, TMimeRow{u".a", u"x/second"}, TMimeRow{u".b", u"x/b"},
                                    TMimeRow{u".keep", u"x/keep"}};
    const std::vector<TMimeEntry> overlay = {
        {u".B", u"Text/B1"}, {u"b", u"text/b2"}, // later replaces; dot added, both lower-cased
        {u"c", u"text/c"},   {u"", u"x/no-extension"}, {u".keep", u""},
    };
    const TMimeTable table(builtIn, overlay);
    EXPECT_EQ(table.Lookup(u".a"), u"x/first");
    EXPECT_EQ(table.Lookup(u".b"), u"text/b2");
    EXPECT_EQ(table.Lookup(u".c"), u"text/c");
    EXPECT_EQ(table.Lookup(u".keep"), u"x/keep"); // an empty type registers nothing
    EXPECT_EQ(table.Lookup(u""), TMimeTable::DefaultType);
    EXPECT_EQ(table.Lookup(u"."), TMimeTable::DefaultType);
}

TEST(MimeTable, MimeTypesTextOverlaysInFileOrder) {
    const std::vector<TMimeEntry> entries = ParseMimeTypesText("# comment html\n"
                                                               "\n"
                                                               "text/html\t\thtml htm\n"
                                                               "application/x-nothing\r\n"
                                                               "image/png  png # png2\r\n"
                                                               "text/x-js js\n"
                                                               "text/javascript\tjs mjs");
    const std::vector<std::pair<Text, Text>> expected = {{u"html", u"text/html"},     {u"htm", u"text/html"},
                                                         {u"png", u"image/png"},      {u"js", u"text/x-js"},
                                                         {u"js", u"text/javascript"}, {u"mjs", u"text/javascript"}};
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Extension, expected[i].first);
        EXPECT_EQ(entries[i].Type, expected[i].second);
    }
    const TMimeTable table(BuiltInMimeRows(), entries);
    EXPECT_EQ(table.Lookup(u".js"), u"text/javascript");
    EXPECT_EQ(table.Lookup(u".mjs"), u"text/javascript");
    EXPECT_EQ(table.Lookup(u".png"), u"image/png");
    EXPECT_EQ(table.Lookup(u".gif"), u"image/gif");
}

// The process table: whatever the operating system registers, these hold.
TEST(GetFileMIMEType, AppliesTheExtensionRules) {
    EXPECT_EQ(TStrUtils::GetFileMIMEType(u"INDEX.HTML"), u"text/html");
    EXPECT_EQ(TStrUtils::GetFileMIMEType(u"Style.CSS"), TStrUtils::GetFileMIMEType(u"style.css"));
    EXPECT_EQ(TStrUtils::GetFileMIMEType(u"README"), u"application/octet-stream");
    EXPECT_EQ(TStrUtils::GetFileMIMEType(u"lib.old/readme"), u"application/octet-stream");
    EXPECT_EQ(TStrUtils::GetFileMIMEType(u"C:\\site.html\\page"), u"application/octet-stream");
}

} // namespace
} // namespace Velmora::Shared

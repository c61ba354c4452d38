// The settings document: decoding, parsing, typed reads and every key's default.
#include "payload/ProjectSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Velmora::Shared {
namespace {

std::string Show(const Text& value) { return ToUtf8(value); }
std::string Show(std::int32_t value) { return std::to_string(value); }
std::string Show(bool value) { return value ? "true" : "false"; }

struct KeyCase {
    std::string_view Key;
    std::string (*Read)(const TProjectSettings&);
    std::string Default;
    std::string_view Written; // a value whose read differs from the default
    std::string WrittenReads;
};

#define VELMORA_READ(accessor) [](const TProjectSettings& s) { return Show(s.accessor()); }

const std::vector<KeyCase>& Keys() {
    static const std::vector<KeyCase> keys = {
        {"ID", VELMORA_READ(ID), "", "com.example.app", "com.example.app"},
        {"Name", VELMORA_READ(Name), "", "My App", "My App"},
        {"DirName", VELMORA_READ(DirName), "", "app", "app"},
        {"IndexHtml", VELMORA_READ(IndexHtml), "index.html", "start.html", "start.html"},
        {"Theme", VELMORA_READ(Theme), "Windows", "Carbon", "Carbon"},
        {"WebviewArguments", VELMORA_READ(WebviewArguments), "", "--mute-audio", "--mute-audio"},
        {"AllowInstances", VELMORA_READ(AllowInstances), "false", "1", "true"},
        {"Password", VELMORA_READ(Password), "", "secret", "secret"},
        {"EdgeInstaller", VELMORA_READ(EdgeInstaller), "true", "0", "false"},
        {"InstallFormColor", VELMORA_READ(InstallFormColor), "-16777190", "$00FF0000", "16711680"},
        {"InstallIndicatorColor", VELMORA_READ(InstallIndicatorColor), "1", "0", "0"},
        {"InstallIndicatorType", VELMORA_READ(InstallIndicatorType), "0", "2", "2"},
        {"AllowDebug", VELMORA_READ(AllowDebug), "false", "1", "true"},
        {"AllowZoom", VELMORA_READ(AllowZoom), "false", "1", "true"},
        {"AllowContextMenu", VELMORA_READ(AllowContextMenu), "false", "1", "true"},
        {"Top", VELMORA_READ(Top), "50", "-10", "-10"},
        {"Left", VELMORA_READ(Left), "50", "20", "20"},
        {"Width", VELMORA_READ(Width), "800", "1024", "1024"},
        {"Height", VELMORA_READ(Height), "600", "768", "768"},
        {"MaxWidth", VELMORA_READ(MaxWidth), "0", "1920", "1920"},
        {"MaxHeight", VELMORA_READ(MaxHeight), "0", "1080", "1080"},
        {"MinWidth", VELMORA_READ(MinWidth), "0", "320", "320"},
        {"MinHeight", VELMORA_READ(MinHeight), "0", "240", "240"},
        {"WindowPosition", VELMORA_READ(WindowPosition), "0", "1", "1"},
        {"WindowStyle", VELMORA_READ(WindowStyle), "0", "1", "1"},
        {"WindowBorder", VELMORA_READ(WindowBorder), "2", "4", "4"},
        {"WindowState", VELMORA_READ(WindowState), "0", "1", "1"},
        {"WindowOrder", VELMORA_READ(WindowOrder), "0", "1", "1"},
        {"DynamicAppTitle", VELMORA_READ(DynamicAppTitle), "false", "1", "true"},
    };
    return keys;
}

#undef VELMORA_READ

Bytes ToBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Utf8WithMark(std::string_view s) { return ToBytes("\xEF\xBB\xBF" + std::string(s)); }

Bytes Utf16WithMark(TextView text, bool bigEndian) {
    Bytes b = bigEndian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
    for (char16_t u : text) {
        const auto hi = static_cast<std::uint8_t>(u >> 8), lo = static_cast<std::uint8_t>(u & 0xFF);
        b.push_back(bigEndian ? hi : lo);
        b.push_back(bigEndian ? lo : hi);
    }
    return b;
}

TProjectSettings Load(const Bytes& bytes) {
    TProjectSettings settings;
    settings.Document().LoadFromBytes(bytes);
    return settings;
}

std::string ReadKey(const TProjectSettings& settings, std::string_view key) {
    for (const auto& k : Keys())
        if (k.Key == key) return k.Read(settings);
    ADD_FAILURE() << "no accessor for " << key;
    return {};
}

// Each key alone in a file: its accessor reads it (so no accessor reads another key's name),
// and without it the accessor gives the key's own default.
TEST(ProjectSettings, EveryKeyReadsItsOwnNameAndDefault) {
    const TProjectSettings empty = Load({});
    for (const auto& k : Keys()) {
        SCOPED_TRACE(std::string(k.Key));
        EXPECT_EQ(k.Read(empty), k.Default);
        const std::string text = "[App]\n" + std::string(k.Key) + "=" + std::string(k.Written) + "\n";
        EXPECT_EQ(k.Read(Load(ToBytes(text))), k.WrittenReads);
        ASSERT_NE(k.WrittenReads, k.Default);
    }
}

struct FileCase {
    const char* What;
    std::string File;
    std::string_view Key;
    std::string Expected;
};

TEST(ProjectSettings, ParsingAndTypedReads) {
    const std::vector<FileCase> cases = {
        {"blanks around key, = and value", "  [App]  \n \t Name \t = \t My App \t \n", "Name", "My App"},
        {"control characters trimmed", std::string("[App]\nName=\x01") + "x\x1f\n", "Name", "x"},
        {"lower-case section and key", "[app]\nname=x\n", "Name", "x"},
        {"upper-case section and key", "[APP]\nNAME=x\n", "Name", "x"},
        {"section name trimmed inside brackets", "[ \tApp\t ]\nName=x\n", "Name", "x"},
        {"present but empty is empty", "[App]\nIndexHtml=\n", "IndexHtml", ""},
        {"absent gives the default", "[App]\nName=x\n", "IndexHtml", "index.html"},
        {"blank value reads as empty", "[App]\nWebviewArguments=   \n", "WebviewArguments", ""},
        {"key before the first section", "Name=x\n[App]\nID=a\n", "Name", ""},
        {"key in another section", "[Other]\nName=x\n", "Name", ""},
        {"section seen twice continues", "[App]\nID=a\n[Other]\nName=o\n[App]\nName=x\n", "Name", "x"},
        {"first occurrence wins", "[App]\nName=first\nName=second\n", "Name", "first"},
        {"first occurrence wins across sections", "[App]\nName=first\n[app]\nName=second\n", "Name", "first"},
        {"comment lines", "[App]\n;Name=x\n  ; Name=y\n", "Name", ""},
        {"semicolon inside a value is kept", "[App]\nName=a ; b\n", "Name", "a ; b"},
        {"quotes and backslashes kept", R"([App]
Name="C:\new\"
)",
         "Name", R"("C:\new\")"},
        {"value holds further =", "[App]\nName=a=b\n", "Name", "a=b"},
        {"line without = never matches", "[App]\nName\n", "Name", ""},
        {"line without = does not hide a later key", "[App]\nName\nName=x\n", "Name", "x"},
        {"unclosed header is a plain line", "[App]\n[Other\nName=x\n", "Name", "x"},
        {"CR LF line ends", "[App]\r\nName=x\r\nID=y\r\n", "Name", "x"},
        {"last line without line end", "[App]\nName=x", "Name", "x"},
        {"empty file", "", "ID", ""},
        {"letters give the default", "[App]\nWidth=abc\n", "Width", "800"},
        {"trailing junk gives the default", "[App]\nWidth=800px\n", "Width", "800"},
        {"empty integer gives the default", "[App]\nWidth=\n", "Width", "800"},
        {"$ hex", "[App]\nWidth=$400\n", "Width", "1024"},
        {"0x hex", "[App]\nWidth=0x400\n", "Width", "1024"},
        {"blue colour", "[App]\nInstallFormColor=$00FF0000\n", "InstallFormColor", "16711680"},
        {"boolean word true gives the default", "[App]\nAllowZoom=true\n", "AllowZoom", "false"},
        {"boolean word for a true default", "[App]\nEdgeInstaller=no\n", "EdgeInstaller", "true"},
        {"boolean 2 is true", "[App]\nAllowZoom=2\n", "AllowZoom", "true"},
        {"boolean -1 is true", "[App]\nAllowZoom=-1\n", "AllowZoom", "true"},
        {"boolean 0 is false", "[App]\nEdgeInstaller=0\n", "EdgeInstaller", "false"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ReadKey(Load(ToBytes(c.File)), c.Key), c.Expected);
    }
}

TEST(ProjectSettings, LoadingReplacesEarlierContent) {
    TIniDocument doc;
    doc.LoadFromText(u"[App]\nName=old\nID=kept?\n");
    doc.LoadFromText(u"[App]\nName=new\n");
    EXPECT_EQ(doc.ReadString(u"App", u"Name", u"-"), u"new");
    EXPECT_EQ(doc.ReadString(u"App", u"ID", u"-"), u"-");
}

TEST(ProjectSettings, TryStrToInt) {
    struct Case {
        std::u16string_view Value;
        std::optional<std::int32_t> Expected;
    };
    const std::vector<Case> cases = {
        {u"0", 0},
        {u"007", 7},
        {u"+7", 7},
        {u"-7", -7},
        {u"2147483647", 2147483647},
        {u"-2147483648", INT32_MIN},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"$400", 1024},
        {u"0x400", 1024},
        {u"0X400", 1024},
        {u"x1a", 26},
        {u"X1A", 26},
        {u"$00FF0000", 0x00FF0000},
        {u"0xFF00001A", static_cast<std::int32_t>(0xFF00001Au)},
        {u"$FFFFFFFF", -1},
        {u"$100000000", std::nullopt}, // a ninth hex digit
        {u"0x000000400", std::nullopt},
        {u"", std::nullopt},
        {u"+", std::nullopt},
        {u"-", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"abc", std::nullopt},
        {u"$G1", std::nullopt},
        {u"1e3", std::nullopt},
        {u"12 ", std::nullopt},
        {u" 12", std::nullopt},
        {u"--1", std::nullopt},
        {u"-$10", std::nullopt}, // a sign applies to decimal digits only
        {u"-0x10", std::nullopt},
        {u"$-1", std::nullopt},
        {u"\uFF11", std::nullopt}, // a full-width digit is not a digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.Value));
        EXPECT_EQ(TryStrToInt(c.Value), c.Expected);
    }
}

// Byte-order marks: the same document whichever encoding it was saved in.
TEST(SettingsDecoding, MarkedEncodingsReadTheSame) {
    const Text name = u"Gr\u00FC\u00DFe \u4E2D\u6587 \U0001F600";
    const Text file = u"[App]\r\nName=" + name + u"\r\nWidth=$400\r\n";
    const std::vector<std::pair<const char*, Bytes>> forms = {
        {"UTF-8", Utf8WithMark(ToUtf8(file))},
        {"UTF-16 LE", Utf16WithMark(file, false)},
        {"UTF-16 BE", Utf16WithMark(file, true)},
    };
    for (const auto& [what, bytes] : forms) {
        SCOPED_TRACE(what);
        const TProjectSettings settings = Load(bytes);
        EXPECT_EQ(settings.Name(), name);
        EXPECT_EQ(settings.Width(), 1024);
    }
}

TEST(SettingsDecoding, MarkIsDroppedAndShortInputIsSafe) {
    struct Case {
        const char* What;
        Bytes Input;
        Text Expected;
    };
    const std::vector<Case> cases = {
        {"UTF-8 mark only", {0xEF, 0xBB, 0xBF}, u""},
        {"UTF-16 LE mark only", {0xFF, 0xFE}, u""},
        {"UTF-16 BE mark only", {0xFE, 0xFF}, u""},
        {"UTF-16 LE odd trailing byte dropped", {0xFF, 0xFE, 0x41, 0x00, 0x42}, u"A"},
        {"UTF-16 BE odd trailing byte dropped", {0xFE, 0xFF, 0x00, 0x41, 0x00}, u"A"},
        {"UTF-16 LE mark and one byte", {0xFF, 0xFE, 0x41}, u""},
        {"only the first mark is dropped", {0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 0x41}, u"\uFEFFA"},
        {"broken UTF-8 after the mark", {0xEF, 0xBB, 0xBF, 0x41, 0xC3}, u"A\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(DecodeSettingsText(c.Input), c.Expected);
    }
    // A mark that reached the first line would stop "[App]" from opening the section.
    EXPECT_EQ(Load(Utf8WithMark("[App]\nName=x\n")).Name(), u"x");
}

} // namespace
} // namespace Velmora::Shared

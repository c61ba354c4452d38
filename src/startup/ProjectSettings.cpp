#include "startup/ProjectSettings.h"

#include "shared/SysUtils.h"
#include "startup/PayloadReader.h"

namespace Velmora::Shared {

namespace {

constexpr TextView AppSection = u"App";

// Blanks and control characters: every unit up to U+0020.
constexpr bool IsBlank(char16_t c) { return c <= u' '; }

TextView TrimLeft(TextView s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return s.substr(b);
}

TextView TrimRight(TextView s) {
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return s.substr(0, e);
}

TextView Trim(TextView s) { return TrimRight(TrimLeft(s)); }

// UTF-16 from bytes in the given order; an odd trailing byte has no partner and is dropped.
Text DecodeUtf16(const std::uint8_t* data, size_t size, bool bigEndian) {
    Text out;
    out.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const unsigned hi = bigEndian ? data[i] : data[i + 1];
        const unsigned lo = bigEndian ? data[i + 1] : data[i];
        out += static_cast<char16_t>((hi << 8) | lo);
    }
    return out;
}

constexpr int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// One to eight hex digits as a 32-bit pattern.
std::optional<std::int32_t> HexPattern(TextView digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char16_t c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

// Optional sign and decimal digits, within the signed 32-bit range.
std::optional<std::int32_t> Decimal(TextView text) {
    bool negative = false;
    if (!text.empty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated as a magnitude so that -2147483648 fits and nothing overflows.
    const std::uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    std::uint32_t magnitude = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        const std::uint32_t d = static_cast<std::uint32_t>(c - u'0');
        if (magnitude > (limit - d) / 10) return std::nullopt;
        magnitude = magnitude * 10 + d;
    }
    return negative ? static_cast<std::int32_t>(0u - magnitude)
                    : static_cast<std::int32_t>(magnitude);
}

} // namespace

Text DecodeSettingsText(const Bytes& bytes) {
    const std::uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
        return FromUtf8({reinterpret_cast<const char*>(data + 3), size - 3});
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16(data + 2, size - 2, false);
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return DecodeUtf16(data + 2, size - 2, true);
    return TSysUtils::DecodeAnsiText(bytes);
}

std::optional<std::int32_t> TryStrToInt(TextView value) {
    // A sign applies to decimal digits only: a hex value is a bit pattern, so "-$10" does not
    // convert rather than guessing whether the sign negates the pattern.
    if (value.empty()) return std::nullopt;
    if (value[0] == u'$' || value[0] == u'x' || value[0] == u'X') return HexPattern(value.substr(1));
    if (value.size() >= 2 && value[0] == u'0' && (value[1] == u'x' || value[1] == u'X'))
        return HexPattern(value.substr(2));
    return Decimal(value);
}

void TIniDocument::LoadFromBytes(const Bytes& bytes) { LoadFromText(DecodeSettingsText(bytes)); }

void TIniDocument::LoadFromText(TextView text) {
    FSections.clear();
    Section* current = nullptr;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == TextView::npos) end = text.size();
        // Trimming also removes the CR of a CR LF line end.
        const TextView line = Trim(text.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line[0] == u';') continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            const TextView name = Trim(line.substr(1, line.size() - 2));
            current = nullptr;
            for (auto& s : FSections)
                if (SameTextAscii(s.Name, name)) current = &s;
            if (!current) current = &FSections.emplace_back(Section{Text(name), {}});
            continue;
        }
        if (!current) continue; // before the first section header
        const size_t eq = line.find(u'=');
        if (eq == TextView::npos) {
            current->Lines.push_back(Line{Text(line), {}, false});
        } else {
            current->Lines.push_back(Line{Text(TrimRight(line.substr(0, eq))),
                                          Text(TrimLeft(line.substr(eq + 1))), true});
        }
    }
}

const Text* TIniDocument::FindValue(TextView SectionName, TextView Key) const {
    for (const auto& s : FSections) {
        if (!SameTextAscii(s.Name, SectionName)) continue;
        // The first occurrence of a key wins, also across a repeated section header.
        for (const auto& l : s.Lines)
            if (l.HasValue && SameTextAscii(l.Key, Key)) return &l.Value;
        return nullptr;
    }
    return nullptr;
}

Text TIniDocument::ReadString(TextView SectionName, TextView Key, TextView Default) const {
    const Text* value = FindValue(SectionName, Key);
    return value ? *value : Text(Default);
}

std::int32_t TIniDocument::ReadInteger(TextView SectionName, TextView Key,
                                       std::int32_t Default) const {
    const Text* value = FindValue(SectionName, Key);
    if (!value) return Default;
    return TryStrToInt(*value).value_or(Default);
}

bool TIniDocument::ReadBool(TextView SectionName, TextView Key, bool Default) const {
    return ReadInteger(SectionName, Key, Default ? 1 : 0) != 0;
}

void TProjectSettings::LoadFromPayload(const TPayloadReader& reader) {
    Bytes bytes;
    reader.ExtractToStream(SettingsEntryName, bytes);
    FDocument.LoadFromBytes(bytes);
}

// Every key of section App with its default.
Text TProjectSettings::ID() const { return FDocument.ReadString(AppSection, u"ID", u""); }
Text TProjectSettings::Name() const { return FDocument.ReadString(AppSection, u"Name", u""); }
Text TProjectSettings::DirName() const { return FDocument.ReadString(AppSection, u"DirName", u""); }
Text TProjectSettings::IndexHtml() const {
    return FDocument.ReadString(AppSection, u"IndexHtml", u"index.html");
}
Text TProjectSettings::Theme() const { return FDocument.ReadString(AppSection, u"Theme", u"Windows"); }
Text TProjectSettings::WebviewArguments() const {
    return FDocument.ReadString(AppSection, u"WebviewArguments", u"");
}
bool TProjectSettings::AllowInstances() const {
    return FDocument.ReadBool(AppSection, u"AllowInstances", false);
}
Text TProjectSettings::Password() const { return FDocument.ReadString(AppSection, u"Password", u""); }
bool TProjectSettings::EdgeInstaller() const {
    return FDocument.ReadBool(AppSection, u"EdgeInstaller", true);
}
std::int32_t TProjectSettings::InstallFormColor() const {
    // System colour 26 (hot light): 0xFF000000 plus the index, as a signed pattern.
    return FDocument.ReadInteger(AppSection, u"InstallFormColor",
                                 static_cast<std::int32_t>(0xFF00001Au));
}
std::int32_t TProjectSettings::InstallIndicatorColor() const {
    return FDocument.ReadInteger(AppSection, u"InstallIndicatorColor", 1);
}
std::int32_t TProjectSettings::InstallIndicatorType() const {
    return FDocument.ReadInteger(AppSection, u"InstallIndicatorType", 0);
}
bool TProjectSettings::AllowDebug() const { return FDocument.ReadBool(AppSection, u"AllowDebug", false); }
bool TProjectSettings::AllowZoom() const { return FDocument.ReadBool(AppSection, u"AllowZoom", false); }
bool TProjectSettings::AllowContextMenu() const {
    return FDocument.ReadBool(AppSection, u"AllowContextMenu", false);
}
std::int32_t TProjectSettings::Top() const { return FDocument.ReadInteger(AppSection, u"Top", 50); }
std::int32_t TProjectSettings::Left() const { return FDocument.ReadInteger(AppSection, u"Left", 50); }
std::int32_t TProjectSettings::Width() const { return FDocument.ReadInteger(AppSection, u"Width", 800); }
std::int32_t TProjectSettings::Height() const { return FDocument.ReadInteger(AppSection, u"Height", 600); }
std::int32_t TProjectSettings::MaxWidth() const { return FDocument.ReadInteger(AppSection, u"MaxWidth", 0); }
std::int32_t TProjectSettings::MaxHeight() const {
    return FDocument.ReadInteger(AppSection, u"MaxHeight", 0);
}
std::int32_t TProjectSettings::MinWidth() const { return FDocument.ReadInteger(AppSection, u"MinWidth", 0); }
std::int32_t TProjectSettings::MinHeight() const {
    return FDocument.ReadInteger(AppSection, u"MinHeight", 0);
}
std::int32_t TProjectSettings::WindowPosition() const {
    return FDocument.ReadInteger(AppSection, u"WindowPosition", 0);
}
std::int32_t TProjectSettings::WindowStyle() const {
    return FDocument.ReadInteger(AppSection, u"WindowStyle", 0);
}
std::int32_t TProjectSettings::WindowBorder() const {
    return FDocument.ReadInteger(AppSection, u"WindowBorder", 2);
}
std::int32_t TProjectSettings::WindowState() const {
    return FDocument.ReadInteger(AppSection, u"WindowState", 0);
}
std::int32_t TProjectSettings::WindowOrder() const {
    return FDocument.ReadInteger(AppSection, u"WindowOrder", 0);
}
bool TProjectSettings::DynamicAppTitle() const {
    return FDocument.ReadBool(AppSection, u"DynamicAppTitle", false);
}

} // namespace Velmora::Shared

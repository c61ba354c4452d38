#include "payload/ProjectSettings.h"

#include "payload/PayloadReader.h"
#include "platform/AnsiText.h"
#include "shared/StringHelpers.h"

namespace Velmora::Shared {

namespace {

constexpr TextView AppSection = u"App";

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

} // namespace

Text DecodeSettingsText(const Bytes& bytes) {
    const std::uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
        return FromUtf8({reinterpret_cast<const char*>(data + 3), size - 3});
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16(data + 2, size - 2, false);
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return DecodeUtf16(data + 2, size - 2, true);
    return Platform::DecodeAnsiText(bytes);
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
        const TextView line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line[0] == u';') continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            const TextView name = TrimBlanks(line.substr(1, line.size() - 2));
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
            current->Lines.push_back(
                Line{Text(TrimBlanksRight(line.substr(0, eq))), Text(TrimBlanksLeft(line.substr(eq + 1))), true});
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

std::int32_t TIniDocument::ReadInteger(TextView SectionName, TextView Key, std::int32_t Default) const {
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
Text TProjectSettings::IndexHtml() const { return FDocument.ReadString(AppSection, u"IndexHtml", u"index.html"); }
Text TProjectSettings::Theme() const { return FDocument.ReadString(AppSection, u"Theme", u"Windows"); }
Text TProjectSettings::WebviewArguments() const { return FDocument.ReadString(AppSection, u"WebviewArguments", u""); }
bool TProjectSettings::AllowInstances() const { return FDocument.ReadBool(AppSection, u"AllowInstances", false); }
Text TProjectSettings::Password() const { return FDocument.ReadString(AppSection, u"Password", u""); }
bool TProjectSettings::EdgeInstaller() const { return FDocument.ReadBool(AppSection, u"EdgeInstaller", true); }
std::int32_t TProjectSettings::InstallFormColor() const {
    // System colour 26 (hot light): 0xFF000000 plus the index, as a signed pattern.
    return FDocument.ReadInteger(AppSection, u"InstallFormColor", static_cast<std::int32_t>(0xFF00001Au));
}
std::int32_t TProjectSettings::InstallIndicatorColor() const {
    return FDocument.ReadInteger(AppSection, u"InstallIndicatorColor", 1);
}
std::int32_t TProjectSettings::InstallIndicatorType() const {
    return FDocument.ReadInteger(AppSection, u"InstallIndicatorType", 0);
}
bool TProjectSettings::AllowDebug() const { return FDocument.ReadBool(AppSection, u"AllowDebug", false); }
bool TProjectSettings::AllowZoom() const { return FDocument.ReadBool(AppSection, u"AllowZoom", false); }
bool TProjectSettings::AllowContextMenu() const { return FDocument.ReadBool(AppSection, u"AllowContextMenu", false); }
std::int32_t TProjectSettings::Top() const { return FDocument.ReadInteger(AppSection, u"Top", 50); }
std::int32_t TProjectSettings::Left() const { return FDocument.ReadInteger(AppSection, u"Left", 50); }
std::int32_t TProjectSettings::Width() const { return FDocument.ReadInteger(AppSection, u"Width", 800); }
std::int32_t TProjectSettings::Height() const { return FDocument.ReadInteger(AppSection, u"Height", 600); }
std::int32_t TProjectSettings::MaxWidth() const { return FDocument.ReadInteger(AppSection, u"MaxWidth", 0); }
std::int32_t TProjectSettings::MaxHeight() const { return FDocument.ReadInteger(AppSection, u"MaxHeight", 0); }
std::int32_t TProjectSettings::MinWidth() const { return FDocument.ReadInteger(AppSection, u"MinWidth", 0); }
std::int32_t TProjectSettings::MinHeight() const { return FDocument.ReadInteger(AppSection, u"MinHeight", 0); }
std::int32_t TProjectSettings::WindowPosition() const {
    return FDocument.ReadInteger(AppSection, u"WindowPosition", 0);
}
std::int32_t TProjectSettings::WindowStyle() const { return FDocument.ReadInteger(AppSection, u"WindowStyle", 0); }
std::int32_t TProjectSettings::WindowBorder() const { return FDocument.ReadInteger(AppSection, u"WindowBorder", 2); }
std::int32_t TProjectSettings::WindowState() const { return FDocument.ReadInteger(AppSection, u"WindowState", 0); }
std::int32_t TProjectSettings::WindowOrder() const { return FDocument.ReadInteger(AppSection, u"WindowOrder", 0); }
bool TProjectSettings::DynamicAppTitle() const { return FDocument.ReadBool(AppSection, u"DynamicAppTitle", false); }
Text TProjectSettings::BridgeOrigins() const { return FDocument.ReadString(AppSection, u"BridgeOrigins", u""); }

} // namespace Velmora::Shared

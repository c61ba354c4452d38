// The settings document ("qmt.ini" of the payload): decoded by byte-order mark (else the ANSI
// code page), parsed once, read-only afterwards. TProjectSettings gives one typed accessor per
// key with its default; every key lives in section App.
#pragma once

#include "shared/StringHelpers.h"
#include "shared/Text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Velmora::Shared {

class TPayloadReader;

// INI text held in memory: sections and keys matched with ASCII letter case folded, values as
// written; the first occurrence of a key in a section is the one read.
class TIniDocument {
public:
    // Decodes (UTF-8/UTF-16 LE/UTF-16 BE byte-order mark, else the ANSI code page) and parses,
    // replacing any earlier content.
    void LoadFromBytes(const Bytes& bytes);
    void LoadFromText(TextView text);

    Text ReadString(TextView Section, TextView Key, TextView Default) const;
    std::int32_t ReadInteger(TextView Section, TextView Key, std::int32_t Default) const;
    bool ReadBool(TextView Section, TextView Key, bool Default) const;

private:
    struct Line {
        Text Key; // with HasValue false: a line without "=", kept but never matched
        Text Value;
        bool HasValue = false;
    };
    struct Section {
        Text Name;
        std::vector<Line> Lines;
    };
    const Text* FindValue(TextView Section, TextView Key) const;
    std::vector<Section> FSections;
};

// Byte-order mark test and decoding, exposed for the tests.
Text DecodeSettingsText(const Bytes& bytes);

class TProjectSettings {
public:
    TProjectSettings() = default;
    // Loads "qmt.ini" through the payload reader; a missing entry leaves every key at its default.
    void LoadFromPayload(const TPayloadReader& reader);
    TIniDocument& Document() { return FDocument; }
    const TIniDocument& Document() const { return FDocument; }

    Text ID() const;
    Text Name() const;
    Text DirName() const;
    Text IndexHtml() const;
    Text Theme() const;
    Text WebviewArguments() const;
    bool AllowInstances() const;
    Text Password() const;
    bool EdgeInstaller() const;
    std::int32_t InstallFormColor() const;
    std::int32_t InstallIndicatorColor() const;
    std::int32_t InstallIndicatorType() const;
    bool AllowDebug() const;
    bool AllowZoom() const;
    bool AllowContextMenu() const;
    std::int32_t Top() const;
    std::int32_t Left() const;
    std::int32_t Width() const;
    std::int32_t Height() const;
    std::int32_t MaxWidth() const;
    std::int32_t MaxHeight() const;
    std::int32_t MinWidth() const;
    std::int32_t MinHeight() const;
    std::int32_t WindowPosition() const;
    std::int32_t WindowStyle() const;
    std::int32_t WindowBorder() const;
    std::int32_t WindowState() const;
    std::int32_t WindowOrder() const;
    bool DynamicAppTitle() const;
    // Web origins, blank-separated, whose pages the app shows on purpose and lets use the bridge.
    Text BridgeOrigins() const;

private:
    TIniDocument FDocument;
};

} // namespace Velmora::Shared

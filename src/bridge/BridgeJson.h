// The JSON values of bridge messages, read in one pass with nlohmann's SAX parser. Scalars keep
// their text as written (a number's literal, not a re-printed double), because the argument
// reader hands numbers to operations as the page wrote them. Only the levels the bridge reads
// are kept: the message object and the members of its data object; deeper containers keep
// their kind alone, so no input can build a deep tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Velmora::Shared {

enum class TJsonKind : std::uint8_t { Null, False, True, Number, String, Object, Array };

struct TJsonMember;

struct TJsonValue {
    TJsonKind Kind = TJsonKind::Null;
    // String: its value in UTF-8; Number: its literal as written; empty otherwise.
    std::string Scalar;
    // Object within the kept levels: its members in order of appearance.
    std::vector<TJsonMember> Members;

    // The first member named key; null when absent or when this is no kept object.
    const TJsonValue* Member(std::string_view key) const;
};

struct TJsonMember {
    std::string Key;
    TJsonValue Value;
};

// Objects nested deeper than this (the message is level 1, its data level 2) keep only their kind.
inline constexpr std::size_t KeptObjectLevels = 2;

// Parses one complete JSON text (UTF-8). Empty when it is not valid JSON.
std::optional<TJsonValue> ParseBridgeJson(std::string_view utf8);

} // namespace Velmora::Shared

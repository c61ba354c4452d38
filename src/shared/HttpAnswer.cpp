#include "shared/HttpAnswer.h"

#include "shared/Text.h"

#include <limits>
#include <optional>

namespace Velmora::Shared {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Decimal digits only, within 64 bits.
std::optional<std::uint64_t> ParseNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

} // namespace

bool IsTextMimeType(std::string_view mimeType) {
    const std::string type = AsciiLower(TrimSpaces(mimeType.substr(0, mimeType.find(';'))));
    const std::string_view t(type);
    if (t.starts_with("text/")) return true;
    for (const std::string_view exact : {"application/javascript", "application/x-javascript", "application/ecmascript",
                                         "application/json", "application/xml"})
        if (t == exact) return true;
    return t.ends_with("+json") || t.ends_with("+xml");
}

std::string ContentTypeValue(std::string_view mimeType) {
    std::string value(mimeType);
    if (IsTextMimeType(mimeType)) value += "; charset=utf-8";
    return value;
}

TByteRange ParseRangeHeader(std::string_view value, std::uint64_t size) {
    TByteRange range;
    value = TrimSpaces(value);
    const size_t equals = value.find('=');
    if (equals == std::string_view::npos || AsciiLower(TrimSpaces(value.substr(0, equals))) != "bytes") return range;
    const std::string_view spec = TrimSpaces(value.substr(equals + 1));
    const size_t dash = spec.find('-');
    if (dash == std::string_view::npos || spec.find(',') != std::string_view::npos) return range;
    const std::string_view firstText = TrimSpaces(spec.substr(0, dash)), lastText = TrimSpaces(spec.substr(dash + 1));
    if (firstText.empty()) {
        // The last n bytes; a body of nothing has none to give.
        const auto count = ParseNumber(lastText);
        if (!count) return range;
        if (*count == 0 || size == 0) return {TByteRange::TKind::Unsatisfiable, 0, 0};
        range.First = *count >= size ? 0 : size - *count;
        range.Last = size - 1;
        range.Kind = TByteRange::TKind::Part;
        return range;
    }
    const auto first = ParseNumber(firstText);
    const auto last = lastText.empty() ? std::optional<std::uint64_t>(std::numeric_limits<std::uint64_t>::max())
                                       : ParseNumber(lastText);
    if (!first || !last || *last < *first) return range;
    if (*first >= size) return {TByteRange::TKind::Unsatisfiable, 0, 0};
    return {TByteRange::TKind::Part, *first, *last >= size ? size - 1 : *last};
}

} // namespace Velmora::Shared

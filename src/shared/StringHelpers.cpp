#include "shared/StringHelpers.h"

namespace Velmora::Shared {

namespace {

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
    return negative ? static_cast<std::int32_t>(0u - magnitude) : static_cast<std::int32_t>(magnitude);
}

} // namespace

bool IsBlank(TextView text) {
    for (const char16_t c : text)
        if (!IsBlankUnit(c)) return false;
    return true;
}

TextView TrimBlanksLeft(TextView text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlankUnit(text[begin])) ++begin;
    return text.substr(begin);
}

TextView TrimBlanksRight(TextView text) {
    size_t end = text.size();
    while (end > 0 && IsBlankUnit(text[end - 1])) --end;
    return text.substr(0, end);
}

TextView TrimBlanks(TextView text) { return TrimBlanksRight(TrimBlanksLeft(text)); }

Text ReplaceAll(TextView text, TextView what, TextView with) {
    if (what.empty()) return Text(text);
    Text out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t at; (at = text.find(what, from)) != TextView::npos; from = at + what.size())
        out.append(text.substr(from, at - from)).append(with);
    out.append(text.substr(from));
    return out;
}

bool StartsWithAscii(TextView text, TextView prefix) {
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
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

} // namespace Velmora::Shared

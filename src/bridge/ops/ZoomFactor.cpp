#include "bridge/ops/ZoomFactor.h"

#include "shared/StringHelpers.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace Velmora::Shared {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The ASCII form of a number written by the rule above, without a leading plus; empty when the
// text is no such number.
std::string DecimalLiteral(TextView text) {
    std::string out;
    std::size_t i = 0;
    const auto digits = [&] {
        std::size_t n = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++n) out.push_back(static_cast<char>(text[i]));
        return n;
    };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') out.push_back('-');
        ++i;
    }
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == u'.') {
        out.push_back('.');
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return {};
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        out.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) out.push_back(static_cast<char>(text[i++]));
        if (digits() == 0) return {};
    }
    return i == text.size() ? out : std::string();
}

} // namespace

std::optional<double> ParseZoomFactor(TextView text) {
    const std::string literal = DecimalLiteral(TrimBlanks(text));
    if (literal.empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (error != std::errc() || end != literal.data() + literal.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

Text FormatZoomFactor(double value, TextView DecimalSeparator) {
    constexpr int Precision = 15;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, Precision);
    const std::string printed(buffer, result.ptr);

    Text text;
    std::size_t i = 0;
    for (; i < printed.size() && printed[i] != 'e'; ++i) {
        if (printed[i] == '.') text.append(DecimalSeparator);
        else text.push_back(static_cast<char16_t>(printed[i]));
    }
    if (i < printed.size()) {
        // "1e+20" is written "1E20", "1e-07" is written "1E-7".
        text.push_back(u'E');
        ++i;
        if (printed[i] == '-') text.push_back(u'-');
        if (printed[i] == '-' || printed[i] == '+') ++i;
        while (i + 1 < printed.size() && printed[i] == '0') ++i;
        for (; i < printed.size(); ++i) text.push_back(static_cast<char16_t>(printed[i]));
    }
    return text;
}

} // namespace Velmora::Shared

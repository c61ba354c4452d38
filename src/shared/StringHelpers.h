// Small text rules used across the code base: blank tests and trimming, replacing, ASCII prefix
// tests and the integer conversion of settings values and bridge message IDs.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <optional>

namespace Velmora::Shared {

// Blanks, as trimming counts them: every unit up to U+0020.
constexpr bool IsBlankUnit(char16_t c) { return c <= u' '; }

// Nothing but blanks (an empty text too).
bool IsBlank(TextView text);
// The text without blanks at the start, at the end, or at both ends.
TextView TrimBlanksLeft(TextView text);
TextView TrimBlanksRight(TextView text);
TextView TrimBlanks(TextView text);

// Every occurrence of what (non-overlapping, left to right, as found in the original text)
// replaced by with.
Text ReplaceAll(TextView text, TextView what, TextView with);

// Prefix test with ASCII letter case ignored.
bool StartsWithAscii(TextView text, TextView prefix);

// Integer conversion of a settings value: optional sign and decimal digits within the signed
// 32-bit range, or one to eight hex digits after "$", "x", "X", "0x", "0X" taken as a 32-bit
// pattern (0xFF00001A is negative). No sign before a hex prefix, no blanks, nothing after the
// digits. Empty when it does not convert.
std::optional<std::int32_t> TryStrToInt(TextView value);

} // namespace Velmora::Shared

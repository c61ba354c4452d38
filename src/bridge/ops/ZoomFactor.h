// The zoom factor as the page writes it (window.setZoom) and reads it (window.getZoom).
#pragma once

#include "shared/Text.h"

#include <optional>

namespace Velmora::Shared {

// A decimal number with "." as the decimal separator, whatever the user's locale: blanks
// around it, an optional sign, digits with an optional fraction, an optional exponent. None for
// anything else (empty text, a decimal comma, words, hex, "inf", a value out of range).
std::optional<double> ParseZoomFactor(TextView text);

// The general format: the shortest text that gives the value back within 15 significant
// digits, without exponent for ordinary values ("1", "1.5", "0.333333333333333"), an exponent
// as "1E20" or "1E-7" for the others; DecimalSeparator in place of the point.
Text FormatZoomFactor(double value, TextView DecimalSeparator);

} // namespace Velmora::Shared

// Numbers and amounts as text under the host's settings, and back. Every rounding is
// half away from zero on the decimal value (see decimal.h).
#pragma once

#include <string>
#include <string_view>

#include "base/conversionerror.h"
#include "ecf/settings.h"

namespace ecf {

// A format pattern of digit placeholders: "0" a digit always shown, "#" a digit shown
// when significant, one "." for the decimal separator, "," anywhere for thousands
// grouping. The module uses "0.00", "#0.00" and "#0.000". A zero result has no sign
// ("-0,00" never appears). An empty pattern writes the general text (floatToText).
// Any other character throws std::invalid_argument.
std::string formatPattern(std::string_view pattern, double value, const HostSettings& settings);

// Fixed notation with `decimals` decimals, at most `precision` significant digits
// (15 or 13), no grouping: 12.5 -> "12,50". A value with more integer digits than
// `precision` is written in scientific notation, as the host platform does.
std::string formatFixed(double value, int precision, int decimals, const HostSettings& settings);

// The amount with thousands grouping, `decimals` decimals and the currency symbol placed
// by settings.currencyFormat: 1234.5 -> "R$ 1.234,50"; a negative amount is preceded by
// "-": "-R$ 1.234,50".
std::string formatCurrency(double value, const HostSettings& settings, int decimals = 2);

// The shortest general text of up to 15 significant digits: 1234.5 -> "1234,5",
// 0.1 -> "0,1", 1e20 -> "1E20", 1.5e-7 -> "1,5E-7".
std::string floatToText(double value, const HostSettings& settings);

// Reads "[sign]digits[<decimal separator>digits][E[sign]digits]", blanks around it
// ignored, thousands separators refused. Throws ConversionError for anything else.
double textToFloat(std::string_view text, const HostSettings& settings);

}  // namespace ecf

// Rounding and cutting of amounts on their decimal value, never on binary artefacts:
// 2.675 rounds to 2.68 and 0.29 cuts to 0.29, as the amount was typed.
#pragma once

#include <string>

namespace ecf {

// A finite number as the decimal its shortest round-trip text denotes:
// value = (negative ? -1 : 1) * 0.d1d2d3... * 10^pointPosition.
struct DecimalNumber {
  bool negative = false;
  std::string digits;      // significant digits, no leading or trailing zeros; "" for zero
  int pointPosition = 0;   // how many of the digits stand before the decimal point

  bool isZero() const { return digits.empty(); }
};

// Requires a finite value.
DecimalNumber toDecimal(double value);
double toDouble(const DecimalNumber& number);

// Half away from zero at the given number of decimals (negative: tens, hundreds...).
DecimalNumber roundToDecimals(DecimalNumber number, int decimals);
// Half away from zero at the given number of significant digits (at least 1).
DecimalNumber roundToSignificant(DecimalNumber number, int significantDigits);
// Cut toward zero at the given number of decimals.
DecimalNumber truncateToDecimals(DecimalNumber number, int decimals);

// "[-]integer[.decimals]" with exactly `decimals` decimals and a point; "-" only when
// the shown value is not zero.
std::string plainFixedText(const DecimalNumber& number, int decimals);

// The host library's rounding helpers. NaN and infinities come back unchanged.
double roundDec(double value, int decimals);
double truncDec(double value, int decimals);
double trunc2(double value);
double trunc3(double value);

}  // namespace ecf

#include "base/decimal.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace ecf {
namespace {

// Drops leading and trailing zeros, moving the point so the value stays the same.
DecimalNumber normalized(DecimalNumber number) {
  const auto first = number.digits.find_first_not_of('0');
  if (first == std::string::npos) return DecimalNumber{};
  number.digits.erase(0, first);
  number.pointPosition -= static_cast<int>(first);
  number.digits.erase(number.digits.find_last_not_of('0') + 1);
  return number;
}

// Keeps the first `keep` digits; rounds the kept part up (away from zero) when asked
// and the first dropped digit is 5 or more.
DecimalNumber keepDigits(DecimalNumber number, long long keep, bool roundHalfUp) {
  const auto size = static_cast<long long>(number.digits.size());
  if (keep >= size) return number;
  if (keep < 0) return DecimalNumber{};
  const bool roundUp = roundHalfUp && number.digits[static_cast<std::size_t>(keep)] >= '5';
  number.digits.resize(static_cast<std::size_t>(keep));
  if (roundUp) {
    auto i = number.digits.size();
    while (i > 0 && number.digits[i - 1] == '9') {
      number.digits[--i] = '0';
    }
    if (i == 0) {
      number.digits.insert(number.digits.begin(), '1');
      ++number.pointPosition;
    } else {
      ++number.digits[i - 1];
    }
  }
  return normalized(std::move(number));
}

}  // namespace

DecimalNumber toDecimal(double value) {
  if (!std::isfinite(value)) throw std::invalid_argument("not a finite number");
  // The shortest text that reads back as the same double is the decimal the value stands for.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  DecimalNumber number;
  std::size_t pos = 0;
  if (text[pos] == '-') {
    number.negative = true;
    ++pos;
  }
  const std::size_t exponentAt = text.find('e');
  for (; pos < exponentAt; ++pos) {
    if (text[pos] != '.') number.digits += text[pos];
  }
  int exponent = 0;
  std::string_view exponentText = text.substr(exponentAt + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  // d.ddd x 10^e is 0.dddd x 10^(e+1).
  number.pointPosition = exponent + 1;
  const bool negative = number.negative;
  number = normalized(std::move(number));
  number.negative = negative && !number.isZero();
  return number;
}

double toDouble(const DecimalNumber& number) {
  if (number.isZero()) return 0.0;
  const std::string text = (number.negative ? "-" : "") + number.digits + "e" +
                           std::to_string(number.pointPosition -
                                          static_cast<int>(number.digits.size()));
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return number.negative ? -std::numeric_limits<double>::infinity()
                           : std::numeric_limits<double>::infinity();
  }
  return value;
}

DecimalNumber roundToDecimals(DecimalNumber number, int decimals) {
  const long long keep = static_cast<long long>(number.pointPosition) + decimals;
  return keepDigits(std::move(number), keep, true);
}

DecimalNumber roundToSignificant(DecimalNumber number, int significantDigits) {
  return keepDigits(std::move(number), significantDigits < 1 ? 1 : significantDigits, true);
}

DecimalNumber truncateToDecimals(DecimalNumber number, int decimals) {
  const long long keep = static_cast<long long>(number.pointPosition) + decimals;
  return keepDigits(std::move(number), keep, false);
}

std::string plainFixedText(const DecimalNumber& number, int decimals) {
  if (decimals < 0) decimals = 0;
  const DecimalNumber shown = roundToDecimals(number, decimals);
  const int point = shown.pointPosition;
  const auto digitAt = [&](int index) {  // index 0 is the first significant digit
    return index >= 0 && index < static_cast<int>(shown.digits.size())
               ? shown.digits[static_cast<std::size_t>(index)]
               : '0';
  };
  std::string text = shown.negative && !shown.isZero() ? "-" : "";
  if (point <= 0) {
    text += '0';
  } else {
    for (int i = 0; i < point; ++i) text += digitAt(i);
  }
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i) text += digitAt(point + i);
  }
  return text;
}

double roundDec(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  return toDouble(roundToDecimals(toDecimal(value), decimals));
}

double truncDec(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  return toDouble(truncateToDecimals(toDecimal(value), decimals));
}

double trunc2(double value) { return truncDec(value, 2); }
double trunc3(double value) { return truncDec(value, 3); }

}  // namespace ecf

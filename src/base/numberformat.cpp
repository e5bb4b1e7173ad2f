#include "base/numberformat.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <system_error>

#include "base/decimal.h"

namespace ecf {
namespace {

constexpr int kGeneralPrecision = 15;

// The host platform's texts for values that are not numbers.
std::string nonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// Lays out plain "[-]integer[.decimals]" text under the settings.
std::string localized(const std::string& plain, char decimalSeparator, char thousandSeparator,
                      std::size_t minIntegerDigits) {
  const bool negative = !plain.empty() && plain.front() == '-';
  const std::size_t start = negative ? 1 : 0;
  const std::size_t point = plain.find('.');
  std::string integerPart = plain.substr(start, point == std::string::npos ? point : point - start);
  const std::string decimalPart = point == std::string::npos ? "" : plain.substr(point + 1);

  if (integerPart == "0" && minIntegerDigits == 0) integerPart.clear();
  if (integerPart.size() < minIntegerDigits) {
    integerPart.insert(0, minIntegerDigits - integerPart.size(), '0');
  }
  if (thousandSeparator != '\0') {
    for (std::size_t i = integerPart.size(); i > 3; i -= 3) {
      integerPart.insert(i - 3, 1, thousandSeparator);
    }
  }
  std::string text = negative ? "-" : "";
  text += integerPart;
  if (!decimalPart.empty()) {
    text += decimalSeparator;
    text += decimalPart;
  }
  return text;
}

// Rounds to `decimals` decimals but to no more than `precision` significant digits.
DecimalNumber roundForDisplay(double value, int precision, int decimals) {
  DecimalNumber number = toDecimal(value);
  const int limit = std::min(decimals, precision - number.pointPosition);
  return roundToDecimals(std::move(number), limit);
}

// Scientific notation: "d[.ddd]E[-]x", trailing zeros dropped.
std::string scientificText(const DecimalNumber& number, char decimalSeparator) {
  std::string text = number.negative ? "-" : "";
  text += number.digits.front();
  if (number.digits.size() > 1) {
    text += decimalSeparator;
    text += number.digits.substr(1);
  }
  text += 'E';
  text += std::to_string(number.pointPosition - 1);
  return text;
}

struct Pattern {
  std::size_t minIntegerDigits = 0;
  int minDecimals = 0;
  int maxDecimals = 0;
  bool grouping = false;
};

Pattern parsePattern(std::string_view text) {
  Pattern pattern;
  bool afterPoint = false;
  for (const char ch : text) {
    if (ch == '0') {
      if (afterPoint) {
        pattern.minDecimals = ++pattern.maxDecimals;
      } else {
        ++pattern.minIntegerDigits;
      }
    } else if (ch == '#') {
      if (afterPoint) ++pattern.maxDecimals;
    } else if (ch == '.' && !afterPoint) {
      afterPoint = true;
    } else if (ch == ',') {
      pattern.grouping = true;
    } else {
      throw std::invalid_argument("unsupported number format pattern: \"" + std::string(text) +
                                  "\"");
    }
  }
  return pattern;
}

}  // namespace

std::string formatPattern(std::string_view patternText, double value,
                          const HostSettings& settings) {
  if (patternText.empty()) return floatToText(value, settings);
  const Pattern pattern = parsePattern(patternText);
  if (!std::isfinite(value)) return nonFiniteText(value);
  std::string plain = plainFixedText(toDecimal(value), pattern.maxDecimals);
  // Optional decimals ("#" after the point) are dropped while they are trailing zeros.
  for (int shown = pattern.maxDecimals; shown > pattern.minDecimals && plain.back() == '0';
       --shown) {
    plain.pop_back();
  }
  if (plain.back() == '.') plain.pop_back();
  return localized(plain, settings.decimalSeparator,
                   pattern.grouping ? settings.thousandSeparator : '\0', pattern.minIntegerDigits);
}

std::string formatFixed(double value, int precision, int decimals, const HostSettings& settings) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  precision = std::clamp(precision, 1, 18);
  decimals = std::clamp(decimals, 0, 18);
  const DecimalNumber number = toDecimal(value);
  if (number.pointPosition > precision) {
    return scientificText(roundToSignificant(number, precision), settings.decimalSeparator);
  }
  return localized(plainFixedText(roundForDisplay(value, precision, decimals), decimals),
                   settings.decimalSeparator, '\0', 1);
}

std::string formatCurrency(double value, const HostSettings& settings, int decimals) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  decimals = std::clamp(decimals, 0, 18);
  std::string amount = localized(
      plainFixedText(roundForDisplay(value, kGeneralPrecision, decimals), decimals),
      settings.decimalSeparator, settings.thousandSeparator, 1);
  const bool negative = amount.front() == '-';
  if (negative) amount.erase(0, 1);
  const std::string& symbol = settings.currencyString;
  std::string text;
  switch (settings.currencyFormat) {
    case 0: text = symbol + amount; break;
    case 1: text = amount + symbol; break;
    case 3: text = amount + " " + symbol; break;
    default: text = symbol + " " + amount; break;
  }
  return negative ? "-" + text : text;
}

std::string floatToText(double value, const HostSettings& settings) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  const DecimalNumber number = roundToSignificant(toDecimal(value), kGeneralPrecision);
  if (number.isZero()) return "0";
  // Fixed notation while the integer digits fit the precision and the value is at
  // least 0.00001; scientific beyond, as the host platform writes them.
  if (number.pointPosition > kGeneralPrecision || number.pointPosition < -4) {
    return scientificText(number, settings.decimalSeparator);
  }
  const int decimals =
      std::max(0, static_cast<int>(number.digits.size()) - number.pointPosition);
  return localized(plainFixedText(number, decimals), settings.decimalSeparator, '\0', 1);
}

double textToFloat(std::string_view text, const HostSettings& settings) {
  const auto fail = [&] {
    return ConversionError("'" + std::string(text) + "' não é um número válido");
  };
  std::string_view body = text;
  while (!body.empty() && static_cast<unsigned char>(body.front()) <= ' ') body.remove_prefix(1);
  while (!body.empty() && static_cast<unsigned char>(body.back()) <= ' ') body.remove_suffix(1);

  // Checks the shape and builds the same number in the C form that from_chars reads.
  std::string plain;
  std::size_t pos = 0;
  const auto isDigit = [&](std::size_t i) {
    return i < body.size() && std::isdigit(static_cast<unsigned char>(body[i])) != 0;
  };
  if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
    if (body[pos] == '-') plain += '-';
    ++pos;
  }
  std::size_t mantissaDigits = 0;
  for (; isDigit(pos); ++pos, ++mantissaDigits) plain += body[pos];
  if (pos < body.size() && body[pos] == settings.decimalSeparator) {
    plain += '.';
    for (++pos; isDigit(pos); ++pos, ++mantissaDigits) plain += body[pos];
  }
  if (mantissaDigits == 0) throw fail();
  if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
    plain += 'e';
    ++pos;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) plain += body[pos++];
    if (!isDigit(pos)) throw fail();
    for (; isDigit(pos); ++pos) plain += body[pos];
  }
  if (pos != body.size()) throw fail();

  double value = 0.0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) throw fail();
  return value;
}

}  // namespace ecf

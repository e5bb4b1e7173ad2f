#include "core/money.h"

#include <cstdlib>

namespace ecfsim {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// More whole digits than this would not fit the printer's amounts anyway.
constexpr int kMaxWholeDigits = 12;

std::string groupedDigits(std::uint64_t whole, bool grouped) {
  std::string digits = std::to_string(whole);
  if (!grouped) return digits;
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += '.';
    out += digits[i];
  }
  return out;
}

std::uint64_t magnitude(std::int64_t v) {
  return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

}  // namespace

std::optional<Milli> parseDecimal(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  std::int64_t whole = 0;
  int wholeDigits = 0;
  while (i < text.size() && isDigit(text[i])) {
    if (++wholeDigits > kMaxWholeDigits) return std::nullopt;
    whole = whole * 10 + (text[i] - '0');
    ++i;
  }
  std::int64_t fraction = 0;
  int decimals = 0;
  if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      if (++decimals > 3) return std::nullopt;
      fraction = fraction * 10 + (text[i] - '0');
      ++i;
    }
    if (decimals == 0) return std::nullopt;
  }
  if (i != text.size() || (wholeDigits == 0 && decimals == 0)) return std::nullopt;
  for (int d = decimals; d < 3; ++d) fraction *= 10;
  const Milli value = whole * 1000 + fraction;
  return negative ? -value : value;
}

std::optional<Cents> wholeCents(Milli value) {
  if (value % 10 != 0) return std::nullopt;
  return value / 10;
}

std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
#if defined(__SIZEOF_INT128__)
  const __int128 product = static_cast<__int128>(a) * b;
  return static_cast<std::int64_t>(product / c);
#else
  const long double product = static_cast<long double>(a) * static_cast<long double>(b);
  return static_cast<std::int64_t>(product / static_cast<long double>(c));
#endif
}

Cents itemTotal(Milli quantity, Milli unitPrice) {
  // thousandths × thousandths = millionths; a cent is ten thousand of them.
  return mulDiv(quantity, unitPrice, 10000);
}

Cents percentOf(Cents base, int hundredthsPercent) {
  // Bases stay far below 10^14 cents and rates below 10^4, so the product fits.
  const std::int64_t scaled = base * hundredthsPercent;
  const std::int64_t half = scaled < 0 ? -5000 : 5000;
  return (scaled + half) / 10000;
}

std::string formatCents(Cents value, bool grouped) {
  const std::uint64_t abs = magnitude(value);
  std::string out = value < 0 ? "-" : "";
  out += groupedDigits(abs / 100, grouped);
  out += ',';
  const auto cents = static_cast<int>(abs % 100);
  out += static_cast<char>('0' + cents / 10);
  out += static_cast<char>('0' + cents % 10);
  return out;
}

std::string formatQuantity(Milli value) {
  const std::uint64_t abs = magnitude(value);
  std::string out = value < 0 ? "-" : "";
  out += groupedDigits(abs / 1000, false);
  out += ',';
  std::string decimals = std::to_string(abs % 1000);
  out += std::string(3 - decimals.size(), '0') + decimals;
  return out;
}

std::string formatUnitPrice(Milli value) {
  if (value % 10 == 0) return formatCents(value / 10);
  const std::uint64_t abs = magnitude(value);
  std::string out = value < 0 ? "-" : "";
  out += groupedDigits(abs / 1000, true);
  out += ',';
  std::string decimals = std::to_string(abs % 1000);
  out += std::string(3 - decimals.size(), '0') + decimals;
  return out;
}

std::string formatPercent(int hundredths) { return formatCents(hundredths, false); }

}  // namespace ecfsim

// Amounts as the printer keeps them: whole cents, and quantities and unit prices in
// thousandths. Integers only, so a total never drifts by a binary fraction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ecfsim {

using Cents = std::int64_t;
using Milli = std::int64_t;

// The largest amount one item, payment or adjustment may carry (999.999.999,99): no shop
// sells more at once, and it keeps every sum far from overflowing.
constexpr Cents kMaxAmount = 99'999'999'999;

// Reads "-12,5", "12.50", "0,125": an optional leading "-", digits, and at most one comma
// or point followed by one to three decimals. No thousands grouping: the separator is
// always the decimal one. Result in thousandths.
std::optional<Milli> parseDecimal(std::string_view text);

// The amount in cents when the thousandths end in zero (12,340 → 1234), else nothing.
std::optional<Cents> wholeCents(Milli value);

// a * b / c, truncated toward zero, without overflowing on the way.
std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c);

// Quantity × unit price, truncated to the cent (2,000 × 3,335 → 6,67).
Cents itemTotal(Milli quantity, Milli unitPrice);

// `base` × `hundredthsPercent` / 10000, rounded half away from zero (tax at a rate).
Cents percentOf(Cents base, int hundredthsPercent);

// "1.234,56" (grouped) or "1234,56"; always two decimals, "-" in front when negative.
std::string formatCents(Cents value, bool grouped = true);

// A quantity with three decimals: "2,000".
std::string formatQuantity(Milli value);

// A unit price: two decimals, or three when the third is not zero ("3,50", "3,335").
std::string formatUnitPrice(Milli value);

// A percentage held in hundredths, as the printer shows it: "18,00", "7,00".
std::string formatPercent(int hundredths);

}  // namespace ecfsim

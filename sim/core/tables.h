// The printer's programmable tables: 16 tax rates, 15 payment methods plus the cash
// method every printer has (code -2), and 15 non-fiscal totalizers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ecfsim {

constexpr int kTaxSlots = 16;
constexpr int kMethodSlots = 15;
constexpr int kNonFiscalSlots = 15;
constexpr int kCashMethod = -2;
// Fixed tax codes an item may carry instead of a programmed rate.
constexpr int kTaxSubstitution = -2;  // F: ICMS by tax substitution
constexpr int kTaxExempt = -3;        // I: exempt
constexpr int kTaxNotLevied = -4;     // N: not levied

constexpr std::size_t kMethodNameMax = 16;
constexpr std::size_t kNonFiscalNameMax = 19;
constexpr std::size_t kDescriptionMax = 40;

struct TaxRate {
  bool programmed = false;
  bool icms = true;     // false: a municipal service tax (ISSQN) rate
  int percent = 0;      // hundredths: 1800 is 18,00 %
  bool operator==(const TaxRate&) const = default;
};

struct PaymentMethod {
  bool programmed = false;
  std::string name;
  std::string description;
  bool allowsLinked = false;  // linked credit/debit vouchers may follow its payments
  bool operator==(const PaymentMethod&) const = default;
};

struct NonFiscalTotalizer {
  bool programmed = false;
  std::string name;
  std::string description;
  bool entry = true;  // "t": money comes in; "f": money goes out
  bool operator==(const NonFiscalTotalizer&) const = default;
};

struct Tables {
  std::array<TaxRate, kTaxSlots> taxRates{};
  PaymentMethod cash{true, "Dinheiro", "", false};
  std::array<PaymentMethod, kMethodSlots> methods{};
  std::array<NonFiscalTotalizer, kNonFiscalSlots> nonFiscal{};

  // The method at `code` (-2 or 0..14) when programmed.
  const PaymentMethod* method(long long code) const;
  const NonFiscalTotalizer* totalizer(long long code) const;
  // Names match ignoring letter case and surrounding blanks.
  std::optional<int> findMethod(std::string_view name) const;
  std::optional<int> findTotalizer(std::string_view name) const;

  // Program a method or totalizer at `code`, or at the first free code when none is
  // given. Refused (CommandError) for a full table, a used or impossible code, a name
  // already in the table, or a name or description that does not fit. Returns the code.
  int defineMethod(std::optional<long long> code, const std::string& name,
                   const std::string& description, bool allowsLinked);
  int defineTotalizer(std::optional<long long> code, const std::string& name,
                      const std::string& description, bool entry);
  bool operator==(const Tables&) const = default;
};

// Whether the fixed or programmed tax code can carry an item of that kind (ICMS or not).
bool isTaxCodeUsable(const Tables& tables, long long code, bool icms);
// A tax code's label on paper: T00..T15 (ICMS), S00..S15 (ISSQN), F1, I1, N1.
std::string taxLabel(const Tables& tables, int code);
// Whether the code's sales count as ICMS (the fixed codes always do).
bool isIcmsCode(const Tables& tables, int code);

std::string trimBlanks(std::string_view text);

}  // namespace ecfsim

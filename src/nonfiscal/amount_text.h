// Amounts as the non-fiscal documents write them, under the host's number settings.
#pragma once

#include <string>

namespace ecf {

// "0.00" in the host's decimal notation: what every Valor parameter carries. A value
// that is not a number never reaches the printer: ConversionError.
std::string amountText(double amount);

// The host's currency text with two decimals ("R$ 1.234,50"), for printed amounts.
// A value that is not a number is refused the same way.
std::string currencyText(double amount);

// Refuses a value that is not a number before anything is sent for it.
void requireAmount(double amount);

}  // namespace ecf

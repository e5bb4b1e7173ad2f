#include "nonfiscal/amount_text.h"

#include <cmath>

#include "base/conversionerror.h"
#include "base/numberformat.h"
#include "host/module_env.h"

namespace ecf {

void requireAmount(double amount) {
  if (!std::isfinite(amount)) {
    throw ConversionError("'" + formatPattern("0.00", amount, hostSettings()) +
                          "' não é um valor válido");
  }
}

std::string amountText(double amount) {
  requireAmount(amount);
  return formatPattern("0.00", amount, hostSettings());
}

std::string currencyText(double amount) {
  requireAmount(amount);
  return formatCurrency(amount, hostSettings());
}

}  // namespace ecf

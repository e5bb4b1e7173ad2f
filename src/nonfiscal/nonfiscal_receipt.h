// A non-fiscal receipt from opening to closing, for the module's own credit vouchers.
#pragma once

#include <string>

namespace ecf {

// Opens, registers `amount` (sent exactly as given) under the totalizer, pays it in the
// named payment method and closes. Stops at the first refused step and cancels the receipt
// when it was opened; true only when every step was accepted.
bool printNonFiscalReceipt(const std::string& scheme, const std::string& totalizerCode,
                           const std::string& amount, const std::string& paymentMethod);

}  // namespace ecf

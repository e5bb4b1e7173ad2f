// The steps shared by the documents that register money under a non-fiscal totalizer:
// the opening of a non-fiscal receipt, its one item, and its cancellation when a later
// step is refused. Each returns whether the printer
// accepted the command; a refusal has been logged and shown in the colour scheme.
#pragma once

#include <string>

namespace ecf {

// AbreCupomNaoFiscal; the receipt never carries a consumer identification.
bool openNonFiscalReceipt(const std::string& scheme);
// EmiteItemNaoFiscal of `amount` (already written as the printer reads it) under the
// two-digit totalizer code, which is sent as given: the printer refuses an unknown one.
bool registerNonFiscalItem(const std::string& scheme, const std::string& totalizerCode,
                           const std::string& amount);
// CancelaCupom of the non-fiscal receipt this operation opened, after one of its steps was
// refused: the printer must not keep a half-done receipt that the next document would
// close or cancel by accident (a supply counted although the host saw it fail).
bool cancelNonFiscalReceipt(const std::string& scheme);

}  // namespace ecf

// The printer's fiscal state and receipt counter, as other operations read them before
// and after a document.
#pragma once

#include <string>

namespace ecf {

// Reads the fiscal-state register (logging the whole answer); true when the printer
// answered. A refusal is logged and, when `showMessage`, shown in the colour scheme.
bool readFiscalState(const std::string& scheme, bool showMessage);

// The receipt counter (COO) as six digits, or "" when the printer refused or answered
// something that is not a counter. A refusal is logged, never shown.
std::string readReceiptCounter(const std::string& scheme);

}  // namespace ecf

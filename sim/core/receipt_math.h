// Sums over a document: what is still sold, what the receipt comes to, what was paid,
// and how a subtotal discount or surcharge spreads over the tax codes.
#pragma once

#include <map>

#include "core/printer_state.h"

namespace ecfsim {

Cents liveItemsTotal(const Document& doc);  // items not cancelled
bool hasLiveItems(const Document& doc);
Cents receiptTotal(const Document& doc);    // live items plus the subtotal adjustment
Cents paidTotal(const Document& doc);
Cents nonFiscalTotal(const Document& doc, bool entry);

std::map<int, Cents> liveTotalsByTaxCode(const Document& doc);

// `amount` shared among the codes in proportion to their weights, truncated, with the
// cents left over handed out one by one from the heaviest code down (lowest code first
// among equals), so the parts always add up to `amount`.
std::map<int, Cents> allocate(Cents amount, const std::map<int, Cents>& weights);

// The receipt's net sale per tax code as the day totals hold it: live items plus the
// adjustment once it reached the day totals.
std::map<int, Cents> committedNetByTaxCode(const Document& doc);

}  // namespace ecfsim

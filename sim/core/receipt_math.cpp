#include "core/receipt_math.h"

#include <algorithm>
#include <vector>

namespace ecfsim {

Cents liveItemsTotal(const Document& doc) {
  Cents sum = 0;
  for (const Item& item : doc.items) {
    if (!item.cancelled) sum += item.total;
  }
  return sum;
}

bool hasLiveItems(const Document& doc) {
  return std::any_of(doc.items.begin(), doc.items.end(),
                     [](const Item& item) { return !item.cancelled; });
}

Cents receiptTotal(const Document& doc) {
  return liveItemsTotal(doc) + (doc.adjusted ? doc.adjustment : 0);
}

Cents paidTotal(const Document& doc) {
  Cents sum = 0;
  for (const Payment& p : doc.payments) sum += p.value;
  return sum;
}

Cents nonFiscalTotal(const Document& doc, bool entry) {
  Cents sum = 0;
  for (const NonFiscalItem& item : doc.nonFiscalItems) {
    if (item.entry == entry) sum += item.value;
  }
  return sum;
}

std::map<int, Cents> liveTotalsByTaxCode(const Document& doc) {
  std::map<int, Cents> totals;
  for (const Item& item : doc.items) {
    if (!item.cancelled) totals[item.taxCode] += item.total;
  }
  return totals;
}

std::map<int, Cents> allocate(Cents amount, const std::map<int, Cents>& weights) {
  std::map<int, Cents> parts;
  Cents weightSum = 0;
  for (const auto& [code, weight] : weights) weightSum += weight;
  if (weightSum <= 0) return parts;
  Cents given = 0;
  for (const auto& [code, weight] : weights) {
    parts[code] = mulDiv(amount, weight, weightSum);
    given += parts[code];
  }
  std::vector<std::pair<int, Cents>> order(weights.begin(), weights.end());
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  Cents left = amount - given;
  const Cents step = left < 0 ? -1 : 1;
  for (std::size_t i = 0; left != 0; i = (i + 1) % order.size()) {
    parts[order[i].first] += step;
    left -= step;
  }
  return parts;
}

std::map<int, Cents> committedNetByTaxCode(const Document& doc) {
  std::map<int, Cents> net = liveTotalsByTaxCode(doc);
  if (doc.adjusted && doc.adjustmentCommitted) {
    for (const auto& [code, part] : allocate(doc.adjustment, net)) net[code] += part;
  }
  return net;
}

}  // namespace ecfsim

// The grouped product list: the heading sent above each row, and the summary of sales per
// pair of tax situation and rate kept in cdsAliqProduto.
#pragma once

#include <optional>
#include <string>

#include "ecf/dataset.h"
#include "reports/product_lines.h"

namespace ecf {

// Rows come ordered by situation, then rate. A heading goes above the first row of a new
// rate: "Tributacao  7,00" for a taxed rate, the situation's label for an untaxed one.
class TaxGroupHeadings {
 public:
  // The heading's one line to send before the row, or an empty text (sent all the same)
  // for a rate of 0 under the situation already headed or under a situation without a
  // label of its own; nothing (nullopt) within a group.
  std::optional<std::string> before(const SoldProduct& product);

 private:
  std::string rateText_;
  std::string situation_;
};

// One row per pair of situation and rate, in the order the pairs first occur.
class TaxSummary {
 public:
  // Starts the summary over: `table` is recreated empty.
  explicit TaxSummary(Dataset& table);

  void add(const SoldProduct& product);
  // One line per pair: the rate (with two decimals) when it is not 0, otherwise the
  // situation's label; a rate of 0 under a situation without a label shows the rate too.
  void addLines(ReportBlock& block) const;

 private:
  Dataset& table_;
};

}  // namespace ecf

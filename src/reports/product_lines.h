// The lines of the product report, 48 characters wide, counted in characters.
#pragma once

#include <string>

#include "nonfiscal/report_lines.h"

namespace ecf {

// One row of the products sold, as the report reads it.
struct SoldProduct {
  std::string code;
  std::string name;
  double quantity = 0;
  double total = 0;
  double surcharge = 0;
  double discount = 0;
  // "F" tax substitution, "N" not levied, "I" exempt; anything else is taxed at the rate.
  std::string situation;
  double rate = 0;
  // The rate as the host's table writes it: what tells one group from the next.
  std::string rateText;
};

struct ProductTotals {
  double sales = 0;
  double surcharge = 0;
  double discount = 0;
  double quantity = 0;

  void add(const SoldProduct& product);
};

// Title and column heading, opened by an empty line.
void addProductReportHeading(ReportBlock& block);
// Code in 11, name in 19, quantity in 6 and value in 10, one space after code and name.
void addProductLine(ReportBlock& block, const SoldProduct& product);
// Surcharges and discounts, each followed by an empty line, then the sales with the
// quantity, then two empty lines.
void addProductTotals(ReportBlock& block, const ProductTotals& totals);
// The grouped list's closing: "VALOR" with the quantity and the sales, then an empty line.
void addGroupedValue(ReportBlock& block, const ProductTotals& totals);
// The heading of the tax summary.
void addTaxedHeading(ReportBlock& block);
// The label of a tax group in 35 and its sales in 13.
void addTaxSummaryLine(ReportBlock& block, const std::string& label, double total);
// The label of an untaxed situation ("Subst. Trib.", "Não Incide", "Isento :"), or "" for
// a situation taxed at a rate.
std::string untaxedLabel(const std::string& situation);

}  // namespace ecf

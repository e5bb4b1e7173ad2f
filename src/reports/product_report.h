// The products sold in a period, printed as a management report: a plain list in the
// host's order, or a list grouped by tax situation and rate followed by the sales of each
// pair. The cash closing prints it too, between its own reports.
#pragma once

#include <string>

#include "ecf/dataset.h"

namespace ecf {

struct ProductReportRequest {
  std::string confirmation;  // "N" print, "S" ask the operator first, anything else: nothing
  std::string layout;        // "S" grouped by tax situation, anything else the plain list
  std::string scheme;
};

// Refuses (DatasetError) a list with rows that lacks a field the report reads.
void requireProductFields(const Dataset& products);

// Prints the report from a copy of `products` kept in cdsProdVend. With `reportSeries`
// false the open document, whatever it is, is closed first and the flag becomes true, so
// a caller printing several reports in a row closes only once. `coo` receives the counter
// read after the opening; an empty list opens nothing and leaves it untouched.
void printProductReport(const Dataset& products, const ProductReportRequest& request,
                        std::string& coo, bool& reportSeries);

}  // namespace ecf

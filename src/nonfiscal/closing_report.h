// The closing report of a shift or of the day: the sales, the money handed over per
// payment type, the change vouchers and the supply, and the surplus or shortage.
#pragma once

#include <string>

#include "ecf/dataset.h"

namespace ecf {

struct ClosingReport {
  std::string title;
  const Dataset& products;  // the host's products sold: their VRTOTAL make the sales
  Dataset& movements;       // the cash movements: IDTIPOREG, NMTIPORECE, VRSAIDA
  bool printMovementLines;  // one line per payment type handed over, or only the totals
};

// Refuses (DatasetError) movements with rows that lack a field the report reads.
void requireMovementFields(const Dataset& movements);

// Prints the report and closes it. With `reportSeries` the report opens on its own and the
// counter read after the opening is returned; otherwise its text goes into the report
// already open and "" is returned. The printer's answers are not judged: each refusal has
// been shown to the operator and the report goes on.
std::string printClosingReport(const ClosingReport& report, bool reportSeries,
                               const std::string& scheme);

}  // namespace ecf

// How the consumer-account documents read the datasets the host hands in and write
// their amounts.
#pragma once

#include <string>
#include <string_view>

#include "ecf/dataset.h"
#include "reports/report_values.h"

namespace ecf {

// Movement lines print their amounts with 13 significant digits (fixed2 elsewhere).
std::string movementAmount(double value);

// The comparison "FIELD = 'value'" of the filter language, the value quoted safely.
std::string fieldEquals(std::string_view field, std::string_view value);
// Shows only the rows the filter selects: filter off, text set, filter on.
void showOnly(Dataset& dataset, const std::string& filterText);

// The field of the current row written as the filter compares it, so a code read from
// one dataset selects the same code in another.
std::string keyText(const Dataset& dataset, std::string_view field);

// Goes to the first visible row. A dataset the host handed in closed has no rows to
// walk, so it is left as it is.
void toFirstRow(Dataset& dataset);

}  // namespace ecf

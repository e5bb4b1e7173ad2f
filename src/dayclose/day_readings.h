// The printer's own day readings: the X reading (running totals, the day stays open) and
// the Z reduction (totals recorded in the fiscal memory, the fiscal day closed).
#pragma once

#include <string>

namespace ecf {

// Each sends its one command; true when the printer accepted it, with the returned text
// in stRetornoFuncao. No confirmation is asked and no state is checked first.
bool printXReading(const std::string& scheme);
bool printZReduction(const std::string& scheme);

}  // namespace ecf

// The values the state file may hold. A state file is trusted no more than any other
// file: a number out of its field's range (a counter that would load wrapped round or
// negative, a total beyond what the printer can add up, a clock that would overflow) makes
// the whole state unreadable, naming the field, rather than load a printer that lies.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace ecfsim {

// One numeric field of the state file and its range. The path names the field by its keys
// from the top, dot-separated; "[]" after a key means every element of that list
// ("fiscalMemory[].crz", "totals.rateSales[]").
struct FieldRange {
  std::string path;
  std::int64_t min;
  std::int64_t max;
};

class StateRangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every numeric field of the state file with its range.
const std::vector<FieldRange>& stateFieldRanges();

// Throws StateRangeError naming the first field that is not a whole number within its
// range, and any number anywhere that is not a whole number. Absent fields are fine:
// they take their defaults.
void checkStateRanges(const nlohmann::json& state);

// Throws StateRangeError naming the first number of `given` that `loaded` (the state read
// from it, written back) does not hold exactly: a field without a declared range that was
// narrowed on the way in.
void checkLoadedExactly(const nlohmann::json& given, const nlohmann::json& loaded);

}  // namespace ecfsim

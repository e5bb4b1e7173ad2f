// The printer's memory as JSON: the form of the state file and of the state control.
#pragma once

#include <nlohmann/json.hpp>

#include "core/printer_state.h"

namespace ecfsim {

nlohmann::json stateToJson(const PrinterState& state);
// Missing keys take their type's default value; a key of the wrong kind throws
// nlohmann::json::exception; a number out of its field's range (state_ranges.h) throws
// StateRangeError.
PrinterState stateFromJson(const nlohmann::json& json);

}  // namespace ecfsim

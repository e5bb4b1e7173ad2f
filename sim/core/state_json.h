// The printer's memory as JSON: the form of the state file and of the state control.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/printer_state.h"

namespace ecfsim {

nlohmann::json stateToJson(const PrinterState& state);
// Missing keys take their type's default value; a key of the wrong kind throws
// nlohmann::json::exception; a number out of its field's range (state_ranges.h) throws
// StateRangeError.
PrinterState stateFromJson(const nlohmann::json& json);

// What one command changed, as a line of the state's journal: {"set": {field: value}} for
// each top-level field that differs (the open document without its items), and
// {"items": {"from": n, "list": [...]}} for the open document's items from the first one
// that differs. An empty object when nothing changed. Its size follows what changed, not
// the size of the state.
nlohmann::json stateChangeToJson(const PrinterState& before, const PrinterState& after);
// Applies such a change to the JSON form of the state it was taken from. Throws
// std::invalid_argument when the change does not fit that state.
void applyStateChange(nlohmann::json& state, const nlohmann::json& change);
// The top-level fields a change carries: every field of the state.
std::vector<std::string> stateChangeFields();

}  // namespace ecfsim

// Setting a printer up from a JSON text, as a technician would: identity, tables,
// sensors, clock and paper. Keys left out keep their values.
#pragma once

#include <nlohmann/json.hpp>

#include "core/printer_state.h"

namespace ecfsim {

// Applies every key of `config` to `state`, or throws std::invalid_argument naming the
// first key that is unknown or does not fit (and then `state` may be half changed: apply
// it to a copy). Refused while a document is open.
void applyConfiguration(PrinterState& state, const nlohmann::json& config);

}  // namespace ecfsim

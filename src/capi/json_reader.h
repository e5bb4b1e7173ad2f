// A strict JSON reader for the module's requests: the same value, of the same types, as
// nlohmann's parser gives for every text it accepts, and a refusal of every text it refuses;
// in a fraction of the instructions (no token buffer, a container's members gathered and
// then built at once).
#pragma once

#include <string_view>

#include "capi/json_values.h"

namespace ecf::capi {

// Reads one JSON value, nested at most kMaxNesting levels, optionally after a UTF-8 BOM
// and surrounded by whitespace (space, tab, line feed, carriage return). Positive integers
// are unsigned, negative ones signed, the others doubles; an object's repeated key keeps
// its first place and its last value. Throws ValueError "malformed JSON: <reason> at byte
// <n>" for anything else, including invalid UTF-8, lone surrogates and 1e400.
Json readJson(std::string_view text);

}  // namespace ecf::capi

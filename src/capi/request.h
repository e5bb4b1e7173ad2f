// A request of the C interface, checked against its operation before anything runs:
//   {"args": [...] | {...}, "answers": ["yes", "no", ...]}
#pragma once

#include <vector>

#include "capi/operation_table.h"

namespace ecf::capi {

struct Request {
  Json json;                      // owns the values `args` points into
  std::vector<const Json*> args;  // one per param of the operation; null when left out
  std::vector<bool> answers;
};

// Throws CallError (bad_json, bad_request, missing_argument, unknown_argument,
// bad_argument) for a request that cannot be made.
Request readRequest(const Operation& operation, const char* text);

}  // namespace ecf::capi

// The catalogue the C interface publishes (ecf_operations):
//   {"operations": [{"name", "description", "result", "args": [{"name", "type",
//     "direction": "in" | "inout" | "out", "optional"?}]}], "errors": [{"code", "meaning"}]}
// The "in" and "inout" arguments are listed in the order a request's list gives them; the
// "out" ones are never given and come back in the reply's "out".
#pragma once

#include "capi/json_values.h"

namespace ecf::capi {

Json catalogue();

}  // namespace ecf::capi

// What a scenario step expects of a result, compared with what the module gave.
#pragma once

#include <string>

#include "capi/json_values.h"

namespace ecfhost {

using Json = ecf::capi::Json;
using ecf::capi::brief;

// "" when `actual` is what `expected` asks for, else what differs, naming `where`.
// Scalars compare exactly (numbers numerically); arrays element by element; a packet is
// matched by {"rows": [...]} (same number of rows, each expected field equal) and/or
// {"count": n}.
std::string whatDiffers(const Json& expected, const Json& actual, const std::string& where);

}  // namespace ecfhost

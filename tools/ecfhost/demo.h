// `ecfhost demo`: a whole working day of a small café on the virtual printer, step by
// step, as a POS host drives the module.
#pragma once

#include <string>

#include "host_session.h"

namespace ecfhost {

// 0 when every step succeeded; 1 when one failed (named, with the printer's error);
// 2 when the workspace or the module could not be set up.
int runDemo(const std::string& directory, bool reuse, const HostOptions& options);

}  // namespace ecfhost

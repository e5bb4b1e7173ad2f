// The paper cutter, for the documents that cut between their copies.
#pragma once

#include <string>

namespace ecf {

// CortaPapel with this printer's fixed cut kind; true when the printer accepted it. A
// refusal has been logged and shown in the colour scheme.
bool cutPaper(const std::string& scheme);

}  // namespace ecf

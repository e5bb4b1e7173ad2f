// The computer's clock as the host reads it: local civil time.
#pragma once

#include <string>

#include "ecf/datetime.h"

namespace ecfhost {

ecf::DateTime localNow();

// The current local time formatted with strftime's `pattern`.
std::string localTimeText(const char* pattern);

}  // namespace ecfhost

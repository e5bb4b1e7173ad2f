// The system's text for a Windows error code, in UTF-8, as the printer's circumstances
// quote it.
#pragma once

#include <windows.h>

#include <string>

namespace ecfsim::platform {

std::string systemMessage(DWORD code);

}  // namespace ecfsim::platform

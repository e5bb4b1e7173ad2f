// The monthly debug log in the host directory: one line per command, value read and
// printer error, each ended by " - " and the date and time.
#pragma once

#include <string>

#include "ecf/datetime.h"

namespace ecf {

// The file of the month of `when`: <host directory>impdebugMMYY.txt.
std::string debugLogPath(const DateTime& when);
// Sets stImpDebug to `text` and appends it with the current date and time. Never throws:
// a log that cannot be written must not stop the printer.
void writeDebugLine(const std::string& text);

}  // namespace ecf

// What the tool tells the user at the end of a run, and the `tape` command.
#pragma once

#include <string>

#include "host_session.h"

namespace ecfhost {

// Where the tape, the debug log and the grand-total file of the run are.
void printLocations(const HostSession& host);

// `ecfhost tape [--dir DIR] [--html FILE]`: 0 done, 2 nothing to show or cannot write.
int tapeCommand(const std::string& directory, const std::string& htmlFile);

}  // namespace ecfhost

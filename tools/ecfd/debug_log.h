// The module's debug log (impdebugMMYY.txt in the host directory), read for the printer's
// refusals: each one is a line "<code>: <name> - <circumstance> - <date> <time>".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "api_error.h"

namespace ecfd {

class DebugLogReader {
 public:
  explicit DebugLogReader(std::string hostDirectory) : directory_(std::move(hostDirectory)) {}

  // From now on.
  void mark();
  // The refusals written since the last mark, oldest first.
  std::vector<PrinterError> refusalsSinceMark() const;

 private:
  std::vector<std::string> logs() const;

  std::string directory_;
  std::map<std::string, std::uintmax_t> sizes_;
};

// One refusal line without its date ending; nothing when the line is not one.
bool parseRefusal(const std::string& line, PrinterError& error);

}  // namespace ecfd

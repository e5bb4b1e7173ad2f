// What a host installs in the module before it starts the printer: its operator, its
// regional settings, its directory and, optionally, its clock and message pump.
#pragma once

#include <functional>
#include <string>

#include "ecf/datetime.h"
#include "ecf/export.h"
#include "ecf/settings.h"

namespace ecf {

// One operator message box: a notice or a yes/no question.
struct OperatorMessage {
  std::string text;
  std::string secondText;  // always empty in this module
  std::string letter1;     // "N"
  std::string letter2;     // "N" for a notice, "S" for a question whose answer matters
  int kind = 3;            // 3 errors, notices and retry questions; 1 confirmations
  std::string sixthText;   // always empty in this module
  std::string scheme;      // the operation's colour scheme
};

// Returns the operator's answer: true = yes. Notices ignore it.
using OperatorCallback = std::function<bool(const OperatorMessage&)>;
using ClockCallback = std::function<DateTime()>;
using MessagePumpCallback = std::function<void()>;

}  // namespace ecf

extern "C" {
// With no operator installed, messages go to the debug log and questions are answered no.
ECF_API void ecf_SetOperator(ecf::OperatorCallback callback);
ECF_API void ecf_SetSettings(const ecf::HostSettings& settings);
// The directory of the debug log and the grand-total file; "" restores the executable's.
ECF_API void ecf_SetHostDirectory(const char* directory);
// An empty callback restores the computer's clock.
ECF_API void ecf_SetClock(ecf::ClockCallback callback);
// Lets the host's interface process its pending messages during long reconciliations.
ECF_API void ecf_SetMessagePump(ecf::MessagePumpCallback callback);
}

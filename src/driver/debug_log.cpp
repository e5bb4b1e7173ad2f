#include "driver/debug_log.h"

#include "base/dateformat.h"
#include "base/utf8.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/module_env.h"

namespace ecf {

std::string debugLogPath(const DateTime& when) {
  return moduleEnv().hostDirectory() + "impdebug" + formatDateTime("MMYY", when, hostSettings()) +
         ".txt";
}

void writeDebugLine(const std::string& text) {
  try {
    stImpDebug = text;
    Env& env = moduleEnv();
    const DateTime now = env.now();
    const std::string line =
        repairUtf8(text) + " - " + dateTimeText(now, hostSettings()) + "\n";
    env.appendToFile(debugLogPath(now), line, nullptr);
  } catch (...) {
    // Logging is best effort by design; the operation carries on.
  }
}

}  // namespace ecf

// A host thread may log while another runs an operation: stImpDebug and the log file are
// module state like any other.
extern "C" ECF_API void ImpFisDebug(const std::string& text) {
  ecf::guardedVoid("ImpFisDebug", "", [&] { ecf::writeDebugLine(text); });
}

#include "host/export_guard.h"

#include "driver/debug_log.h"
#include "host/operator.h"

namespace ecf {

std::recursive_mutex& moduleLock() {
  static std::recursive_mutex lock;
  return lock;
}

void reportEscapedError(const char* operation, const std::string& scheme,
                        const std::string& what) noexcept {
  try {
    writeDebugLine(std::string("ERRO!!! ") + operation + ": " + what);
    showNotice(what, scheme);
  } catch (...) {
    // Reporting must never be what breaks the host.
  }
}

void reportUnavailable(const char* operation, const std::string& what) noexcept {
  try {
    writeDebugLine(std::string("ERRO!!! ") + operation + ": " + what);
  } catch (...) {
  }
}

}  // namespace ecf

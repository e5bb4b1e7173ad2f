#include "local_time.h"

#include <ctime>

#include "platform.h"

namespace ecfhost {
namespace {

std::tm localNowParts() {
  return platform::localTime(std::time(nullptr));
}

}  // namespace

ecf::DateTime localNow() {
  const std::tm local = localNowParts();
  return ecf::DateTime::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                  local.tm_hour, local.tm_min, local.tm_sec);
}

std::string localTimeText(const char* pattern) {
  const std::tm local = localNowParts();
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, pattern, &local);
  return std::string(text, length);
}

}  // namespace ecfhost

#include "clock_text.h"

#include <ctime>
#include <mutex>

namespace ecfd {
namespace {

std::string formatted(const char* pattern, int offsetSeconds) {
  static std::mutex mutex;  // localtime's result is shared
  const std::time_t now = std::time(nullptr) + offsetSeconds;
  char text[32];
  std::lock_guard<std::mutex> lock(mutex);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr || std::strftime(text, sizeof text, pattern, local) == 0) return "";
  return text;
}

}  // namespace

std::string clockText() { return formatted("%Y-%m-%dT%H:%M:%S", 0); }
std::string dateTimeText(int offsetSeconds) { return formatted("%Y-%m-%d %H:%M:%S", offsetSeconds); }
std::string dateText() { return formatted("%Y-%m-%d", 0); }

}  // namespace ecfd

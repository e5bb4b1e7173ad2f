#include "base/temporary_name.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

namespace ecf {

std::string temporaryPrefix(const std::string& path) { return path + ".tmp-"; }

std::string randomSuffix() {
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t value = counter.fetch_add(1) + 0x9E3779B97F4A7C15ULL *
                        static_cast<std::uint64_t>(
                            std::chrono::steady_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    value ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (...) {
    // No entropy source: the counter and the clock still give a fresh name.
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::uint64_t ownerOfTemporary(const std::string& name, const std::string& prefix) {
  if (name.compare(0, prefix.size(), prefix) != 0) return 0;
  std::uint64_t pid = 0;
  std::size_t i = prefix.size();
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    if (pid > 100'000'000) return 0;
    pid = pid * 10 + static_cast<std::uint64_t>(name[i] - '0');
  }
  if (i == prefix.size() || (i < name.size() && name[i] != '-')) return 0;
  return pid;
}

}  // namespace ecf

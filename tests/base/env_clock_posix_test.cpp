// The clock reads local civil time: with the zone three hours behind UTC it must be
// three hours behind the UTC reading. (POSIX: the zone comes from TZ.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/env.h"

namespace ecf {
namespace {

TEST(RealEnvClock, NowIsLocalTime) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  ::setenv("TZ", "<-03>3", 1);
  ::tzset();
  const auto utcMillis = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
  const DateTime now = realEnv().now();
  if (saved) {
    ::setenv("TZ", previous.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
  const DateTime expected = DateTime::fromUnixMillis(utcMillis - 3 * 3'600'000);
  EXPECT_LT(std::llabs(expected.millisUntil(now)), 2000);
}

}  // namespace
}  // namespace ecf

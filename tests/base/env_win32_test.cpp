// The Windows environment where it differs from the others: the clock follows the
// system's time zone, and a file held open by another program delays its replacement for
// a moment, then fails it cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "base/env.h"
#include "base/utf8_path.h"
#include "platform/test_platform.h"

namespace ecf {
namespace {

namespace fs = std::filesystem;

// Local civil time is the UTC reading less the zone's bias (daylight time included).
TEST(RealEnvClockWindows, NowIsLocalTime) {
  TIME_ZONE_INFORMATION zone{};
  const DWORD which = ::GetTimeZoneInformation(&zone);
  long bias = zone.Bias;
  if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
  if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
  const auto utcMillis = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
  const DateTime now = realEnv().now();
  const DateTime expected = DateTime::fromUnixMillis(utcMillis - bias * 60'000LL);
  EXPECT_LT(std::llabs(expected.millisUntil(now)), 2000);
  EXPECT_EQ(pathSeparator(), '\\');
}

TEST(RealEnvFilesWindows, AFileHeldOpenThroughoutIsNotReplacedAndKeepsItsContent) {
  const fs::path dir = testplatform::makeScratchDirectory("ecf-env-held");
  const std::string path = utf8FromPath(dir / "Merkato.cds");
  std::string error;
  ASSERT_TRUE(realEnv().replaceFile(path, "GT=1000,00", &error)) << error;
  // A reader that shares reading and writing but not deletion, as most programs open.
  const HANDLE reader = ::CreateFileW(pathFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(realEnv().replaceFile(path, "GT=2000,00", &error));
  ::CloseHandle(reader);
  EXPECT_NE(error.find("cannot replace '" + path + "'"), std::string::npos) << error;
  std::string contents;
  ASSERT_TRUE(realEnv().readFile(path, contents, &error)) << error;
  EXPECT_EQ(contents, "GT=1000,00");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1)
      << "the temporary file is removed";
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ecf

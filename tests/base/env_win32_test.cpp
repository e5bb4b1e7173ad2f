// The Windows environment where it differs from the others: the clock follows the
// system's time zone, and a file held open by another program delays its replacement for
// a moment, then fails it cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

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

// Reading takes regular files of bounded size only: a device under the name is refused at
// once, never read; a file over the limit is refused unread.
TEST(RealEnvFilesWindows, ReadTakesOnlyRegularFilesWithinTheLimit) {
  const fs::path dir = testplatform::makeScratchDirectory("ecf-env-read");
  std::string contents = "unchanged";
  std::string error;
  // Any directory's "NUL" is the null device.
  EXPECT_FALSE(realEnv().readFile(utf8FromPath(dir / "NUL"), contents, &error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  const std::string big = utf8FromPath(dir / "big.cds");
  ASSERT_TRUE(realEnv().replaceFile(big, std::string(1001, 'x'), &error)) << error;
  EXPECT_FALSE(realEnv().readFile(big, contents, &error, 1000));
  EXPECT_NE(error.find("1001 bytes"), std::string::npos) << error;
  EXPECT_EQ(contents, "unchanged");
  ASSERT_TRUE(realEnv().readFile(big, contents, &error, 1001)) << error;
  EXPECT_EQ(contents.size(), 1001u);
  // Nor does the debug log go to a device.
  EXPECT_FALSE(realEnv().appendToFile(utf8FromPath(dir / "NUL"), "linha\n", &error));
  fs::remove_all(dir);
}

// The id of a process that has ended: a short-lived child, waited for.
DWORD endedProcessId() {
  std::wstring command = L"cmd.exe /c exit 0";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &child)) {
    return 0;
  }
  ::WaitForSingleObject(child.hProcess, INFINITE);
  const DWORD pid = child.dwProcessId;
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  return pid;
}

// Temporary files of saves cut short pile up no more: those of ended processes go at the
// next save of the same file; a live writer's file and other files stay.
TEST(RealEnvFilesWindows, ReplaceRemovesTemporariesLeftByEndedProcesses) {
  const fs::path dir = testplatform::makeScratchDirectory("ecf-env-tmp");
  const DWORD ended = endedProcessId();
  ASSERT_NE(ended, 0u);
  const std::string dead = std::to_string(ended);
  const std::string alive = std::to_string(::GetCurrentProcessId());
  const std::string path = utf8FromPath(dir / "Merkato.cds");
  for (const std::string& name : {path + ".tmp-" + dead, path + ".tmp-" + dead + "-00ff",
                                  path + ".tmp-" + alive + "-00ff", path + ".tmp-x1",
                                  utf8FromPath(dir / "Outro.cds.tmp-") + dead}) {
    std::ofstream(pathFromUtf8(name)) << "leftover";
  }
  fs::create_directory(pathFromUtf8(path + ".tmp-" + dead + "-dir"));
  std::string error;
  ASSERT_TRUE(realEnv().replaceFile(path, "GT=10,00", &error)) << error;
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) {
    left.insert(utf8FromPath(entry.path().filename()));
  }
  EXPECT_EQ(left, (std::set<std::string>{"Merkato.cds", "Merkato.cds.tmp-" + alive + "-00ff",
                                         "Merkato.cds.tmp-x1", "Merkato.cds.tmp-" + dead + "-dir",
                                         "Outro.cds.tmp-" + dead}));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ecf

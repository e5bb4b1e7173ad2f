// The real environment: files that a failed write can never corrupt, the host
// directory, library loading, the local clock and pauses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "base/env.h"

namespace ecf {
namespace {

namespace fs = std::filesystem;

class RealEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ecf-env-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string read(const std::string& path) {
    std::string contents;
    std::string error;
    EXPECT_TRUE(env_.readFile(path, contents, &error)) << error;
    return contents;
  }

  Env& env_ = realEnv();
  std::string dir_;
};

TEST_F(RealEnv, AppendCreatesThenAppends) {
  const std::string path = dir_ + "impdebug.txt";
  std::string error;
  ASSERT_TRUE(env_.appendToFile(path, "linha 1\n", &error)) << error;
  ASSERT_TRUE(env_.appendToFile(path, "linha 2 ç\n", &error)) << error;
  EXPECT_EQ(read(path), "linha 1\nlinha 2 ç\n");
  EXPECT_FALSE(env_.appendToFile(dir_ + "missing/x.txt", "x", &error));
  EXPECT_NE(error.find("missing/x.txt"), std::string::npos) << error;
}

TEST_F(RealEnv, ReplaceSwapsTheWholeContent) {
  const std::string path = dir_ + "total.dat";
  std::string error;
  ASSERT_TRUE(env_.replaceFile(path, "primeiro conteúdo, longo", &error)) << error;
  ASSERT_TRUE(env_.replaceFile(path, "curto", &error)) << error;
  EXPECT_EQ(read(path), "curto");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1)
      << "no temporary file is left behind";
}

TEST_F(RealEnv, AFailedReplaceLeavesTheOldFileIntact) {
  const std::string path = dir_ + "total.dat";
  std::string error;
  ASSERT_TRUE(env_.replaceFile(path, "GT=1000,00", &error)) << error;

  // The temporary file cannot be created: its name, longer than the target's, is too long.
  const std::string longPath = dir_ + std::string(240, 'g');
  std::ofstream(longPath) << "GT=1000,00";
  EXPECT_FALSE(env_.replaceFile(longPath, "GT=2000,00", &error));
  EXPECT_NE(error.find(".tmp-"), std::string::npos) << error;
  EXPECT_EQ(read(longPath), "GT=1000,00");

  // The rename fails (the target is a non-empty directory): the temporary file is removed.
  const std::string busy = dir_ + "busy";
  fs::create_directories(busy + "/inside");
  error.clear();
  EXPECT_FALSE(env_.replaceFile(busy, "x", &error));
  EXPECT_FALSE(error.empty());
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find("busy.tmp-"), std::string::npos)
        << "the temporary file is removed";
  }
  EXPECT_EQ(read(path), "GT=1000,00");
}

// Links planted in the host directory under the names we write never redirect a write:
// not the debug log's, not a temporary file's (the old predictable name included).
TEST_F(RealEnv, PlantedLinksAreNeverFollowedWhenWriting) {
  const std::string victim = dir_ + "victim.txt";
  std::ofstream(victim) << "intact";
  const std::string log = dir_ + "impdebug1226.txt";
  fs::create_symlink(victim, log);
  std::string error;
  EXPECT_FALSE(env_.appendToFile(log, "linha\n", &error));
  EXPECT_NE(error.find("impdebug1226.txt"), std::string::npos) << error;

  const std::string path = dir_ + "Merkato.cds";
  fs::create_symlink(victim, path + ".tmp-" + std::to_string(::getpid()));
  ASSERT_TRUE(env_.replaceFile(path, "GT=10,00", &error)) << error;
  EXPECT_EQ(read(path), "GT=10,00");
  EXPECT_FALSE(fs::is_symlink(path));
  EXPECT_EQ(read(victim), "intact");

  // A FIFO under the log's name is refused rather than waited on.
  const std::string fifo = dir_ + "impdebug0127.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_FALSE(env_.appendToFile(fifo, "linha\n", &error));
}

// Temporary files of saves cut short pile up no more: those of dead processes go at the
// next save of the same file; a live writer's file and other files stay.
TEST_F(RealEnv, ReplaceRemovesTemporariesLeftByDeadProcesses) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getppid());
  const std::string path = dir_ + "Merkato.cds";
  const std::string victim = dir_ + "victim.txt";
  std::ofstream(victim) << "intact";
  for (const std::string& name : {path + ".tmp-" + dead, path + ".tmp-" + dead + "-00ff",
                                  path + ".tmp-" + alive + "-00ff", path + ".tmp-x1",
                                  dir_ + "Outro.cds.tmp-" + dead}) {
    std::ofstream(name) << "leftover";
  }
  fs::create_symlink(victim, path + ".tmp-" + dead + "-link");
  fs::create_directory(path + ".tmp-" + dead + "-dir");

  std::string error;
  ASSERT_TRUE(env_.replaceFile(path, "GT=10,00", &error)) << error;
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    left.insert(entry.path().filename().string());
  }
  EXPECT_EQ(left, (std::set<std::string>{"Merkato.cds", "Merkato.cds.tmp-" + alive + "-00ff",
                                         "Merkato.cds.tmp-x1", "Merkato.cds.tmp-" + dead + "-dir",
                                         "Outro.cds.tmp-" + dead, "victim.txt"}));
  EXPECT_EQ(read(victim), "intact");
}

// Reading takes regular files of bounded size only: a device or a FIFO under the name
// is refused at once (never read forever), a file over the limit is refused unread.
TEST_F(RealEnv, ReadTakesOnlyRegularFilesWithinTheLimit) {
  std::string contents = "unchanged";
  std::string error;
  EXPECT_FALSE(env_.readFile("/dev/zero", contents, &error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  const std::string fifo = dir_ + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_FALSE(env_.readFile(fifo, contents, &error));
  const std::string link = dir_ + "zero";
  fs::create_symlink("/dev/zero", link);
  EXPECT_FALSE(env_.readFile(link, contents, &error));

  const std::string big = dir_ + "big.cds";
  std::ofstream(big) << std::string(1001, 'x');
  EXPECT_FALSE(env_.readFile(big, contents, &error, 1000));
  EXPECT_NE(error.find("1001 bytes"), std::string::npos) << error;
  EXPECT_EQ(contents, "unchanged");
  ASSERT_TRUE(env_.readFile(big, contents, &error, 1001)) << error;
  EXPECT_EQ(contents.size(), 1001u);

  // Through a link to a regular file, reading is fine.
  fs::create_symlink(big, dir_ + "link.cds");
  EXPECT_TRUE(env_.readFile(dir_ + "link.cds", contents, &error, 1001)) << error;
}

TEST_F(RealEnv, FilesAndDirectories) {
  std::string contents = "unchanged";
  std::string error;
  EXPECT_FALSE(env_.readFile(dir_ + "nothing.txt", contents, &error));
  EXPECT_NE(error.find("nothing.txt"), std::string::npos) << error;
  EXPECT_EQ(contents, "unchanged");
  EXPECT_FALSE(env_.readFile(dir_ + "nothing.txt", contents, nullptr)) << "no error text asked";

  ASSERT_TRUE(env_.createDirectory(dir_ + "a/b", &error)) << error;
  EXPECT_TRUE(env_.createDirectory(dir_ + "a/b", &error)) << "already there is fine";
  EXPECT_TRUE(env_.directoryExists(dir_ + "a/b"));
  EXPECT_FALSE(env_.fileExists(dir_ + "a/b"));
  ASSERT_TRUE(env_.appendToFile(dir_ + "a/f", "x", &error));
  EXPECT_TRUE(env_.fileExists(dir_ + "a/f"));
  EXPECT_FALSE(env_.directoryExists(dir_ + "a/f"));
  EXPECT_FALSE(env_.createDirectory(dir_ + "a/f", &error)) << "a file has that name";
  EXPECT_FALSE(env_.createDirectory(dir_ + "a/f/g", &error));
}

TEST(RealEnvPaths, HostDirectoryIsTheExecutablesWithASeparator) {
  const std::string directory = realEnv().hostDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_TRUE(realEnv().fileExists(directory + "ecf_base_tests")) << directory;
  EXPECT_EQ(executableDirectory(), directory);
  EXPECT_EQ(pathSeparator(), '/');
  EXPECT_EQ(withTrailingSeparator("/tmp/x"), "/tmp/x/");
  EXPECT_EQ(withTrailingSeparator("/tmp/x/"), "/tmp/x/");
  EXPECT_EQ(withTrailingSeparator(""), "") << "never the root directory";
}

TEST(RealEnvLibraries, LoadAndFindSymbols) {
  std::string error;
  void* library = realEnv().loadLibrary("libm.so.6", &error);
  ASSERT_NE(library, nullptr) << error;
  EXPECT_NE(realEnv().findSymbol(library, "cos"), nullptr);
  EXPECT_EQ(realEnv().findSymbol(library, "DLLG2_NoSuchEntry"), nullptr);
  EXPECT_EQ(realEnv().findSymbol(nullptr, "cos"), nullptr);

  EXPECT_EQ(realEnv().loadLibrary("libNoSuchDriver.so", &error), nullptr);
  EXPECT_NE(error.find("libNoSuchDriver.so"), std::string::npos) << error;
}

// The clock reads local civil time: with the zone three hours behind UTC it must be
// three hours behind the UTC reading.
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

TEST(RealEnvClock, DelayCountsTenthsOfASecond) {
  const auto start = std::chrono::steady_clock::now();
  realEnv().delay(2);
  const auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
  EXPECT_GE(tookMs, 200);
  EXPECT_LT(tookMs, 2000);
  const auto before = std::chrono::steady_clock::now();
  realEnv().delay(-5);
  realEnv().processMessages();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(100));
}

}  // namespace
}  // namespace ecf

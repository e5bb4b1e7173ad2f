// The real environment where POSIX files differ: links, FIFOs and devices planted under the
// names the module reads and writes, and temporary files of processes that died.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "base/env.h"
#include "real_env_fixture.h"

namespace ecf {
namespace {

namespace fs = std::filesystem;

using RealEnvPosix = RealEnvTest;

// Links planted in the host directory under the names we write never redirect a write:
// not the debug log's, not a temporary file's (the old predictable name included).
TEST_F(RealEnvPosix, PlantedLinksAreNeverFollowedWhenWriting) {
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
TEST_F(RealEnvPosix, ReplaceRemovesTemporariesLeftByDeadProcesses) {
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
TEST_F(RealEnvPosix, ReadTakesOnlyRegularFilesWithinTheLimit) {
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

}  // namespace
}  // namespace ecf

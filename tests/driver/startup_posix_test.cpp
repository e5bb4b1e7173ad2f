// Starting the printer session where POSIX files differ: a device or a link planted in the
// host directory under the names the start-up reads and writes.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver/startup_fixture.h"

namespace ecftest {
namespace {

// A device under the grand-total file's name is reported at once, unread, and the step goes
// on as for any unreadable file.
TEST_F(StartUpTest, ADeviceUnderTheGrandTotalFilesNameIsRefusedUnread) {
  ASSERT_TRUE(start());
  std::filesystem::create_symlink("/dev/zero", grandTotalPath());
  op().clear();
  EXPECT_TRUE(updateGrandTotal("N"));
  ASSERT_EQ(1u, op().texts().size());
  EXPECT_NE(op().texts()[0].find("not a regular file"), std::string::npos) << op().texts()[0];
}

// Links planted in the host directory never redirect what the module writes: not the
// monthly debug log, not the grand-total file's temporary file under its old name.
TEST_F(StartUpTest, PlantedLinksInTheHostDirectoryAreNeverWrittenThrough) {
  const std::string victim = hostDir_ + "victim.txt";
  std::ofstream(victim) << "intact";
  std::filesystem::create_symlink(victim, hostDir_ + "impdebug1226.txt");
  std::filesystem::create_symlink(victim, grandTotalPath() + ".tmp-" + std::to_string(::getpid()));
  writeGrandTotalFile("S", "1,00");
  ASSERT_TRUE(start());
  ImpFisDebug("linha de teste");
  printerGrandTotalIs("2.000,00");
  EXPECT_TRUE(updateGrandTotal("N"));
  EXPECT_EQ("2000", recordedTotal());
  EXPECT_FALSE(std::filesystem::is_symlink(grandTotalPath()));
  EXPECT_EQ("intact", ecftest::fileBytes(victim));
  // Nor a second name (hard link) of a file elsewhere under the debug log's name.
  std::filesystem::remove(hostDir_ + "impdebug1226.txt");
  std::filesystem::create_hard_link(victim, hostDir_ + "impdebug1226.txt");
  ImpFisDebug("linha de teste");
  EXPECT_EQ("intact", ecftest::fileBytes(victim));
}

// The operator is told why the port did not open: here, a printer in use by another process.
TEST_F(StartUpTest, APortThatDoesNotOpenIsReportedWithTheDriversReason) {
  const std::string directory = printerRoot_ + port_;
  std::filesystem::create_directories(directory);
  const int lock = ::open((directory + "/lock").c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_EQ(0, ::flock(lock, LOCK_EX | LOCK_NB));
  EXPECT_FALSE(start());
  ::close(lock);
  EXPECT_EQ(std::vector<std::string>{"Erro ao abrir porta de comunicação. 14: ImpressoraEmUso "
                                     "impressora em uso por outro processo"},
            op().texts());
}

// Recording on a full disk: the host directory becomes a small file system of its own where
// the test may mount one, else a file-size limit makes the same writes fail.
TEST_F(StartUpTest, AGrandTotalThatDoesNotReachTheDiskIsNotRecorded) {
  ASSERT_TRUE(start());
  const bool mounted = ::mount("tmpfs", hostDir_.c_str(), "tmpfs", 0, "size=64k") == 0;
  writeGrandTotalFile("S", "1,00");
  const std::string before = fileBytes();
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit unlimited = limit;
  if (mounted) {
    std::ofstream filler(hostDir_ + "filler", std::ios::binary);
    while (filler << std::string(4096, 'x')) {
    }
  } else {
    std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  printerGrandTotalIs("2.000,00");
  op().clear();
  const bool recorded = updateGrandTotal("N");
  const std::string after = fileBytes();
  if (mounted) {
    ::umount2(hostDir_.c_str(), MNT_DETACH);
  } else {
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
  }
  EXPECT_FALSE(recorded);
  EXPECT_EQ(before, after);
  ASSERT_EQ(1u, op().texts().size());
  EXPECT_NE(op().texts()[0].find(mounted ? "No space left on device" : "File too large"),
            std::string::npos)
      << op().texts()[0];
}

}  // namespace
}  // namespace ecftest

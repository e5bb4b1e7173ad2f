// The real environment: files that a failed write can never corrupt, the host
// directory, library loading, the local clock and pauses.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/env.h"
#include "base/utf8_path.h"
#include "platform/test_platform.h"
#include "real_env_fixture.h"

namespace ecf {
namespace {

namespace fs = std::filesystem;

using RealEnv = RealEnvTest;

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
  EXPECT_EQ(std::distance(fs::directory_iterator(pathFromUtf8(dir_)), fs::directory_iterator{}), 1)
      << "no temporary file is left behind";
}

TEST_F(RealEnv, AFailedReplaceLeavesTheOldFileIntact) {
  const std::string path = dir_ + "total.dat";
  std::string error;
  ASSERT_TRUE(env_.replaceFile(path, "GT=1000,00", &error)) << error;

  // The temporary file cannot be created: its name, longer than the target's, is too long.
  const std::string longPath = dir_ + std::string(240, 'g');
  std::ofstream(pathFromUtf8(longPath)) << "GT=1000,00";
  EXPECT_FALSE(env_.replaceFile(longPath, "GT=2000,00", &error));
  EXPECT_NE(error.find(".tmp-"), std::string::npos) << error;
  EXPECT_EQ(read(longPath), "GT=1000,00");

  // The rename fails (the target is a non-empty directory): the temporary file is removed.
  const std::string busy = dir_ + "busy";
  fs::create_directories(pathFromUtf8(busy) / "inside");
  error.clear();
  EXPECT_FALSE(env_.replaceFile(busy, "x", &error));
  EXPECT_FALSE(error.empty());
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find("busy.tmp-"), std::string::npos)
        << "the temporary file is removed";
  }
  EXPECT_EQ(read(path), "GT=1000,00");
}

TEST_F(RealEnv, AReaderHoldingTheFileForAMomentDoesNotStopAReplace) {
  const std::string path = dir_ + "Merkato.cds";
  std::string error;
  ASSERT_TRUE(env_.replaceFile(path, "GT=1000,00", &error)) << error;
  std::promise<void> opened;
  std::string seen;
  std::thread reader([&] {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    opened.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  opened.get_future().wait();
  EXPECT_TRUE(env_.replaceFile(path, "GT=2000,00", &error)) << error;
  reader.join();
  EXPECT_EQ(seen, "GT=1000,00") << "the reader saw the old file whole";
  EXPECT_EQ(read(path), "GT=2000,00");
}

TEST_F(RealEnv, AccentedNamesAreTheNamesOnDisk) {
  const std::string dir = dir_ + "Caixa São João" + pathSeparator();
  std::string error;
  ASSERT_TRUE(env_.createDirectory(dir, &error)) << error;
  EXPECT_TRUE(env_.directoryExists(dir));
  ASSERT_TRUE(env_.appendToFile(dir + "impdebug1226.txt", "Pão\n", &error)) << error;
  ASSERT_TRUE(env_.replaceFile(dir + "Relatório.cds", "GT", &error)) << error;
  EXPECT_TRUE(env_.fileExists(dir + "Relatório.cds"));
  EXPECT_EQ(read(dir + "impdebug1226.txt"), "Pão\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(pathFromUtf8(dir_))) {
    names.push_back(utf8FromPath(entry.path().lexically_relative(pathFromUtf8(dir_))));
  }
  std::sort(names.begin(), names.end());
  const std::string separator(1, pathSeparator());
  EXPECT_EQ(names, (std::vector<std::string>{"Caixa São João",
                                             "Caixa São João" + separator + "Relatório.cds",
                                             "Caixa São João" + separator + "impdebug1226.txt"}));
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
  EXPECT_EQ(directory.back(), pathSeparator());
  EXPECT_TRUE(realEnv().fileExists(directory + testplatform::programFileName("ecf_base_tests")))
      << directory;
  EXPECT_EQ(executableDirectory(), directory);
  const std::string separator(1, pathSeparator());
  for (const std::string& ended : {"x" + separator, std::string("x/")}) {
    EXPECT_EQ(withTrailingSeparator(ended), ended);
  }
  EXPECT_EQ(withTrailingSeparator("x"), "x" + separator);
  EXPECT_EQ(withTrailingSeparator(""), "") << "never the root directory";
}

TEST(RealEnvLibraries, LoadAndFindSymbols) {
  std::string error;
  void* library = realEnv().loadLibrary(testplatform::kSystemLibrary, &error);
  ASSERT_NE(library, nullptr) << error;
  EXPECT_NE(realEnv().findSymbol(library, testplatform::kSystemFunction), nullptr);
  EXPECT_EQ(realEnv().findSymbol(library, "DLLG2_NoSuchEntry"), nullptr);
  EXPECT_EQ(realEnv().findSymbol(nullptr, testplatform::kSystemFunction), nullptr);

  EXPECT_EQ(realEnv().loadLibrary("libNoSuchDriver.so", &error), nullptr);
  EXPECT_NE(error.find("libNoSuchDriver.so"), std::string::npos) << error;
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

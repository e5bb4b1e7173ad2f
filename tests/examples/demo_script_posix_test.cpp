// scripts/demo.sh around a stand-in build: it ends by running the host tool's demo, and a
// build that left no host tool is a failure, never a friendly exit. A shell script of the
// build machine: the Windows builds run the same tool's demo in the ecfhost suite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "ecfhost/run_tool.h"

namespace ecfhosttest {
namespace {

using ::testing::HasSubstr;

void writeScript(const std::filesystem::path& path, const std::string& body) {
  std::filesystem::create_directories(path.parent_path());
  writeFile(path, "#!/bin/sh\n" + body);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(DemoScript, RunsTheHostToolsDemoAndFailsWithoutIt) {
  ScratchDirectory scratch;
  const std::filesystem::path root = scratch.path();
  std::filesystem::create_directories(root / "scripts");
  std::filesystem::copy_file(std::filesystem::path(ECF_SOURCE_DIR) / "scripts" / "demo.sh",
                             root / "scripts" / "demo.sh");
  // Dependencies present and the build done: only the script's own steps remain.
  writeScript(root / "scripts" / "install-deps.sh", "exit 0\n");
  writeScript(root / "stubs" / "cmake", "exit 0\n");
  const std::filesystem::path tool = root / "build" / "default" / "bin" / "ecfhost";
  writeScript(tool, "echo \"ecfhost $*\"\n");
  const testplatform::Variables path{{"PATH", (root / "stubs").string() + ":" + std::getenv("PATH")}};

  ToolRun run = runProgram("bash", {"scripts/demo.sh", "--answer", "yes"}, root, path);
  EXPECT_EQ(0, run.status) << run.output;
  EXPECT_EQ("ecfhost demo --answer yes\n", run.output);

  std::filesystem::remove(tool);
  run = runProgram("bash", {"scripts/demo.sh"}, root, path);
  EXPECT_NE(0, run.status) << run.output;
  EXPECT_THAT(run.output, HasSubstr("build/default/bin/ecfhost"));
}

}  // namespace
}  // namespace ecfhosttest

// Running the host tool (or another program of the build) as a subprocess, as a user
// would, in a scratch directory.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/test_platform.h"

namespace ecfhosttest {

using ToolRun = testplatform::ProcessRun;

// A file of the build under test: bin/<name> (from ECF_TEST_BIN).
std::string binPath(const std::string& name);
// The build's program of that name (bin/<stem>, with .exe on Windows).
std::string programPath(const std::string& stem);
// bin/ecfhost of the build under test.
std::string toolPath();

// Runs `program` with these arguments and `variables` added to the environment; the
// working directory is `directory`.
ToolRun runProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& directory,
                   const testplatform::Variables& variables = {});
// Runs ecfhost with these arguments; the working directory is `directory`.
ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& directory);

// A fresh directory under the system's temporary one, removed by the destructor.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

// The documents of a tape: split at the lines of 48 "=".
std::vector<std::string> tapeDocuments(const std::string& tape);

}  // namespace ecfhosttest

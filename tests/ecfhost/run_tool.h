// Running the host tool (or another program of the build) as a subprocess, as a user
// would, in a scratch directory.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ecfhosttest {

struct ToolRun {
  int status = -1;     // the exit status
  std::string output;  // standard output and standard error together
};

// A program of the build under test: bin/<name> (from ECF_TEST_BIN).
std::string binPath(const std::string& name);
// bin/ecfhost of the build under test.
std::string toolPath();

// Runs `program` with these arguments; the working directory is `directory`.
ToolRun runProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& directory);
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

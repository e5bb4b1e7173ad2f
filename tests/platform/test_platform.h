// What the tests need from the operating system: scratch directories, the process
// environment, the build's file names, running programs and child processes, loading
// libraries. One implementation per platform (test_platform_posix.cpp,
// test_platform_win32.cpp), chosen by the build, so the suites themselves stay portable.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testplatform {

// A new, empty directory under the system's temporary one, named "<prefix>-<unique>".
std::filesystem::path makeScratchDirectory(const std::string& prefix);
// The same on a memory file system where the system has one, so that the printer's
// memory, saved after every command, keeps the suite fast.
std::filesystem::path makeMemoryScratchDirectory(const std::string& prefix);

// The process environment, in UTF-8; children started afterwards inherit it.
void setEnvironment(const std::string& name, const std::string& value);
void unsetEnvironment(const std::string& name);
std::optional<std::string> environment(const std::string& name);

int processId();

// What tells one file from another on its file system (the inode, the file index on
// Windows); 0 when nothing is at `path`. A file replaced by another under the same name
// gets a new identity.
unsigned long long fileIdentity(const std::filesystem::path& path);

// File names of the build's binaries: "libDLLG2.so" / "DLLG2.dll" for the driver,
// "libecfmodule.so" / "ecfmodule.dll" for the module, "ecfhost" / "ecfhost.exe".
extern const char* const kDriverFileName;
extern const char* const kModuleFileName;
std::string programFileName(const std::string& stem);
// The directory of the build's binaries (ECF_TEST_BIN, else this program's).
std::filesystem::path binDirectory();

// A device that reads as an endless file: "/dev/zero", or "NUL" on Windows.
extern const char* const kDeviceFile;

// A library of the system and a function it exports, for loader tests.
extern const char* const kSystemLibrary;
extern const char* const kSystemFunction;

struct ProcessRun {
  int status = -1;     // the exit status
  std::string output;  // standard output and standard error together
};
using Variables = std::vector<std::pair<std::string, std::string>>;

// Runs `program` with `args` in `directory`, with `variables` added to this process's
// environment and nothing on standard input (never a terminal). A program without a
// directory part is looked for on the search path.
ProcessRun runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& directory, const Variables& variables = {});

// This test program's own file.
std::filesystem::path currentProgram();

// Ends this process at once, as a kill would: no exit handlers, no library clean-up.
[[noreturn]] void endAbruptly(int status);

}  // namespace testplatform

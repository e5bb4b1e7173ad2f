#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "platform/test_platform.h"

namespace testplatform {

const char* const kDriverFileName = "libDLLG2.so";
const char* const kModuleFileName = "libecfmodule.so";
const char* const kDeviceFile = "/dev/zero";
const char* const kSystemLibrary = "libm.so.6";
const char* const kSystemFunction = "cos";

std::filesystem::path makeScratchDirectory(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

std::filesystem::path makeMemoryScratchDirectory(const std::string& prefix) {
  std::string pattern = "/dev/shm/" + prefix + "-XXXXXX";
  if (::access("/dev/shm", W_OK | X_OK) == 0 && ::mkdtemp(pattern.data()) != nullptr) {
    return pattern;
  }
  return makeScratchDirectory(prefix);
}

unsigned long long fileIdentity(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  return static_cast<unsigned long long>(info.st_ino);
}

void setEnvironment(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void unsetEnvironment(const std::string& name) { ::unsetenv(name.c_str()); }

std::optional<std::string> environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

int processId() { return static_cast<int>(::getpid()); }

std::string programFileName(const std::string& stem) { return stem; }

std::filesystem::path binDirectory() {
  if (const auto bin = environment("ECF_TEST_BIN")) return *bin;
  return currentProgram().parent_path();
}

ProcessRun runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& directory, const Variables& variables) {
  // Everything the child needs is built before the fork: after it, only system calls.
  std::vector<std::string> texts{program.string()};
  texts.insert(texts.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  std::vector<std::string> assignments;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string assignment = *entry;
    bool replaced = false;
    for (const auto& variable : variables) {
      replaced = replaced || assignment.rfind(variable.first + "=", 0) == 0;
    }
    if (!replaced) assignments.push_back(assignment);
  }
  for (const auto& [name, value] : variables) assignments.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& assignment : assignments) envp.push_back(assignment.data());
  envp.push_back(nullptr);
  const std::string where = directory.string();

  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::close(pipeEnds[0]);
    const int nothing = ::open("/dev/null", O_RDONLY);
    ::dup2(nothing, STDIN_FILENO);
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::dup2(pipeEnds[1], STDERR_FILENO);
    if (::chdir(where.c_str()) != 0) ::_exit(127);
    ::execvpe(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  ProcessRun run;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

std::filesystem::path currentProgram() { return std::filesystem::read_symlink("/proc/self/exe"); }

void endAbruptly(int status) { ::_exit(status); }

}  // namespace testplatform

// The real environment on POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include "base/env.h"
#include "base/temporary_name.h"

namespace ecf {
namespace {

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

bool failErrno(std::string* error, const std::string& action, const std::string& path) {
  return fail(error, action + " '" + path + "': " + std::strerror(errno));
}

// Writes all of `data`, retrying short writes and interruptions.
bool writeAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

std::string parentDirectory(const std::string& path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

// Reads an open file that must be a regular one of at most `maxBytes`; "" on success,
// else what went wrong.
std::string readRegularFile(int fd, const std::string& path, std::size_t maxBytes,
                            std::string& data) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return "cannot read '" + path + "': " + std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "cannot read '" + path + "': not a regular file";
  const auto tooBig = [&](std::uintmax_t size) {
    return "cannot read '" + path + "': " + std::to_string(size) + " bytes, more than the " +
           std::to_string(maxBytes) + " bytes such a file may have";
  };
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    return tooBig(static_cast<std::uintmax_t>(info.st_size));
  }
  data.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return "cannot read '" + path + "': " + std::strerror(errno);
    if (got == 0) return "";
    // The file may grow while it is read: the limit holds for what is read too.
    if (static_cast<std::size_t>(got) > maxBytes - data.size()) {
      return tooBig(data.size() + static_cast<std::size_t>(got));
    }
    data.append(buffer, static_cast<std::size_t>(got));
  }
}


// A new temporary file beside `path`, opened for writing, or -1 with errno set.
int createTemporary(const std::string& path, std::string& temporary) {
  const std::string prefix = temporaryPrefix(path) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = prefix + randomSuffix();
    const int fd = ::open(temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// A save cut short by a crash leaves its temporary file behind; left alone, they would
// pile up. Only files of processes that no longer run are removed: a live writer's file
// is its own business. A link is removed as a link, never followed.
void removeAbandonedTemporaries(const std::string& path) {
  const std::string directory = parentDirectory(path);
  const std::string prefix = std::filesystem::path(temporaryPrefix(path)).filename().string();
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(directory, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const auto owner = static_cast<pid_t>(ownerOfTemporary(name, prefix));
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    std::error_code typeError;
    const auto type = it->symlink_status(typeError).type();
    if (typeError) continue;
    using std::filesystem::file_type;
    if (type == file_type::regular || type == file_type::symlink) ::unlink(it->path().c_str());
  }
}

class PosixEnv final : public Env {
 public:
  DateTime now() override {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    const std::time_t seconds = static_cast<std::time_t>(millis / 1000);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) return DateTime::fromUnixMillis(millis);
    return DateTime::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                               local.tm_hour, local.tm_min,
                               local.tm_sec > 59 ? 59 : local.tm_sec,  // leap second
                               static_cast<int>(millis % 1000));
  }

  std::string hostDirectory() override { return executableDirectory(); }

  bool fileExists(const std::string& path) override {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
  }

  bool directoryExists(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
  }

  bool readFile(const std::string& path, std::string& contents, std::string* error,
                std::size_t maxBytes) override {
    // Non-blocking, so that opening a FIFO planted under the name cannot hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return failErrno(error, "cannot open", path);
    std::string data;
    const std::string failure = readRegularFile(fd, path, maxBytes, data);
    ::close(fd);
    if (!failure.empty()) return fail(error, failure);
    contents = std::move(data);
    return true;
  }

  bool appendToFile(const std::string& path, const std::string& data,
                    std::string* error) override {
    // A link planted under the name would make us write wherever it points.
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY |
                              O_NONBLOCK,
                          0644);
    if (fd < 0) return failErrno(error, "cannot open", path);
    std::string failure;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      failure = "cannot write '" + path + "': not a regular file";
    } else if (info.st_nlink > 1) {
      // A hard link planted under the name is a file elsewhere under a second name.
      failure = "cannot write '" + path + "': the file has more than one link";
    } else if (!writeAll(fd, data)) {
      failure = "cannot write '" + path + "': " + std::strerror(errno);
    }
    if (::close(fd) != 0 && failure.empty()) {
      failure = "cannot write '" + path + "': " + std::strerror(errno);
    }
    if (!failure.empty()) return fail(error, failure);
    return true;
  }

  bool replaceFile(const std::string& path, const std::string& data,
                   std::string* error) override {
    removeAbandonedTemporaries(path);
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) return failErrno(error, "cannot create", temporary);
    // The old file is only touched by the rename, after the new content is on disk.
    std::string failure;
    if (!writeAll(fd, data)) {
      failure = "cannot write '" + temporary + "': " + std::strerror(errno);
    } else if (::fsync(fd) != 0) {
      failure = "cannot flush '" + temporary + "': " + std::strerror(errno);
    }
    if (::close(fd) != 0 && failure.empty()) {
      failure = "cannot write '" + temporary + "': " + std::strerror(errno);
    }
    if (!failure.empty()) {
      ::unlink(temporary.c_str());
      return fail(error, failure);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
      const bool result = failErrno(error, "cannot replace", path);
      ::unlink(temporary.c_str());
      return result;
    }
    // Makes the rename itself durable; a failure here no longer risks the content.
    const int directory = ::open(parentDirectory(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
      ::fsync(directory);
      ::close(directory);
    }
    return true;
  }

  bool createDirectory(const std::string& path, std::string* error) override {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) return fail(error, "cannot create directory '" + path + "': " + ec.message());
    if (!std::filesystem::is_directory(path, ec)) {
      return fail(error, "cannot create directory '" + path + "': a file has that name");
    }
    return true;
  }

  void* loadLibrary(const std::string& name, std::string* error) override {
    void* handle = ::dlopen(name.c_str(), RTLD_NOW);
    if (handle == nullptr) {
      const char* reason = ::dlerror();
      fail(error, reason ? reason : "cannot load library '" + name + "'");
    }
    return handle;
  }

  void* findSymbol(void* library, const std::string& name) override {
    if (library == nullptr) return nullptr;
    return ::dlsym(library, name.c_str());
  }

  void delay(int count) override {
    if (count > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100LL * count));
  }

  void processMessages() override {}
};

}  // namespace

Env& realEnv() {
  static PosixEnv env;
  return env;
}

char pathSeparator() { return '/'; }

std::string executableDirectory() {
  std::error_code ec;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || executable.empty()) return withTrailingSeparator(".");  // no /proc
  return withTrailingSeparator(executable.parent_path().string());
}

}  // namespace ecf

namespace ecf {

std::string codeDirectory() {
  // The binary that holds this very function: the module when the module calls it.
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&codeDirectory), &info) == 0 || !info.dli_fname) {
    return "";
  }
  std::error_code ec;
  const std::filesystem::path binary = std::filesystem::canonical(info.dli_fname, ec);
  if (ec) return "";
  return withTrailingSeparator(binary.parent_path().string());
}

}  // namespace ecf

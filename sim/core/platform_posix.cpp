#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/temporary_name.h"
#include "core/platform.h"

namespace ecfsim::platform {
namespace {

bool writeAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// The rename itself must reach the disk too, or a crash could bring the old name back.
void flushDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// A new temporary file beside `target`, opened for writing, or -1 with errno set.
int createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  const std::string prefix = ecf::temporaryPrefix(target.string()) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = prefix + ecf::randomSuffix();
    const int fd = ::open(temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

const bool kDeviceNamesReserved = false;

std::optional<std::filesystem::path> environmentPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

std::optional<std::filesystem::path> defaultStateRoot() {
  if (auto xdg = environmentPath("XDG_STATE_HOME")) return *xdg / "ecfsim";
  if (auto home = environmentPath("HOME")) return *home / ".local" / "state" / "ecfsim";
  return std::nullopt;
}

bool FileLock::acquire(const std::filesystem::path& path, std::string& error) {
  release();
  heldElsewhere_ = false;
  // Never through a link, and never a FIFO or a device planted under the name.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "arquivo recusado: " + path.string() + ": " +
            (fd < 0 ? std::strerror(errno) : "não é um arquivo comum");
    if (fd >= 0) ::close(fd);
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    heldElsewhere_ = true;
    error = "impressora em uso por outro processo";
    return false;
  }
  handle_ = fd;
  return true;
}

void FileLock::release() {
  if (handle_ < 0) return;
  const int fd = static_cast<int>(handle_);
  ::flock(fd, LOCK_UN);
  ::close(fd);
  handle_ = -1;
}

bool replaceFile(const std::filesystem::path& target, const std::string& data, bool durable,
                 std::string& error) {
  const bool created = ::access(target.c_str(), F_OK) != 0;
  std::filesystem::path temporary;
  const int fd = createTemporary(target, temporary);
  if (fd < 0) {
    error = "não foi possível criar " + temporary.string() + ": " + std::strerror(errno);
    return false;
  }
  const bool written = writeAll(fd, data) && (!durable || ::fsync(fd) == 0);
  const int writeErrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    const std::string reason = std::strerror(written ? errno : writeErrno);
    ::unlink(temporary.c_str());
    error = "falha ao gravar " + temporary.string() + ": " + reason;
    return false;
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error = "falha ao substituir " + target.string() + ": " + std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  if (durable || created) flushDirectory(target.parent_path());
  return true;
}

std::tm localTime(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  return local;
}

}  // namespace ecfsim::platform

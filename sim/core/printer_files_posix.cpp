// The printer's own files on POSIX systems: the host directory's rules, so that nothing
// planted in the printer's directory redirects, hangs or floods it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/utf8_path.h"
#include "core/printer_files.h"

namespace ecfsim::platform {
namespace {

std::string refused(const std::filesystem::path& path, const std::string& why) {
  return "arquivo recusado: " + ecf::utf8FromPath(path) + ": " + why;
}

std::string systemError(const std::filesystem::path& path) {
  return refused(path, std::strerror(errno));
}

// What keeps an open file from being written as the printer's own: "" when nothing does.
std::string unfitForWriting(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "não é um arquivo comum";
  if (info.st_nlink > 1) return "o arquivo tem mais de um nome (link)";
  return "";
}

}  // namespace

bool AppendHandle::open(const std::filesystem::path& path, std::string& error) {
  close();
  // Non-blocking, so a FIFO planted under the name fails at once instead of waiting for
  // a reader; never through a link.
  const int fd = ::open(path.c_str(),
                        O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY |
                            O_NONBLOCK,
                        0644);
  if (fd < 0) {
    error = errno == ELOOP ? refused(path, "é um link") : systemError(path);
    return false;
  }
  const std::string unfit = unfitForWriting(fd);
  if (!unfit.empty()) {
    ::close(fd);
    error = refused(path, unfit);
    return false;
  }
  handle_ = fd;
  path_ = path;
  return true;
}

bool AppendHandle::write(const std::string& data, std::string& error) {
  const int fd = static_cast<int>(handle_);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = "falha ao gravar " + ecf::utf8FromPath(path_) + ": " + std::strerror(errno);
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

bool AppendHandle::truncate(std::int64_t size, std::string& error) {
  if (::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) == 0) return true;
  error = "falha ao cortar " + ecf::utf8FromPath(path_) + ": " + std::strerror(errno);
  return false;
}

std::int64_t AppendHandle::size() const {
  struct stat info {};
  if (::fstat(static_cast<int>(handle_), &info) != 0) return 0;
  return static_cast<std::int64_t>(info.st_size);
}

void AppendHandle::close() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));
  handle_ = -1;
}

bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& data,
                     std::string& error) {
  data.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    error = systemError(path);
    return false;
  }
  struct stat info {};
  std::string failure;
  if (::fstat(fd, &info) != 0) {
    failure = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    failure = "não é um arquivo comum";
  } else if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    failure = std::to_string(info.st_size) + " bytes, mais que os " + std::to_string(maxBytes) +
              " que esse arquivo pode ter";
  }
  char buffer[64 * 1024];
  while (failure.empty()) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failure = std::strerror(errno);
    if (got <= 0) break;
    // The file may grow while it is read: the limit holds for what is read too.
    if (static_cast<std::size_t>(got) > maxBytes - data.size()) {
      failure = "mais de " + std::to_string(maxBytes) + " bytes";
      break;
    }
    data.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (failure.empty()) return true;
  data.clear();
  error = refused(path, failure);
  return false;
}

}  // namespace ecfsim::platform

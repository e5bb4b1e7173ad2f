#include "core/state_store.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace ecfsim {
namespace {

std::optional<std::filesystem::path> fromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

bool writeAll(std::FILE* file, const std::string& data) {
  return std::fwrite(data.data(), 1, data.size(), file) == data.size() && std::fflush(file) == 0;
}

bool flushToDisk(std::FILE* file) {
#if defined(_WIN32)
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

// The rename itself must reach the disk too, or a crash could bring the old name back.
void flushDirectory(const std::filesystem::path& directory) {
#if !defined(_WIN32)
  const int fd = ::open(directory.c_str(), O_RDONLY);
  if (fd >= 0) {
    fsync(fd);
    ::close(fd);
  }
#else
  (void)directory;
#endif
}

}  // namespace

std::optional<std::filesystem::path> stateRoot() {
  if (auto root = fromEnvironment("ECFSIM_ROOT")) return root;
#if defined(_WIN32)
  if (auto local = fromEnvironment("LOCALAPPDATA")) return *local / "ecfsim";
#endif
  if (auto xdg = fromEnvironment("XDG_STATE_HOME")) return *xdg / "ecfsim";
  if (auto home = fromEnvironment("HOME")) return *home / ".local" / "state" / "ecfsim";
  return std::nullopt;
}

std::string sanitizePortName(std::string_view port) {
  std::string name;
  for (const char c : port) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
    name += keep ? c : '_';
    if (name.size() == 64) break;
  }
  for (auto pos = name.find(".."); pos != std::string::npos; pos = name.find("..")) {
    name[pos] = '_';
  }
  if (!name.empty() && name[0] == '.') name[0] = '_';
  return name.empty() ? "default" : name;
}

bool StateStore::acquire(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(directory_, ec);
  if (ec) {
    error = "não foi possível criar " + directory_.string() + ": " + ec.message();
    return false;
  }
#if !defined(_WIN32)
  const std::filesystem::path lockPath = directory_ / "lock";
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0644);
  if (fd < 0) {
    error = "não foi possível abrir " + lockPath.string();
    return false;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    error = "impressora em uso por outro processo";
    return false;
  }
  lockHandle_ = fd;
#endif
  return true;
}

void StateStore::release() {
#if !defined(_WIN32)
  if (lockHandle_ >= 0) {
    flock(lockHandle_, LOCK_UN);
    ::close(lockHandle_);
  }
#endif
  lockHandle_ = -1;
}

bool StateStore::hasState() const {
  std::error_code ec;
  return std::filesystem::exists(statePath(), ec);
}

bool StateStore::read(std::string& json, std::string& error) const {
  std::error_code ec;
  std::filesystem::remove(temporaryPath(), ec);
  std::ifstream in(statePath(), std::ios::binary);
  if (!in) {
    error = "não foi possível ler " + statePath().string();
    return false;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  json = contents.str();
  return true;
}

bool StateStore::write(const std::string& json, bool durable, std::string& error) const {
  const std::filesystem::path temporary = temporaryPath();
  const bool created = !hasState();
  std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
  if (file == nullptr) {
    error = "não foi possível criar " + temporary.string();
    return false;
  }
  const bool written = writeAll(file, json) && (!durable || flushToDisk(file));
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::error_code ec;
    std::filesystem::remove(temporary, ec);
    error = "falha ao gravar " + temporary.string();
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(temporary, statePath(), ec);
  if (ec) {
    error = "falha ao substituir " + statePath().string() + ": " + ec.message();
    return false;
  }
  if (durable || created) flushDirectory(directory_);
  return true;
}

void StateStore::wipe() const {
  std::error_code ec;
  for (const auto& path : {statePath(), temporaryPath(), tapePath(), recordPath()}) {
    std::filesystem::remove(path, ec);
  }
}

}  // namespace ecfsim

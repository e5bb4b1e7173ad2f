// The virtual printer's calls into the operating system: environment, the printer's lock,
// the atomic save and the computer's clock. One implementation per platform
// (platform_posix.cpp, platform_win32.cpp), chosen by the build.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace ecfsim::platform {

// A variable of the process environment read as a path (UTF-16 on Windows, so accented
// directories survive); nothing when it is unset or empty.
std::optional<std::filesystem::path> environmentPath(const char* name);

// Whether some file names are kept for devices ("COM1", "NUL" on Windows).
extern const bool kDeviceNamesReserved;

// Where printers live when ECFSIM_ROOT is not set; nothing when it cannot be told.
std::optional<std::filesystem::path> defaultStateRoot();

// An exclusive lock on a file, held until released, the object destroyed or the process
// ends (a killed process leaves no stale lock).
class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Opens (creating it) and locks `path`. False with `error` filled when it cannot be
  // opened or another holder has it.
  bool acquire(const std::filesystem::path& path, std::string& error);
  void release();
  // Whether the last acquire failed because another holder has the lock.
  bool heldElsewhere() const { return heldElsewhere_; }

 private:
  std::intptr_t handle_ = -1;
  bool heldElsewhere_ = false;
};

// Writes `data` to a temporary file of a new name beside `target` ("<target>.tmp-<process
// id>-<random>", created exclusively, never through a link) and moves it over `target`,
// so a crash of the program leaves the old file or the new one, never a mix. When `durable`, the file and the move are also
// flushed to the disk, so that a power cut cannot lose them either (the directory is
// flushed too whenever `target` is new). On failure the temporary file is removed and
// `target` is untouched.
bool replaceFile(const std::filesystem::path& target, const std::string& data, bool durable,
                 std::string& error);

// The computer's local civil time at `when`.
std::tm localTime(std::time_t when);

}  // namespace ecfsim::platform

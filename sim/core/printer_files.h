// The printer's own files (tape, journal, command record, state) follow the host
// directory's rules: written only as regular files opened without following a link and
// with no second name, read only as regular files of bounded size, so that nothing
// planted in the printer's directory redirects, hangs or floods the printer. Every refusal
// names the file. One implementation per platform (printer_files_posix.cpp,
// printer_files_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace ecfsim::platform {

// A file open for appending, created when missing.
class AppendHandle {
 public:
  AppendHandle() = default;
  ~AppendHandle() { close(); }
  AppendHandle(const AppendHandle&) = delete;
  AppendHandle& operator=(const AppendHandle&) = delete;

  // False, with `error` naming the file, for a link, a device, a FIFO, a directory or a
  // file with a second name.
  bool open(const std::filesystem::path& path, std::string& error);
  bool isOpen() const { return handle_ != -1; }
  bool write(const std::string& data, std::string& error);
  bool truncate(std::int64_t size, std::string& error);
  std::int64_t size() const;
  void close();

 private:
  std::intptr_t handle_ = -1;
  std::filesystem::path path_;
};

// The whole of a regular file of at most `maxBytes` (through a link is fine); a missing
// file reads as empty. False, with `error` naming the file, for anything else.
bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& data,
                     std::string& error);

}  // namespace ecfsim::platform

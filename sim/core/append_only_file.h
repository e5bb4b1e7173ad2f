// A file that only grows by whole appends and can be cut back to an earlier length: the
// tape, the state's journal and the command record. It stays open for appending between
// calls; close() lets go of it (before the file is removed, for instance). It is opened
// only as a regular file of its own, never through a link (printer_files.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/printer_files.h"

namespace ecfsim {

class AppendOnlyFile {
 public:
  // What read() takes at most: more than years of a busy printer's paper.
  static constexpr std::size_t kMaxReadBytes = std::size_t{1} << 30;

  explicit AppendOnlyFile(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& path() const { return path_; }
  // Opens the file (creating it) unless it is open already. False, with error() naming
  // the file, when it is not a regular file of its own.
  bool open() const;
  std::int64_t size() const;  // 0 when the file cannot be opened
  // Appends `text` and hands it to the system at once, so a killed process keeps it.
  bool append(const std::string& text) const;
  bool truncate(std::int64_t size) const;
  // The whole file; throws std::runtime_error naming it when it is no regular file of at
  // most kMaxReadBytes.
  std::string read() const;
  void close() const;
  // Why the last open, append or truncate failed.
  const std::string& error() const { return error_; }

 private:
  std::filesystem::path path_;
  mutable platform::AppendHandle handle_;
  mutable std::string error_;
};

}  // namespace ecfsim

// A file that only grows by whole appends and can be cut back to an earlier length: the
// tape and the state's journal. It stays open for appending between calls; close() lets
// go of it (before the file is removed, for instance).
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace ecfsim {

class AppendOnlyFile {
 public:
  explicit AppendOnlyFile(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& path() const { return path_; }
  std::int64_t size() const;  // 0 when the file does not exist
  // Appends `text` and flushes it to the system, so a killed process keeps it.
  bool append(const std::string& text) const;
  bool truncate(std::int64_t size) const;
  std::string read() const;
  void close() const;

 private:
  std::filesystem::path path_;
  mutable std::ofstream out_;
};

}  // namespace ecfsim

// The record of every command the printer received: name, parameters in the order they
// were added, and its answer. One JSON object per line in the state directory.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/append_only_file.h"
#include "core/params.h"

namespace ecfsim {

struct RecordedAnswer {
  int code = 0;
  std::string errorName;
  std::string circumstance;
  std::string returned;
};

class CommandRecord {
 public:
  explicit CommandRecord(std::filesystem::path path) : file_(std::move(path)) {}
  const std::filesystem::path& path() const { return file_.path(); }
  const AppendOnlyFile& file() const { return file_; }
  void append(const std::string& command, const std::vector<Param>& params,
              const RecordedAnswer& answer, const std::string& at) const;
  // All entries as one JSON array text; a line cut short by a crash is skipped.
  std::string asJsonArray() const;
  void clear() const;
  // Lets go of the file, which otherwise stays open for appending between commands.
  void close() const;

 private:
  AppendOnlyFile file_;
};

}  // namespace ecfsim

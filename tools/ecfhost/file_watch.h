// What a step added to the files the module and the printer append to (the debug log,
// the tape): remember their sizes before, read what lies beyond them after.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ecfhost {

class FileWatch {
 public:
  using Lister = std::function<std::vector<std::filesystem::path>()>;
  explicit FileWatch(Lister files) : files_(std::move(files)) {}

  void mark();  // from now on
  // Everything appended since the last mark, file by file in the lister's order.
  std::string added() const;
  // The whole content of every file, in the lister's order.
  std::string all() const;

 private:
  Lister files_;
  std::map<std::filesystem::path, std::uintmax_t> sizes_;
};

// The debug log's entries (one per line the module wrote, without the " - date time"
// ending; an entry may hold line feeds of its own, as a receipt footer does).
std::vector<std::string> debugEntries(const std::string& logText);

// The printer's refusal lines ("<code>: <name> - <circumstance>") and the module's own
// error lines ("ERRO!!! ..."), in order.
std::vector<std::string> errorEntries(const std::vector<std::string>& entries);

}  // namespace ecfhost

#include "file_watch.h"

#include <regex>

#include "workspace.h"

namespace ecfhost {

void FileWatch::mark() {
  sizes_.clear();
  for (const auto& path : files_()) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    sizes_[path] = error ? 0 : size;
  }
}

std::string FileWatch::added() const {
  std::string text;
  for (const auto& path : files_()) {
    const std::string content = readWholeFile(path);
    const auto known = sizes_.find(path);
    const std::size_t from = known == sizes_.end() ? 0 : static_cast<std::size_t>(known->second);
    // A file that shrank was rewritten: all of it is new.
    text += from <= content.size() ? content.substr(from) : content;
  }
  return text;
}

std::string FileWatch::all() const {
  std::string text;
  for (const auto& path : files_()) text += readWholeFile(path);
  return text;
}

std::vector<std::string> debugEntries(const std::string& logText) {
  static const std::regex ending(R"( - \d\d/\d\d/\d{4} \d\d:\d\d:\d\d\n)");
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (auto it = std::sregex_iterator(logText.begin(), logText.end(), ending);
       it != std::sregex_iterator(); ++it) {
    const auto position = static_cast<std::size_t>(it->position());
    entries.push_back(logText.substr(start, position - start));
    start = position + static_cast<std::size_t>(it->length());
  }
  return entries;
}

std::vector<std::string> errorEntries(const std::vector<std::string>& entries) {
  static const std::regex refusal(R"(^-?\d+: )");
  std::vector<std::string> errors;
  for (const auto& entry : entries) {
    if (std::regex_search(entry, refusal) || entry.rfind("ERRO", 0) == 0) errors.push_back(entry);
  }
  return errors;
}

}  // namespace ecfhost

#include "debug_log.h"

#include <filesystem>
#include <fstream>
#include <regex>

#include "base/utf8_path.h"

namespace ecfd {
namespace {

constexpr std::uintmax_t kTailLimit = 4 * 1024 * 1024;  // what one operation can have written

std::string tail(const std::string& path, std::uintmax_t from) {
  std::ifstream in(ecf::pathFromUtf8(path), std::ios::binary);
  if (!in) return "";
  in.seekg(0, std::ios::end);
  const std::uintmax_t size = static_cast<std::uintmax_t>(in.tellg());
  if (from > size) from = 0;  // rewritten: all of it is new
  if (size - from > kTailLimit) from = size - kTailLimit;
  in.seekg(static_cast<std::streamoff>(from));
  std::string text(static_cast<std::size_t>(size - from), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

}  // namespace

std::vector<std::string> DebugLogReader::logs() const {
  std::vector<std::string> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(ecf::pathFromUtf8(directory_), error)) {
    const std::string name = ecf::utf8FromPath(entry.path().filename());
    if (name.rfind("impdebug", 0) == 0 && entry.is_regular_file(error)) {
      found.push_back(ecf::utf8FromPath(entry.path()));
    }
  }
  return found;
}

void DebugLogReader::mark() {
  sizes_.clear();
  for (const std::string& path : logs()) {
    std::error_code error;
    const auto size = std::filesystem::file_size(ecf::pathFromUtf8(path), error);
    sizes_[path] = error ? 0 : size;
  }
}

std::vector<PrinterError> DebugLogReader::refusalsSinceMark() const {
  static const std::regex ending(R"( - \d\d/\d\d/\d{4} \d\d:\d\d:\d\d\r?\n)");
  std::vector<PrinterError> refusals;
  for (const std::string& path : logs()) {
    const auto known = sizes_.find(path);
    const std::string text = tail(path, known == sizes_.end() ? 0 : known->second);
    std::size_t start = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), ending);
         it != std::sregex_iterator(); ++it) {
      const auto position = static_cast<std::size_t>(it->position());
      PrinterError error;
      if (parseRefusal(text.substr(start, position - start), error)) refusals.push_back(error);
      start = position + static_cast<std::size_t>(it->length());
    }
  }
  return refusals;
}

bool parseRefusal(const std::string& line, PrinterError& error) {
  static const std::regex refusal(R"(^(-?\d{1,9}): ([^ ]*)(?: - ([\s\S]*))?$)");
  std::smatch match;
  if (!std::regex_match(line, match, refusal)) return false;
  error.code = std::stoi(match[1].str());
  error.name = match[2].str();
  error.circumstance = match[3].matched ? match[3].str() : "";
  return true;
}

}  // namespace ecfd

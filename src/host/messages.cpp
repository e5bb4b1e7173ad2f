// The message catalogues: rows of key, "|", text.
#include <string>

#include "base/utf8.h"
#include "driver/debug_log.h"
#include "ecf/datamodule.h"

namespace ecf {

TMessages::TMessages(std::string_view catalogue) {
  std::size_t start = 0;
  while (start < catalogue.size()) {
    std::size_t end = catalogue.find('\n', start);
    if (end == std::string_view::npos) end = catalogue.size();
    std::string_view line = catalogue.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t bar = line.find('|');
    if (bar == std::string_view::npos) continue;
    rows_.emplace_back(std::string(line.substr(0, bar)), std::string(line.substr(bar + 1)));
    // The first row of a duplicated key wins: a later one does not replace it.
    byKey_.emplace(upperCase(rows_.back().first), rows_.size() - 1);
  }
}

const std::string* TMessages::find(std::string_view key) const {
  const auto found = byKey_.find(upperCase(key));
  return found == byKey_.end() ? nullptr : &rows_[found->second].second;
}

bool TMessages::contains(std::string_view key) const { return find(key) != nullptr; }

std::string TMessages::Msg(std::string_view key) const {
  if (const std::string* text = find(key)) return *text;
  writeDebugLine("Mensagem não cadastrada: " + std::string(key));
  return std::string(key);
}

}  // namespace ecf

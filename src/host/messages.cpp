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
  }
}

bool TMessages::contains(std::string_view key) const {
  for (const auto& [rowKey, text] : rows_) {
    if (equalsIgnoreCase(rowKey, key)) return true;
  }
  return false;
}

std::string TMessages::Msg(std::string_view key) const {
  for (const auto& [rowKey, text] : rows_) {
    if (equalsIgnoreCase(rowKey, key)) return text;
  }
  writeDebugLine("Mensagem não cadastrada: " + std::string(key));
  return std::string(key);
}

}  // namespace ecf

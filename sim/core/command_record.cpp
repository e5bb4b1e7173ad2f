#include "core/command_record.h"

#include <nlohmann/json.hpp>

namespace ecfsim {

void CommandRecord::append(const std::string& command, const std::vector<Param>& params,
                           const RecordedAnswer& answer, const std::string& at) const {
  nlohmann::json entry;
  entry["command"] = command;
  entry["params"] = nlohmann::json::array();
  for (const Param& p : params) {
    entry["params"].push_back({{"name", p.name}, {"value", p.value}, {"type", p.type}});
  }
  entry["result"] = answer.code;
  entry["error"] = answer.errorName;
  entry["circumstance"] = answer.circumstance;
  entry["returned"] = answer.returned;
  entry["at"] = at;
  // Texts reaching the printer are valid UTF-8 already; replace keeps a stray byte from
  // costing the record its line. Written at once: a reader sees each answered command.
  file_.append(entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + '\n');
}

void CommandRecord::close() const { file_.close(); }

std::string CommandRecord::asJsonArray() const {
  nlohmann::json all = nlohmann::json::array();
  const std::string text = file_.read();
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    auto entry = nlohmann::json::parse(text.substr(start, end - start), nullptr, false);
    if (!entry.is_discarded()) all.push_back(std::move(entry));
    start = end + 1;
  }
  return all.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void CommandRecord::clear() const { file_.truncate(0); }

}  // namespace ecfsim

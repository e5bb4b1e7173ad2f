#include "core/command_record.h"

#include <fstream>

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
  if (!out_.is_open()) out_.open(path_, std::ios::binary | std::ios::app);
  // Texts reaching the printer are valid UTF-8 already; replace keeps a stray byte from
  // costing the record its line. Flushed at once: a reader sees each answered command.
  out_ << entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  out_.flush();
  if (!out_) close();
}

void CommandRecord::close() const {
  out_.close();
  out_.clear();
}

std::string CommandRecord::asJsonArray() const {
  nlohmann::json all = nlohmann::json::array();
  std::ifstream in(path_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    auto entry = nlohmann::json::parse(line, nullptr, false);
    if (!entry.is_discarded()) all.push_back(std::move(entry));
  }
  return all.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void CommandRecord::clear() const {
  close();
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
}

}  // namespace ecfsim

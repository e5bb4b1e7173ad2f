// The virtual printer's typed parameters: any list of (name, value, type code) is refused
// with a CommandError or read by every accessor without harm.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/params.h"

namespace {

// One parameter per line: the type code's character ('0' + code), the name, "=", the value.
std::vector<ecfsim::Param> paramsOf(std::string_view input) {
  std::vector<ecfsim::Param> params;
  while (!input.empty() && params.size() < 64) {
    const std::size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    if (line.empty()) continue;
    const int type = static_cast<unsigned char>(line[0]) - '0';
    line.remove_prefix(1);
    const std::size_t equals = line.find('=');
    params.push_back(ecfsim::Param{
        std::string(line.substr(0, equals)),
        equals == std::string_view::npos ? std::string() : std::string(line.substr(equals + 1)),
        type});
  }
  return params;
}

template <class Read>
void attempt(Read read) {
  try {
    read();
  } catch (const ecfsim::CommandError&) {
    // A refusal is the expected answer to a value of the wrong kind.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<ecfsim::Param> params =
      paramsOf(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    ecfsim::validateParams(params);
  } catch (const ecfsim::CommandError&) {
    return 0;
  }
  const ecfsim::Args args(params);
  for (const ecfsim::Param& param : params) {
    const std::string_view name = param.name;
    attempt([&] { args.text(name); });
    attempt([&] { args.requiredText(name); });
    attempt([&] { args.indicator(name); });
    attempt([&] { args.integer(name); });
    attempt([&] { args.requiredInteger(name); });
    attempt([&] { args.money(name); });
    attempt([&] { args.requiredMoney(name); });
    attempt([&] { args.date(name); });
    ecfsim::parseIndicator(param.value);
  }
  return 0;
}

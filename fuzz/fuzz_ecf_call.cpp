// The module's C interface, its outside edge: any operation of the catalogue with any
// request text gives a JSON reply with either a result or an error, never a crash.
// The first byte picks the operation (255: the name is the text up to the first line
// break); the rest is the request.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ecf/ecf.h"

namespace {

using Json = nlohmann::json;

const std::vector<std::string>& operationNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const Json& operation : Json::parse(ecf_operations())["operations"]) {
      all.push_back(operation["name"]);
    }
    return all;
  }();
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The module's debug log goes to a directory of the fuzzer's own.
  const auto directory = std::filesystem::temp_directory_path() / "fuzz_ecf_call";
  std::filesystem::create_directories(directory);
  ecf_SetHostDirectory(directory.string().c_str());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string name;
  std::string request;
  if (data[0] == 255) {
    const std::size_t end = input.find('\n');
    name = input.substr(0, end);
    request = end == std::string::npos ? "" : input.substr(end + 1);
  } else {
    name = operationNames()[data[0] % operationNames().size()];
    request = input;
  }
  char* text = ecf_call(name.c_str(), request.c_str());
  if (text == nullptr) std::abort();  // only when memory runs out
  const Json reply = Json::parse(text, nullptr, false);
  ecf_free(text);
  const bool answered = reply.is_object() && reply.contains("result") && reply.contains("error");
  const bool failed = answered && reply["error"].is_object() && reply["error"]["code"].is_string();
  if (!answered || (!reply["error"].is_null() && !failed)) {
    std::fprintf(stderr, "not a reply: %s\n", reply.dump().c_str());
    std::abort();
  }
  return 0;
}

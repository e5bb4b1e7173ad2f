#include "module_catalogue.h"

#include <stdexcept>

namespace ecfhost {

ModuleCatalogue::ModuleCatalogue(const std::string& text) : json_(Json::parse(text)) {
  if (!json_.is_object() || !json_.contains("operations") || !json_["operations"].is_array()) {
    throw std::runtime_error("the module's catalogue of operations is not what it should be");
  }
}

const Json* ModuleCatalogue::find(const std::string& name) const {
  for (const Json& operation : json_["operations"]) {
    if (operation.value("name", "") == name) return &operation;
  }
  return nullptr;
}

std::vector<Json> ModuleCatalogue::givenArgs(const Json& operation) {
  std::vector<Json> given;
  for (const Json& arg : operation["args"]) {
    if (arg["direction"] != "out") given.push_back(arg);
  }
  return given;
}

std::string ModuleCatalogue::usage(const Json& operation) {
  std::string params;
  std::string out;
  for (const Json& arg : operation["args"]) {
    const std::string name = arg["name"].get<std::string>();
    if (arg["direction"] != "out") {
      params += (params.empty() ? "" : ", ") + name + ": " + arg["type"].get<std::string>();
    }
    if (arg["direction"] != "in") out += (out.empty() ? "" : ", ") + name;
  }
  return operation["name"].get<std::string>() + "(" + params + ")" +
         (out.empty() ? "" : " -> out: " + out);
}

}  // namespace ecfhost

// The module's operations as its C interface lists them (ecf_operations): what a scenario
// may call, with the arguments a step gives.
#pragma once

#include <string>
#include <vector>

#include "expectations.h"

namespace ecfhost {

class ModuleCatalogue {
 public:
  // Throws std::runtime_error when `text` is not a catalogue.
  explicit ModuleCatalogue(const std::string& text);

  // The operation's entry {"name", "description", "result", "args"}, or nullptr.
  const Json* find(const std::string& name) const;

  // The arguments a call gives (in and inout), in their order.
  static std::vector<Json> givenArgs(const Json& operation);
  // "Suprimento(scheme: text, amount: number)", and what it writes back.
  static std::string usage(const Json& operation);

  const Json& operations() const { return json_["operations"]; }

 private:
  Json json_;
};

}  // namespace ecfhost

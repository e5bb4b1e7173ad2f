// The module as the service sees it: a library loaded at run time and spoken to only
// through its C interface (ecf.h), with JSON requests and replies.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "ecf/ecf.h"

namespace ecfd {

using Json = nlohmann::json;

class ModuleClient {
 public:
  // Loads the module at `path` and binds the C interface. Throws std::runtime_error with
  // the reason when it does not load or lacks a function.
  void load(const std::string& path);

  // One operation; the reply as ecf_call gives it. A reply that is not JSON (which the
  // module never sends) becomes an error reply.
  Json call(const std::string& operation, const Json& request) const;
  // The catalogue, parsed once.
  const Json& operations() const { return catalogue_; }

  bool setSettings(const Json& settings) const;
  void setOperator(ecf_operator_fn callback, void* context) const;
  void setHostDirectory(const std::string& directory) const;

 private:
  decltype(&::ecf_call) call_ = nullptr;
  decltype(&::ecf_free) free_ = nullptr;
  decltype(&::ecf_operations) operations_ = nullptr;
  decltype(&::ecf_set_settings_json) settings_ = nullptr;
  decltype(&::ecf_set_operator) operator_ = nullptr;
  decltype(&::ecf_SetHostDirectory) hostDirectory_ = nullptr;
  Json catalogue_;
};

// The module beside this program, else where an installation puts it.
std::string findModule();

}  // namespace ecfd

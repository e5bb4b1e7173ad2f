// The operations a scenario can call: each name maps to an adapter that reads the
// operation's arguments from JSON, calls the bound function and reports its result and
// what it wrote back. Arguments follow the operation's declaration in order, except the
// highest index of an open array (taken from the array) and the arguments the operation
// only writes, which come back as named outputs.
#pragma once

#include <string>
#include <vector>

#include "module_api.h"
#include "scenario_values.h"

namespace ecfhost {

enum class Kind { Text, Number, Integer, Boolean, Bag, Positions, Dataset, StringList, DateTime };

struct Param {
  const char* name;
  Kind kind;
};

struct Outcome {
  Json result;                // null for an operation with no result
  Json out = Json::object();  // what it wrote back, by name
};

// One call's arguments, converted on demand with a clear message when they do not fit.
class Call {
 public:
  Call(ModuleApi& api, const std::string& operation, const std::vector<Param>& params,
       const Json& args, const Tables& tables, const Json& bagDefaults)
      : api(api),
        operation_(operation),
        params_(params),
        args_(args),
        tables_(tables),
        bagDefaults_(bagDefaults) {}

  std::string text(std::size_t i) const;
  double number(std::size_t i) const;
  std::int32_t integer(std::size_t i) const;
  bool boolean(std::size_t i) const;
  ecf::Variant bag(std::size_t i) const;  // the scenario's defaults for this operation below
  std::vector<ecf::Variant> positions(std::size_t i) const;
  ecf::Dataset dataset(std::size_t i) const;  // null gives an empty, closed dataset
  ecf::StringList strings(std::size_t i) const;
  ecf::DateTime dateTime(std::size_t i) const;  // "YYYY-MM-DD[ hh:mm[:ss]]" or {"date": ...}

  // The bound function, or a clear error when the module does not export it.
  template <typename Function>
  Function need(Function function, const char* name) const {
    if (function == nullptr) throw ScenarioError(std::string("the module does not export ") + name);
    return function;
  }

  ModuleApi& api;

 private:
  const Json& arg(std::size_t i) const;
  [[noreturn]] void wrong(std::size_t i, const char* wanted) const;

  const std::string& operation_;
  const std::vector<Param>& params_;
  const Json& args_;
  const Tables& tables_;
  const Json& bagDefaults_;
};

struct Operation {
  const char* name;
  std::vector<Param> params;
  const char* writesBack;  // the names of its outputs, for the listing
  Outcome (*run)(Call& call);
};

const std::vector<Operation>& operations();
const Operation* findOperation(const std::string& name);
// "Suprimento(scheme: text, amount: number)", and what it writes back.
std::string usage(const Operation& operation);

// A bag as a JSON object of its fields.
Json bagToJson(const ecf::Variant& bag);

}  // namespace ecfhost

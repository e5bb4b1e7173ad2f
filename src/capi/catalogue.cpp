// The catalogue of the C interface (ecf_operations), built from the table ecf_call runs.
#include "capi/catalogue.h"

#include "capi/operation_table.h"

namespace ecf::capi {

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Text:
      return "text";
    case Kind::Number:
      return "number";
    case Kind::Integer:
      return "integer";
    case Kind::Boolean:
      return "boolean";
    case Kind::Bag:
      return "bag";
    case Kind::Positions:
      return "positional array";
    case Kind::Dataset:
      return "dataset";
    case Kind::StringList:
      return "list of texts";
    case Kind::DateTime:
      return "date-time";
  }
  return "value";
}

const char* resultTypeName(ResultType type) {
  switch (type) {
    case ResultType::None:
      return "none";
    case ResultType::Boolean:
      return "boolean";
    case ResultType::Text:
      return "text";
    case ResultType::Number:
      return "number";
    case ResultType::DateTime:
      return "date-time";
  }
  return "none";
}

std::string usage(const Operation& operation) {
  std::string text = std::string(operation.name) + "(";
  for (std::size_t i = 0; i < operation.params.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::string(operation.params[i].name) + ": " + kindName(operation.params[i].kind);
  }
  text += ")";
  std::string out;
  for (const Param& param : operation.params) {
    if (param.direction == Direction::InOut) out += std::string(out.empty() ? "" : ", ") + param.name;
  }
  for (const Output& output : operation.outs) {
    out += std::string(out.empty() ? "" : ", ") + output.name;
  }
  if (!out.empty()) text += " -> out: " + out;
  return text;
}

const std::vector<ErrorCode>& errorCodes() {
  static const std::vector<ErrorCode> codes = {
      {"unknown_operation", "no operation of that name"},
      {"bad_json", "the request is not JSON, is nested too deep or holds a number out of range"},
      {"bad_request", "the request is JSON but not {\"args\": ..., \"answers\": [...]}"},
      {"missing_argument", "an argument the operation needs was not given"},
      {"unknown_argument", "an argument the operation does not have, or one it only writes"},
      {"bad_argument", "an argument of the wrong type or shape"},
      {"out_of_range", "a number too large for its argument, or not finite"},
      {"reentrant_call", "called from inside the operator callback of another call"},
      {"internal", "the module failed unexpectedly; the message says how"},
  };
  return codes;
}

Json catalogue() {
  Json operationsJson = Json::array();
  for (const Operation& operation : operations()) {
    Json args = Json::array();
    for (const Param& param : operation.params) {
      Json arg = {{"name", param.name},
                  {"type", kindName(param.kind)},
                  {"direction", param.direction == Direction::InOut ? "inout" : "in"}};
      if (mayBeLeftOut(param.kind)) arg["optional"] = true;
      args.push_back(std::move(arg));
    }
    for (const Output& output : operation.outs) {
      args.push_back({{"name", output.name}, {"type", kindName(output.kind)}, {"direction", "out"}});
    }
    operationsJson.push_back({{"name", operation.name},
                              {"description", operation.description},
                              {"result", resultTypeName(operation.result)},
                              {"args", std::move(args)}});
  }
  Json errors = Json::array();
  for (const ErrorCode& error : errorCodes()) {
    errors.push_back({{"code", error.code}, {"meaning", error.meaning}});
  }
  return Json{{"operations", std::move(operationsJson)}, {"errors", std::move(errors)}};
}

}  // namespace ecf::capi

#include "capi/request.h"

#include <cstring>

namespace ecf::capi {
namespace {

std::optional<bool> answerNamed(const Json& value) {
  if (value.is_boolean()) return value.get<bool>();
  if (!value.is_string()) return std::nullopt;
  const std::string text = value.get<std::string>();
  if (text == "yes" || text == "sim") return true;
  if (text == "no" || text == "nao" || text == "não") return false;
  return std::nullopt;
}

std::vector<bool> readAnswers(const Json& answers) {
  if (answers.is_null()) return {};
  if (!answers.is_array()) throw CallError("bad_request", "\"answers\" must be a list of \"yes\" and \"no\"");
  std::vector<bool> read;
  for (const Json& answer : answers) {
    const auto yes = answerNamed(answer);
    if (!yes) {
      throw CallError("bad_request", "answer " + brief(answer, 40) + " is neither \"yes\" nor \"no\"");
    }
    read.push_back(*yes);
  }
  return read;
}

std::vector<const Json*> argsFromList(const Operation& operation, const Json& list) {
  if (list.size() > operation.params.size()) {
    throw CallError("bad_argument", std::string(operation.name) + ": " +
                                        std::to_string(list.size()) + " arguments given, " +
                                        std::to_string(operation.params.size()) +
                                        " expected: " + usage(operation));
  }
  std::vector<const Json*> args(operation.params.size(), nullptr);
  for (std::size_t i = 0; i < list.size(); ++i) args[i] = &list[i];
  return args;
}

std::vector<const Json*> argsFromObject(const Operation& operation, const Json& object) {
  std::vector<const Json*> args(operation.params.size(), nullptr);
  for (const auto& [name, value] : object.items()) {
    std::size_t i = 0;
    while (i < operation.params.size() && name != operation.params[i].name) ++i;
    if (i < operation.params.size()) {
      args[i] = &value;
      continue;
    }
    for (const Output& output : operation.outs) {
      if (name == output.name) {
        throw CallError("unknown_argument", std::string(operation.name) + ": \"" + name +
                                                "\" is written by the operation, not given");
      }
    }
    throw CallError("unknown_argument", std::string(operation.name) + " has no argument " +
                                            brief(Json(name), 60) + ": " + usage(operation));
  }
  return args;
}

void checkNothingMissing(const Operation& operation, const std::vector<const Json*>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Param& param = operation.params[i];
    if (args[i] == nullptr && !mayBeLeftOut(param.kind)) {
      throw CallError("missing_argument", std::string(operation.name) + ": argument " +
                                              std::to_string(i + 1) + " (" + param.name +
                                              ") is missing: " + usage(operation));
    }
  }
}

}  // namespace

Request readRequest(const Operation& operation, const char* text) {
  Request request;
  if (text != nullptr && std::strlen(text) > 0) {
    try {
      request.json = parseJson(text);
    } catch (const ValueError& error) {
      throw CallError("bad_json", error.what());
    }
  }
  if (request.json.is_null()) request.json = Json::object();
  if (!request.json.is_object()) {
    throw CallError("bad_request", "the request is an object {\"args\": ..., \"answers\": [...]}");
  }
  for (const auto& [key, unused] : request.json.items()) {
    if (key != "args" && key != "answers") {
      throw CallError("bad_request", "unknown key " + brief(Json(key), 40) +
                                         " in the request (known: args, answers)");
    }
  }
  static const Json none;
  request.answers = readAnswers(request.json.contains("answers") ? request.json["answers"] : none);
  const Json& args = request.json.contains("args") ? request.json["args"] : none;
  if (args.is_array()) {
    request.args = argsFromList(operation, args);
  } else if (args.is_object()) {
    request.args = argsFromObject(operation, args);
  } else if (args.is_null()) {
    request.args.assign(operation.params.size(), nullptr);
  } else {
    throw CallError("bad_request", "\"args\" must be a list in declaration order or an object "
                                   "keyed by the argument names");
  }
  checkNothingMissing(operation, request.args);
  return request;
}

}  // namespace ecf::capi

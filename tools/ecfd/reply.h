// One answer of the service: a status, a JSON body (or a text of another type) and headers.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "api_error.h"

namespace ecfd {

using Json = nlohmann::json;

struct Reply {
  int status = 200;
  Json body;
  std::string contentType = "application/json";
  std::string text;  // the body when it is not JSON
  std::vector<std::pair<std::string, std::string>> headers;

  static Reply json(int status, Json body) { return Reply{status, std::move(body), "application/json", "", {}}; }
  static Reply error(const ApiError& error) { return json(error.status, error.toJson()); }
};

}  // namespace ecfd

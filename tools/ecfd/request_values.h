// Reading a request's JSON body: each value checked for its kind and range, with a message
// naming the field, thrown as a "bad_request" error.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

// The body as JSON: malformed JSON or nesting deeper than `maxDepth` is a bad request
// whose message gives the reason. An empty body is {}.
Json parseBody(const std::string& body, int maxDepth = 64);

std::string textField(const Json& object, const char* name, const std::string& fallback,
                      std::size_t maxLength = 200);
std::string requiredText(const Json& object, const char* name, std::size_t maxLength = 200);
// A number, or a decimal text ("10.50"); at least `minimum`, at most 10^9.
double amountField(const Json& object, const char* name, double minimum, bool required);
bool flagField(const Json& object, const char* name);

}  // namespace ecfd

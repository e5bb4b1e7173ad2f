#include "request_values.h"

#include <cmath>
#include <cstdlib>

#include "api_error.h"

namespace ecfd {
namespace {

[[noreturn]] void bad(const std::string& message) { throw ApiError(400, codes::kBadRequest, message); }

// Finds the deepest nesting before parsing, so a hostile body cannot recurse the parser.
int nestingDepth(const std::string& text, int limit) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
      continue;
    }
    if (c == '"') inString = true;
    else if (c == '[' || c == '{') {
      if (++depth > limit) return depth;
    } else if (c == ']' || c == '}') --depth;
  }
  return 0;
}

std::size_t characters(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

Json parseBody(const std::string& body, int maxDepth) {
  if (body.find_first_not_of(" \t\r\n") == std::string::npos) return Json::object();
  if (nestingDepth(body, maxDepth) > maxDepth) {
    bad("the JSON body is nested deeper than " + std::to_string(maxDepth) + " levels");
  }
  try {
    return Json::parse(body);
  } catch (const Json::parse_error& error) {
    bad(std::string("the body is not valid JSON: ") + error.what());
  }
}

std::string textField(const Json& object, const char* name, const std::string& fallback,
                      std::size_t maxLength) {
  if (!object.contains(name) || object.at(name).is_null()) return fallback;
  if (!object.at(name).is_string()) bad(std::string("\"") + name + "\" must be a text");
  const std::string text = object.at(name).get<std::string>();
  if (characters(text) > maxLength) {
    bad(std::string("\"") + name + "\" is longer than " + std::to_string(maxLength) + " characters");
  }
  return text;
}

std::string requiredText(const Json& object, const char* name, std::size_t maxLength) {
  const std::string text = textField(object, name, "", maxLength);
  if (text.empty()) bad(std::string("\"") + name + "\" is required");
  return text;
}

double amountField(const Json& object, const char* name, double minimum, bool required) {
  if (!object.contains(name) || object.at(name).is_null()) {
    if (required) bad(std::string("\"") + name + "\" is required");
    return 0;
  }
  const Json& value = object.at(name);
  double amount = 0;
  if (value.is_number()) {
    amount = value.get<double>();
  } else if (value.is_string()) {
    const std::string text = value.get<std::string>();
    char* end = nullptr;
    const bool plain = !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos;
    amount = plain ? std::strtod(text.c_str(), &end) : 0;
    if (!plain || end == nullptr || *end != '\0') {
      bad(std::string("\"") + name + "\" must be an amount such as 10.50");
    }
  } else {
    bad(std::string("\"") + name + "\" must be an amount");
  }
  if (!std::isfinite(amount) || amount < minimum || amount > 1e9) {
    bad(std::string("\"") + name + "\" is out of range");
  }
  return amount;
}

bool flagField(const Json& object, const char* name) {
  if (!object.contains(name) || object.at(name).is_null()) return false;
  if (!object.at(name).is_boolean()) bad(std::string("\"") + name + "\" must be true or false");
  return object.at(name).get<bool>();
}

}  // namespace ecfd

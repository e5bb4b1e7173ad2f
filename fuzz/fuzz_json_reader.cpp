// The module's JSON reader against nlohmann's parser: for any text both refuse it, or both
// read the same value with the same types (unsigned, signed, double, the sign of a zero, an
// object's order); the reader alone refuses a text nested deeper than kMaxNesting.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "capi/json_reader.h"

namespace {

using ecf::capi::Json;

bool same(const Json& a, const Json& b) {
  if (a.type() != b.type() || a.size() != b.size()) return false;
  if (a.is_number_float()) {
    const double x = a.get<double>();
    const double y = b.get<double>();
    return std::memcmp(&x, &y, sizeof x) == 0;
  }
  if (a.is_object()) {
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
      if (i.key() != j.key() || !same(i.value(), j.value())) return false;
    }
    return true;
  }
  if (a.is_array()) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (!same(a[i], b[i])) return false;
    }
    return true;
  }
  return a == b;
}

// Without recursion: nlohmann reads a text of any depth.
int depthOf(const Json& root) {
  int deepest = 0;
  std::vector<std::pair<const Json*, int>> open{{&root, 0}};
  while (!open.empty()) {
    const auto [value, depth] = open.back();
    open.pop_back();
    if (!value->is_structured()) continue;
    deepest = std::max(deepest, depth + 1);
    for (const Json& child : *value) open.emplace_back(&child, depth + 1);
  }
  return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Json expected;
  bool accepted = true;
  try {
    expected = Json::parse(text);
  } catch (const Json::exception&) {
    accepted = false;
  }
  try {
    const Json read = ecf::capi::readJson(text);
    if (!accepted || !same(read, expected) || read != expected || read.dump() != expected.dump()) {
      __builtin_trap();
    }
  } catch (const ecf::capi::ValueError&) {
    if (accepted && depthOf(expected) <= ecf::capi::kMaxNesting) __builtin_trap();
  }
  return 0;
}

#include "expectations.h"

#include <algorithm>
#include <cmath>

namespace ecfhost {
namespace {

bool sameNumber(const Json& a, const Json& b) {
  const double x = a.get<double>();
  const double y = b.get<double>();
  return std::fabs(x - y) <= 1e-9 * std::max(1.0, std::fabs(x));
}

}  // namespace

std::string whatDiffers(const Json& expected, const Json& actual, const std::string& where) {
  const auto differ = [&] {
    return where + ": expected " + brief(expected) + ", got " + brief(actual);
  };
  if (expected.is_object() && (expected.contains("rows") || expected.contains("count"))) {
    if (!actual.is_object() || !actual.contains("rows")) return differ();
    const Json& rows = actual["rows"];
    if (expected.contains("count") && (!expected["count"].is_number_integer() ||
                                       expected["count"].get<std::size_t>() != rows.size())) {
      return where + ": expected " + expected["count"].dump() + " rows, got " +
             std::to_string(rows.size());
    }
    if (!expected.contains("rows")) return "";
    const Json& wanted = expected["rows"];
    if (!wanted.is_array()) return where + ": \"rows\" must be a list";
    if (wanted.size() != rows.size()) {
      return where + ": expected " + std::to_string(wanted.size()) + " rows, got " +
             std::to_string(rows.size()) + " " + brief(rows, 300);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (!wanted[r].is_object()) return where + ": an expected row is an object of field values";
      for (const auto& [field, value] : wanted[r].items()) {
        const std::string at = where + " row " + std::to_string(r + 1) + " " + field;
        if (!rows[r].contains(field)) return at + ": no such field";
        const std::string difference = whatDiffers(value, rows[r][field], at);
        if (!difference.empty()) return difference;
      }
    }
    return "";
  }
  if (expected.is_array()) {
    if (!actual.is_array() || actual.size() != expected.size()) return differ();
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const std::string difference =
          whatDiffers(expected[i], actual[i], where + "[" + std::to_string(i) + "]");
      if (!difference.empty()) return difference;
    }
    return "";
  }
  if (expected.is_number() && actual.is_number())
    return sameNumber(expected, actual) ? "" : differ();
  return expected == actual ? "" : differ();
}

}  // namespace ecfhost

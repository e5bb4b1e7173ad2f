// How a scenario file writes the module's values in JSON, both ways: arguments going in
// (texts, numbers, booleans, bags, positional arrays, data packets and datasets written
// as field definitions plus rows, date-times) and results coming out, and how a result is
// compared with what a step expects.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/datetime.h"
#include "ecf/variant.h"

namespace ecfhost {

using Json = nlohmann::ordered_json;

// Something in the scenario file that does not say what it should.
class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Named packets a scenario defines once ("tables") and uses by {"table": name}.
using Tables = std::map<std::string, ecf::DataPacket>;

// A value inside a bag, a positional array or another array:
//   null, true/false, 12, 3.5, "text", [ ...values... ],
//   {"date": "2026-12-08 10:15:00"}  (also "2026-12-08", "2026-12-08T10:15", "now"),
//   {"fields": [...], "rows": [...]}  a data packet, or {"table": "name"}.
ecf::Variant toVariant(const Json& value, const Tables& tables);

// A bag: {"FIELD": value, ...}, in the file's order.
ecf::Variant toBag(const Json& value, const Tables& tables);

// A positional array: [v0, v1, ...] or {"size": 44, "at": {"2": v, "13": v}} (the
// positions not given are null).
std::vector<ecf::Variant> toPositions(const Json& value, const Tables& tables);

// {"fields": ["NAME:type[:size]", ...], "rows": [[...], {...}]} or {"table": "name"}.
// Types: text (the default), integer, real, datetime, boolean. A row is an array with one
// value per field or an object naming some fields (the others null). Values are converted
// to their field's type; a value that does not fit is an error.
ecf::DataPacket toPacket(const Json& value, const Tables& tables);

ecf::DateTime toDateTime(const std::string& text);

// Results, for printing and for comparison.
Json fromVariant(const ecf::Variant& value);
Json fromPacket(const ecf::DataPacket& packet);
std::string dateTimeText(const ecf::DateTime& when);

// "" when `actual` is what `expected` asks for, else what differs, naming `where`.
// Scalars compare exactly (numbers numerically); arrays element by element; a packet is
// matched by {"rows": [...]} (same number of rows, each expected field equal) and/or
// {"count": n}.
std::string whatDiffers(const Json& expected, const Json& actual, const std::string& where);

// A short one-line rendering of a result for the progress output.
std::string brief(const Json& value, std::size_t width = 100);

}  // namespace ecfhost

// The module's values in JSON, both ways: arguments going in (texts, numbers, booleans,
// bags, positional arrays, data packets and datasets written as field definitions plus
// rows, date-times) and results coming out. One mapping for everything that speaks JSON
// to the module: the C interface, and the host tool's checks of its scenario files.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <string>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/datetime.h"
#include "ecf/variant.h"

namespace ecf::capi {

using Json = nlohmann::ordered_json;

// A value that does not say what it should; the message says what was expected.
class ValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Nothing the module takes is nested deeper than this; anything deeper is refused before
// it can exhaust the stack (the parser is recursive).
constexpr int kMaxNesting = 64;

// Parses a JSON text, nested at most kMaxNesting levels. Throws ValueError "malformed JSON:
// ..." for a syntax error, a number out of range (1e400) or a text nested too deep.
Json parseJson(std::string_view text);

// What "now" means: the module's clock, or the host's.
using Clock = ecf::DateTime (*)();

// A value inside a bag, a positional array or another array:
//   null, true/false, 12, 3.5, "text", [ ...values... ],
//   {"date": "2026-12-08 10:15:00"}  (also "2026-12-08", "2026-12-08T10:15", "now"),
//   {"amount": "10.50"}  an amount as a decimal text,
//   {"fields": [...], "rows": [...]}  a data packet.
ecf::Variant toVariant(const Json& value, Clock clock);

// A bag: {"FIELD": value, ...}, in the text's order.
ecf::Variant toBag(const Json& value, Clock clock);

// A positional array: [v0, v1, ...] or {"size": 44, "at": {"2": v, "13": v}} (the
// positions not given are null).
std::vector<ecf::Variant> toPositions(const Json& value, Clock clock);

// {"fields": ["NAME:type[:size]", ...], "rows": [[...], {...}]}.
// Types: text (the default), integer, real, datetime, boolean. A row is an array with one
// value per field or an object naming some fields (the others null). Values are converted
// to their field's type; a value that does not fit is an error.
ecf::DataPacket toPacket(const Json& value, Clock clock);

ecf::DateTime toDateTime(const std::string& text, Clock clock);

// An amount written as a decimal text with a point: "10.50", "-3", "0.005"; nullopt for
// anything else (no exponent, no thousands separator, no spaces).
std::optional<double> decimalText(std::string_view text);

// An amount: a finite number, a decimal text ("10.50") or {"amount": "10.50"}; nullopt
// for anything else.
std::optional<double> amountOf(const Json& value);

// Results.
Json fromVariant(const ecf::Variant& value);
Json fromPacket(const ecf::DataPacket& packet);
std::string dateTimeText(const ecf::DateTime& when);

// A short one-line rendering of a value for messages and progress lines.
std::string brief(const Json& value, std::size_t width = 100);

}  // namespace ecf::capi

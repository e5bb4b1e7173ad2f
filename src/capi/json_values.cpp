#include "capi/json_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <regex>
#include <string_view>

#include "base/utf8.h"
#include "capi/json_reader.h"
#include "ecf/dataset.h"

namespace ecf::capi {
namespace {

const char* typeName(ecf::FieldType type) {
  switch (type) {
    case ecf::FieldType::Text:
      return "text";
    case ecf::FieldType::Integer:
      return "integer";
    case ecf::FieldType::Real:
      return "real";
    case ecf::FieldType::DateTime:
      return "datetime";
    case ecf::FieldType::Boolean:
      return "boolean";
  }
  return "text";
}

std::optional<ecf::FieldType> fieldTypeNamed(std::string_view name) {
  for (const ecf::FieldType type :
       {ecf::FieldType::Text, ecf::FieldType::Integer, ecf::FieldType::Real,
        ecf::FieldType::DateTime, ecf::FieldType::Boolean}) {
    if (name == typeName(type)) return type;
  }
  return std::nullopt;
}

bool isFieldName(std::string_view name) {
  const auto letter = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin(), name.end(),
                     [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

// A text quoted in a message, cut when long.
std::string shortened(const std::string& text) {
  return ecf::charCount(text) <= 60 ? text : ecf::charSubstr(text, 0, 57) + "...";
}

bool isSize(std::string_view text) {
  return !text.empty() && text.size() <= 6 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "NAME", "NAME:type", "NAME:size" or "NAME:type:size", read by hand: a pattern matcher
// recurses once per character and a long name would exhaust the stack.
ecf::FieldDef toFieldDef(const Json& value) {
  if (!value.is_string()) {
    throw ValueError("a field definition is a text \"NAME:type[:size]\", not " + brief(value, 60));
  }
  const std::string text = value.get<std::string>();
  const auto bad = [&] {
    return ValueError("bad field definition \"" + shortened(text) +
                      "\": write NAME, NAME:type or NAME:text:size (types: text, integer, "
                      "real, datetime, boolean)");
  };
  std::vector<std::string_view> parts;
  std::string_view rest = text;
  for (std::size_t colon; (colon = rest.find(':')) != std::string_view::npos;) {
    parts.push_back(rest.substr(0, colon));
    rest.remove_prefix(colon + 1);
  }
  parts.push_back(rest);
  if (parts.size() > 3 || !isFieldName(parts[0])) throw bad();
  ecf::FieldDef def;
  def.name = std::string(parts[0]);
  std::size_t next = 1;
  if (next < parts.size()) {
    if (const auto type = fieldTypeNamed(parts[next])) {
      def.type = *type;
      ++next;
    }
  }
  if (next < parts.size() && isSize(parts[next])) {
    if (def.type != ecf::FieldType::Text) {
      throw ValueError("field \"" + shortened(text) + "\": only text fields have a size");
    }
    def.size = std::stoi(std::string(parts[next]));
    ++next;
  }
  if (next != parts.size()) throw bad();
  return def;
}

ecf::Variant toFieldValue(const Json& value, const ecf::FieldDef& field, Clock clock) {
  if (value.is_null()) return {};
  const std::string where = "field " + field.name + " (" + typeName(field.type) + ")";
  switch (field.type) {
    case ecf::FieldType::Text:
      if (!value.is_string()) throw ValueError(where + " needs a text, not " + brief(value, 60));
      return value.get<std::string>();
    case ecf::FieldType::Integer:
      if (!value.is_number_integer()) {
        throw ValueError(where + " needs a whole number, not " + brief(value, 60));
      }
      return static_cast<long long>(value.get<std::int64_t>());
    case ecf::FieldType::Real:
      if (const auto amount = amountOf(value)) return *amount;
      throw ValueError(where + " needs a number or a decimal text such as \"10.50\", not " +
                       brief(value, 60));
    case ecf::FieldType::Boolean:
      if (!value.is_boolean())
        throw ValueError(where + " needs true or false, not " + brief(value, 60));
      return value.get<bool>();
    case ecf::FieldType::DateTime:
      if (!value.is_string()) {
        throw ValueError(where + " needs a date text such as \"2026-12-08 10:15:00\"");
      }
      return toDateTime(value.get<std::string>(), clock);
  }
  return {};
}

std::string fieldDefText(const ecf::FieldDef& def) {
  std::string text = def.name + ":" + typeName(def.type);
  if (def.type == ecf::FieldType::Text && def.size > 0) text += ":" + std::to_string(def.size);
  return text;
}

}  // namespace

namespace {

// The deepest nesting of arrays and objects in a JSON text, counted outside its strings; a
// scan of the text, far cheaper than a parser callback on every value.
int nestingOf(std::string_view text) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

}  // namespace

Json parseJson(std::string_view text) {
  try {
    return readJson(text);
  } catch (const ValueError&) {
    // A refused request is rare: its reply gives the reason in the words it always has,
    // the nesting limit first, then nlohmann's message.
    if (nestingOf(text) > kMaxNesting) {
      throw ValueError("malformed JSON: nested more than " + std::to_string(kMaxNesting) +
                       " levels deep");
    }
    try {
      const Json accepted = Json::parse(text);
      static_cast<void>(accepted);
    } catch (const Json::exception& error) {
      // Syntax errors, and numbers out of range such as 1e400.
      throw ValueError("malformed JSON: " + std::string(error.what()));
    }
    throw;
  }
}

std::optional<double> decimalText(std::string_view text) {
  // At most 15 significant digits: what an amount holds without loss.
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::size_t i = text[0] == '-' ? 1 : 0;
  const std::size_t digitsStart = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == digitsStart) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == fraction) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double number = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), number);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) return std::nullopt;
  return number;
}

std::optional<double> amountOf(const Json& value) {
  if (value.is_number()) {
    const double number = value.get<double>();
    return std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
  }
  if (value.is_string()) return decimalText(value.get<std::string>());
  if (value.is_object() && value.size() == 1 && value.contains("amount") &&
      !value["amount"].is_object()) {
    return amountOf(value["amount"]);
  }
  return std::nullopt;
}

ecf::DateTime toDateTime(const std::string& text, Clock clock) {
  if (text == "now") return clock();
  static const std::regex pattern(R"(^(\d{4})-(\d\d)-(\d\d)(?:[ T](\d\d):(\d\d)(?::(\d\d))?)?$)");
  std::smatch parts;
  // The longest date-time is 19 characters; the matcher never sees a longer text.
  if (text.size() <= 19 && std::regex_match(text, parts, pattern)) {
    const auto number = [&](int i) { return parts[i].matched ? std::stoi(parts[i]) : 0; };
    if (ecf::DateTime::isValid(number(1), number(2), number(3), number(4), number(5), number(6))) {
      return ecf::DateTime::fromParts(number(1), number(2), number(3), number(4), number(5),
                                      number(6));
    }
  }
  throw ValueError("\"" + text +
                   "\" is not a date-time: write \"YYYY-MM-DD\", \"YYYY-MM-DD hh:mm[:ss]\" or "
                   "\"now\"");
}

std::string dateTimeText(const ecf::DateTime& when) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.year(), when.month(),
                when.day(), when.hour(), when.minute(), when.second());
  return text;
}

ecf::DataPacket toPacket(const Json& value, Clock clock) {
  if (!value.is_object() || !value.contains("fields")) {
    throw ValueError("a data packet or dataset is {\"fields\": [...], \"rows\": [...]}, not " +
                     brief(value, 60));
  }
  for (const auto& [key, unused] : value.items()) {
    if (key != "fields" && key != "rows") {
      throw ValueError("unknown key \"" + key +
                       "\" in a data packet (use \"fields\" and \"rows\")");
    }
  }
  if (!value["fields"].is_array()) throw ValueError("\"fields\" must be a list");
  std::vector<ecf::FieldDef> fields;
  for (const Json& field : value["fields"]) fields.push_back(toFieldDef(field));

  std::vector<std::vector<ecf::Variant>> rows;
  const Json noRows = Json::array();
  const Json& jsonRows = value.contains("rows") ? value["rows"] : noRows;
  if (!jsonRows.is_array()) throw ValueError("\"rows\" must be a list");
  for (std::size_t r = 0; r < jsonRows.size(); ++r) {
    const Json& row = jsonRows[r];
    const std::string where = "row " + std::to_string(r + 1) + ": ";
    std::vector<ecf::Variant> values(fields.size());
    if (row.is_array()) {
      if (row.size() != fields.size()) {
        throw ValueError(where + "has " + std::to_string(row.size()) + " values for " +
                         std::to_string(fields.size()) + " fields");
      }
      for (std::size_t f = 0; f < fields.size(); ++f)
        values[f] = toFieldValue(row[f], fields[f], clock);
    } else if (row.is_object()) {
      for (const auto& [name, fieldValue] : row.items()) {
        std::size_t f = 0;
        while (f < fields.size() && fields[f].name != name) ++f;
        if (f == fields.size()) throw ValueError(where + "no field named \"" + name + "\"");
        values[f] = toFieldValue(fieldValue, fields[f], clock);
      }
    } else {
      throw ValueError(where + "a row is a list of values or an object of field values");
    }
    rows.push_back(std::move(values));
  }
  try {
    return ecf::DataPacket(std::move(fields), std::move(rows));
  } catch (const std::exception& error) {
    throw ValueError(error.what());
  }
}

ecf::Variant toVariant(const Json& value, Clock clock) {
  switch (value.type()) {
    case Json::value_t::null:
      return {};
    case Json::value_t::boolean:
      return value.get<bool>();
    case Json::value_t::number_integer:
      return static_cast<long long>(value.get<std::int64_t>());
    case Json::value_t::number_unsigned:
      if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
        throw ValueError("the number " + value.dump() + " is too large");
      }
      return static_cast<long long>(value.get<std::int64_t>());
    case Json::value_t::number_float:
      if (!std::isfinite(value.get<double>())) throw ValueError("a number must be finite");
      return value.get<double>();
    case Json::value_t::string:
      return value.get<std::string>();
    case Json::value_t::array: {
      ecf::Variant::Array items;
      for (const Json& item : value) items.push_back(toVariant(item, clock));
      return items;
    }
    case Json::value_t::object:
      if (value.size() == 1 && value.contains("date") && value["date"].is_string()) {
        return toDateTime(value["date"].get<std::string>(), clock);
      }
      if (value.size() == 1 && value.contains("amount")) {
        if (const auto amount = amountOf(value)) return *amount;
        throw ValueError(
            "an amount is {\"amount\": \"10.50\"} (a decimal text with a point), not " +
            brief(value, 60));
      }
      if (value.contains("fields")) return toPacket(value, clock);
      throw ValueError(
          "an object value must be a date {\"date\": ...}, a data packet "
          "{\"fields\": ..., \"rows\": ...}, not " +
          brief(value, 60));
    default:
      throw ValueError("unsupported value " + brief(value, 60));
  }
}

namespace {

// Whether no two of an object's names are alike but for case, told by one number per name
// (its letters upper-cased, hashed) instead of a case-insensitive search per field. False,
// to stay safe, for a name with a character outside ASCII or two numbers alike.
bool namesUnlikeInCase(const Json::object_t& object) {
  constexpr std::size_t kMost = 64;
  if (object.size() > kMost) return false;
  std::uint64_t hashes[kMost];
  std::size_t count = 0;
  for (const auto& member : object) {
    std::uint64_t hash = 14695981039346656037ULL ^ member.first.size();
    for (const char c : member.first) {
      if (static_cast<unsigned char>(c) >= 0x80) return false;
      hash = (hash ^ static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c)) *
             1099511628211ULL;
    }
    if (std::find(hashes, hashes + count, hash) != hashes + count) return false;
    hashes[count++] = hash;
  }
  return true;
}

}  // namespace

ecf::Variant toBag(const Json& value, Clock clock) {
  if (!value.is_object()) {
    throw ValueError("a bag is an object of fields {\"NAME\": value, ...}, not " +
                     brief(value, 60));
  }
  ecf::Variant bag{ecf::Variant::Array{}};
  const auto& members = value.get_ref<const Json::object_t&>();
  ecf::Variant::Array& pairs = bag.asArray();
  pairs.reserve(members.size());
  // Names that no search could match to one another are appended as they come: the bag
  // setBagField would give, with no search per field.
  const bool unlike = namesUnlikeInCase(members);
  for (const auto& [name, fieldValue] : members) {
    ecf::Variant field = toVariant(fieldValue, clock);
    if (!unlike) {
      ecf::setBagField(bag, name, std::move(field));
      continue;
    }
    ecf::Variant::Array pair;
    pair.reserve(2);
    pair.emplace_back(name);
    pair.emplace_back(std::move(field));
    pairs.emplace_back(std::move(pair));
  }
  return bag;
}

std::vector<ecf::Variant> toPositions(const Json& value, Clock clock) {
  std::vector<ecf::Variant> positions;
  if (value.is_array()) {
    for (const Json& item : value) positions.push_back(toVariant(item, clock));
    return positions;
  }
  if (!value.is_object() || !value.contains("size") || !value["size"].is_number_unsigned()) {
    throw ValueError("a positional array is a list, or {\"size\": n, \"at\": {\"index\": value}}");
  }
  for (const auto& [key, unused] : value.items()) {
    if (key != "size" && key != "at") {
      throw ValueError("unknown key \"" + key +
                       "\" in a positional array (use \"size\" and \"at\")");
    }
  }
  const std::size_t size = value["size"].get<std::size_t>();
  if (size > 1000) throw ValueError("a positional array of more than 1000 positions");
  positions.resize(size);
  if (!value.contains("at")) return positions;
  if (!value["at"].is_object()) throw ValueError("\"at\" must map positions to values");
  for (const auto& [key, item] : value["at"].items()) {
    std::size_t index = 0;
    if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos || key.size() > 4 ||
        (index = std::stoul(key)) >= size) {
      throw ValueError("position \"" + key + "\" is not an index from 0 to " +
                       std::to_string(size - 1));
    }
    positions[index] = toVariant(item, clock);
  }
  return positions;
}

Json fromPacket(const ecf::DataPacket& packet) {
  Json fields = Json::array();
  for (const auto& def : packet.fields()) fields.push_back(fieldDefText(def));
  Json rows = Json::array();
  for (std::size_t r = 0; r < packet.rowCount(); ++r) {
    Json row = Json::object();
    const auto& values = packet.row(r);
    for (std::size_t f = 0; f < packet.fields().size() && f < values.size(); ++f) {
      row[packet.fields()[f].name] = fromVariant(values[f]);
    }
    rows.push_back(std::move(row));
  }
  return Json{{"fields", std::move(fields)}, {"rows", std::move(rows)}};
}

Json fromVariant(const ecf::Variant& value) {
  switch (value.type()) {
    case ecf::Variant::Type::Null:
      return nullptr;
    case ecf::Variant::Type::Boolean:
      return value.toBool();
    case ecf::Variant::Type::Integer:
      return value.toInteger();
    case ecf::Variant::Type::Real:
      return value.toNumber();
    case ecf::Variant::Type::Text:
      return value.toText();
    case ecf::Variant::Type::DateTime:
      return dateTimeText(value.toDateTime());
    case ecf::Variant::Type::Array: {
      Json items = Json::array();
      for (const auto& item : value.asArray()) items.push_back(fromVariant(item));
      return items;
    }
    case ecf::Variant::Type::Packet:
      return fromPacket(value.asPacket());
  }
  return nullptr;
}

std::string brief(const Json& value, std::size_t width) {
  std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
  if (text.size() > width) {
    std::size_t cut = width - 3;
    // Never cut inside a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text = text.substr(0, cut) + "...";
  }
  return text;
}

}  // namespace ecf::capi

#include "ecf/variant.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "base/dateformat.h"
#include "base/numberformat.h"
#include "base/utf8.h"

namespace ecf {
namespace {

const char* typeName(Variant::Type type) {
  switch (type) {
    case Variant::Type::Null: return "nulo";
    case Variant::Type::Boolean: return "lógico";
    case Variant::Type::Integer: return "inteiro";
    case Variant::Type::Real: return "real";
    case Variant::Type::Text: return "texto";
    case Variant::Type::DateTime: return "data e hora";
    case Variant::Type::Array: return "lista";
    case Variant::Type::Packet: return "pacote de dados";
  }
  return "desconhecido";
}

VariantError cannotConvert(Variant::Type from, const char* to) {
  return VariantError(std::string("Um valor do tipo ") + typeName(from) + " não pode ser lido como " + to);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The element of a bag that holds the named pair, or nullptr.
template <class BagArray>
auto findPair(BagArray& pairs, std::string_view name) -> decltype(&pairs.front()) {
  for (auto& pair : pairs) {
    const auto* fields = pair.arrayValue();
    if (fields == nullptr || fields->size() < 2) continue;
    // Names of other sizes never match (see equalsIgnoreCase): most pairs are passed
    // over here without a call.
    if (const std::string* fieldName = (*fields)[0].textValue();
        fieldName != nullptr && fieldName->size() == name.size() &&
        equalsIgnoreCase(*fieldName, name)) {
      return &pair;
    }
  }
  return nullptr;
}

}  // namespace

std::string Variant::toText(const HostSettings& settings) const {
  switch (type()) {
    case Type::Null: return "";
    case Type::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case Type::Integer: return std::to_string(std::get<std::int64_t>(value_));
    case Type::Real: return floatToText(std::get<double>(value_), settings);
    case Type::Text: return std::get<std::string>(value_);
    case Type::DateTime: {
      const DateTime& value = std::get<DateTime>(value_);
      return value == value.date() ? shortDate(value, settings) : dateTimeText(value, settings);
    }
    case Type::Array:
    case Type::Packet: break;
  }
  throw cannotConvert(type(), "texto");
}

bool Variant::toBool() const {
  switch (type()) {
    case Type::Null: return false;
    case Type::Boolean: return std::get<bool>(value_);
    case Type::Integer: return std::get<std::int64_t>(value_) != 0;
    case Type::Real: return std::get<double>(value_) != 0.0;
    case Type::Text: {
      const std::string_view text = trimmed(std::get<std::string>(value_));
      for (const char* yes : {"True", "S", "1"}) {
        if (equalsIgnoreCase(text, yes)) return true;
      }
      for (const char* no : {"False", "N", "0"}) {
        if (equalsIgnoreCase(text, no)) return false;
      }
      throw VariantError("'" + std::get<std::string>(value_) + "' não é um valor lógico válido");
    }
    case Type::DateTime:
    case Type::Array:
    case Type::Packet: break;
  }
  throw cannotConvert(type(), "valor lógico");
}

double Variant::toNumber(const HostSettings& settings) const {
  switch (type()) {
    case Type::Null: return 0.0;
    case Type::Boolean: return std::get<bool>(value_) ? 1.0 : 0.0;
    case Type::Integer: return static_cast<double>(std::get<std::int64_t>(value_));
    case Type::Real: return std::get<double>(value_);
    case Type::Text:
      try {
        return textToFloat(std::get<std::string>(value_), settings);
      } catch (const ConversionError& error) {
        throw VariantError(error.what());
      }
    case Type::DateTime: return std::get<DateTime>(value_).toDays();
    case Type::Array:
    case Type::Packet: break;
  }
  throw cannotConvert(type(), "número");
}

std::int64_t Variant::toInteger(const HostSettings& settings) const {
  if (type() == Type::Integer) return std::get<std::int64_t>(value_);
  if (type() == Type::Text) {
    // Whole-number text is read exactly, beyond the 15 digits a real keeps.
    std::string_view text = trimmed(std::get<std::string>(value_));
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int64_t whole = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (result.ec == std::errc() && result.ptr == text.data() + text.size()) return whole;
  }
  // Reals (and numeric texts) are rounded half away from zero.
  const double number = std::round(toNumber(settings));
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (!std::isfinite(number) || number >= 9223372036854775808.0 ||
      number < -9223372036854775808.0) {
    throw VariantError("'" + toText(settings) + "' não cabe em um inteiro");
  }
  return static_cast<std::int64_t>(number);
}

DateTime Variant::toDateTime() const {
  try {
    switch (type()) {
      case Type::Null: return DateTime();
      case Type::Integer:
        return DateTime::fromDays(static_cast<double>(std::get<std::int64_t>(value_)));
      case Type::Real: return DateTime::fromDays(std::get<double>(value_));
      case Type::Text: return parseDateTime(std::get<std::string>(value_), HostSettings{});
      case Type::DateTime: return std::get<DateTime>(value_);
      case Type::Boolean:
      case Type::Array:
      case Type::Packet: break;
    }
  } catch (const std::invalid_argument& error) {
    throw VariantError(error.what());
  } catch (const ConversionError& error) {
    throw VariantError(error.what());
  }
  throw cannotConvert(type(), "data e hora");
}

const Variant::Array& Variant::asArray() const {
  if (!isArray()) throw cannotConvert(type(), "lista");
  return std::get<Array>(value_);
}

Variant::Array& Variant::asArray() {
  if (!isArray()) throw cannotConvert(type(), "lista");
  return std::get<Array>(value_);
}

Variant makeBag(std::initializer_list<std::pair<std::string, Variant>> fields) {
  Variant::Array pairs;
  pairs.reserve(fields.size());
  for (const auto& [name, value] : fields) {
    pairs.emplace_back(Variant::Array{Variant(name), value});
  }
  return Variant(std::move(pairs));
}

void setBagField(Variant& bag, std::string_view name, Variant value) {
  if (bag.isNull()) bag = Variant(Variant::Array{});
  Variant::Array& pairs = bag.asArray();
  if (Variant* pair = findPair(pairs, name)) {
    pair->asArray()[1] = std::move(value);
  } else {
    // Built in place: a braced list would copy the value (a text, a whole packet).
    Variant::Array field;
    field.reserve(2);
    field.emplace_back(name);
    field.emplace_back(std::move(value));
    pairs.emplace_back(std::move(field));
  }
}

const Variant* findBagField(const Variant& bag, std::string_view name) {
  const Variant::Array* pairs = bag.arrayValue();
  if (pairs == nullptr) return nullptr;
  const Variant* pair = findPair(*pairs, name);
  return pair ? &(*pair->arrayValue())[1] : nullptr;
}

}  // namespace ecf

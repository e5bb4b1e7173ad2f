// The host's loosely typed value: parameters, positional arrays and results travel as Variants.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/datetime.h"
#include "ecf/export.h"
#include "ecf/settings.h"

namespace ecf {

// A value that cannot be converted to the type asked for.
class ECF_API VariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ECF_API Variant {
 public:
  enum class Type { Null, Boolean, Integer, Real, Text, DateTime, Array, Packet };
  using Array = std::vector<Variant>;

  Variant() = default;
  Variant(std::nullptr_t) {}
  Variant(bool value) : value_(value) {}
  Variant(int value) : value_(static_cast<std::int64_t>(value)) {}
  Variant(long value) : value_(static_cast<std::int64_t>(value)) {}
  Variant(long long value) : value_(static_cast<std::int64_t>(value)) {}
  Variant(double value) : value_(value) {}
  Variant(const char* value) : value_(std::string(value ? value : "")) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(DateTime value) : value_(value) {}
  Variant(Array value) : value_(std::move(value)) {}
  Variant(DataPacket value) : value_(std::move(value)) {}

  Type type() const { return static_cast<Type>(value_.index()); }
  bool isNull() const { return type() == Type::Null; }
  bool isArray() const { return type() == Type::Array; }

  // Null reads as "", false, 0. Text converts by the host's settings; a text that is not
  // a number, or an array or packet asked for as a scalar, throws VariantError.
  // toText: booleans "True"/"False", reals in general notation (15 digits), date-times as
  // short date + " " + long time (the date alone at midnight).
  std::string toText(const HostSettings& settings = HostSettings{}) const;
  // Texts "True"/"False"/"S"/"N"/"1"/"0" in any case; numbers are true when not zero.
  bool toBool() const;
  // Booleans read as 1 and 0; date-times as day numbers.
  double toNumber(const HostSettings& settings = HostSettings{}) const;
  // Reals (and decimal texts) are rounded half away from zero.
  std::int64_t toInteger(const HostSettings& settings = HostSettings{}) const;
  // Reals are day numbers; texts read as "dd/mm/yy[yy][ hh:nn[:ss]]".
  DateTime toDateTime() const;

  // The text held, read in place; nullptr when the value is not a text.
  const std::string* textValue() const { return std::get_if<std::string>(&value_); }
  // The array held, read in place; nullptr when the value is not an array.
  const Array* arrayValue() const { return std::get_if<Array>(&value_); }
  Array* arrayValue() { return std::get_if<Array>(&value_); }

  const Array& asArray() const;  // throws VariantError when not an array
  Array& asArray();
  const DataPacket& asPacket() const;  // throws VariantError when not a packet; Null gives an empty packet

  bool operator==(const Variant& other) const { return value_ == other.value_; }

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, DateTime, Array,
               DataPacket>
      value_;
};

// The parameter bag: a Variant holding an array of (field name, value) pairs.
ECF_API Variant makeBag(std::initializer_list<std::pair<std::string, Variant>> fields);
// Sets a field of a bag, replacing the first pair with that name (letter case ignored) or adding one.
ECF_API void setBagField(Variant& bag, std::string_view name, Variant value);
// The value of a bag field, or nullptr when the bag has no pair of that name (letter case ignored).
ECF_API const Variant* findBagField(const Variant& bag, std::string_view name);

}  // namespace ecf

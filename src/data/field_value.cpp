#include "data/field_value.h"

#include <cmath>
#include <new>
#include <stdexcept>

#include "base/utf8.h"
#include "data/fields.h"
#include "ecf/dataset.h"

namespace ecf {
namespace {

template <class T>
int threeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool isNumeric(Variant::Type type) {
  return type == Variant::Type::Integer || type == Variant::Type::Real;
}

std::string badValueMessage(const FieldDef& def, std::string_view datasetName,
                            std::string_view why) {
  return "Valor inválido para o campo '" + def.name + "' (" + fieldTypeName(def.type) + ") em " +
         datasetLabel(datasetName) + ": " + std::string(why);
}

double finiteNumber(const FieldDef& def, const Variant& value, std::string_view datasetName,
                    const HostSettings& settings) {
  const double number = value.toNumber(settings);
  if (!std::isfinite(number)) {
    throw DatasetError(badValueMessage(def, datasetName, "o número não é finito"));
  }
  return number;
}

// `forSearch` keeps the wanted value of a locate whole: no cut, no rounding.
Variant convert(const FieldDef& def, const Variant& value, std::string_view datasetName,
                const HostSettings& settings, bool forSearch) {
  switch (def.type) {
    case FieldType::Text: {
      std::string text = repairUtf8(value.toText(settings));
      const auto size = static_cast<std::size_t>(def.size);
      if (!forSearch && def.size > 0 && charCount(text) > size) text = charSubstr(text, 0, size);
      return Variant(std::move(text));
    }
    case FieldType::Integer:
      if (forSearch) return Variant(finiteNumber(def, value, datasetName, settings));
      // Whole numbers stay exact; reals round half away from zero, as the host does.
      return Variant(value.toInteger(settings));
    case FieldType::Real: return Variant(finiteNumber(def, value, datasetName, settings));
    case FieldType::DateTime: return Variant(value.toDateTime());
    case FieldType::Boolean: return Variant(value.toBool());
  }
  throw DatasetError(badValueMessage(def, datasetName, "tipo de campo desconhecido"));
}

Variant converted(const FieldDef& def, const Variant& value, std::string_view datasetName,
                  const HostSettings& settings, bool forSearch) {
  if (value.isNull()) return {};
  try {
    return convert(def, value, datasetName, settings, forSearch);
  } catch (const DatasetError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    // Conversion failures of the value types (text that is no number, an array, a date
    // out of range) all reach the caller as one kind of error, with the field named.
    throw DatasetError(badValueMessage(def, datasetName, e.what()));
  }
}

}  // namespace

Variant toFieldValue(const FieldDef& def, const Variant& value, std::string_view datasetName,
                     const HostSettings& settings) {
  return converted(def, value, datasetName, settings, false);
}

Variant toSearchValue(const FieldDef& def, const Variant& value, std::string_view datasetName) {
  return converted(def, value, datasetName, HostSettings{}, true);
}

std::string textForm(const Variant& value) {
  return value.isNull() ? std::string() : value.toText(HostSettings{});
}

int compareFieldValues(const Variant& a, const Variant& b) {
  if (a.isNull() || b.isNull()) return threeWay(!a.isNull(), !b.isNull());
  const Variant::Type type = a.type();
  if (type != b.type()) {
    if (isNumeric(type) && isNumeric(b.type())) return threeWay(a.toNumber(), b.toNumber());
    return threeWay(static_cast<int>(type), static_cast<int>(b.type()));
  }
  switch (type) {
    case Variant::Type::Text: return threeWay(a.textValue()->compare(*b.textValue()), 0);
    case Variant::Type::Integer: return threeWay(a.toInteger(), b.toInteger());
    case Variant::Type::Real: return threeWay(a.toNumber(), b.toNumber());
    case Variant::Type::DateTime: return threeWay(a.toDateTime(), b.toDateTime());
    case Variant::Type::Boolean: return threeWay(a.toBool(), b.toBool());
    default: return 0;  // arrays and packets never reach a field
  }
}

}  // namespace ecf

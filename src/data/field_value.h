// Values as a dataset holds them: every value of a field is Null or of the field's type.
#pragma once

#include <string>
#include <string_view>

#include "ecf/datapacket.h"
#include "ecf/settings.h"
#include "ecf/variant.h"

namespace ecf {

// `value` converted to the type of `def`: texts go through Variant::toText, are repaired
// when they are not valid UTF-8 and are cut to the field's size in characters; numbers go
// through Variant::toNumber (integers round half away from zero); Null stays Null.
// A value that does not convert, or a number that is not finite, throws DatasetError
// naming the field and the dataset.
Variant toFieldValue(const FieldDef& def, const Variant& value, std::string_view datasetName,
                     const HostSettings& settings = HostSettings{});

// The wanted value of a locate in the form it is compared with the field's values: as
// toFieldValue, but a text is not cut and an integer field's value is not rounded, so
// that "Açaí 500ml" never finds "Açaí" and 2.5 never finds 3.
Variant toSearchValue(const FieldDef& def, const Variant& value, std::string_view datasetName);

// The text a filter compares: "" for Null, otherwise Variant::toText in the default settings.
std::string textForm(const Variant& value);

// Calls `use` with the text form of `value` as a string_view: a text is read in place,
// so comparing a row's texts copies nothing.
template <class Use>
auto withTextForm(const Variant& value, Use use) {
  if (const std::string* text = value.textValue()) return use(std::string_view(*text));
  if (value.isNull()) return use(std::string_view());
  const std::string form = textForm(value);
  return use(std::string_view(form));
}

// Ordering of two values of one field: Null lowest, texts by their UTF-8 bytes, numbers
// numerically, dates chronologically, false before true. Returns <0, 0 or >0.
int compareFieldValues(const Variant& a, const Variant& b);

}  // namespace ecf

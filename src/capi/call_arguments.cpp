// Reading one call's arguments from JSON, with messages that name the argument.
#include <limits>

#include "capi/operation_table.h"
#include "host/module_env.h"

namespace ecf::capi {

ecf::DateTime moduleNow() { return moduleEnv().now(); }

bool mayBeLeftOut(Kind kind) {
  return kind == Kind::Dataset || kind == Kind::StringList || kind == Kind::DateTime;
}

const Json& Call::arg(std::size_t i) const {
  static const Json null;
  return args_.at(i) != nullptr ? *args_[i] : null;
}

void Call::wrong(std::size_t i, const std::string& wanted) const {
  throw CallError("bad_argument", std::string(operation_.name) + ": argument " +
                                      std::to_string(i + 1) + " (" + operation_.params.at(i).name +
                                      ") must be " + wanted + ", not " + brief(arg(i), 60));
}

void Call::badValue(std::size_t i, const std::exception& error) const {
  throw CallError("bad_argument", std::string(error.what()) + " (" + operation_.name +
                                      ", argument " + std::to_string(i + 1) + " " +
                                      operation_.params.at(i).name + ")");
}

std::string Call::text(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_string()) wrong(i, "a text");
  return value.get<std::string>();
}

double Call::number(std::size_t i) const {
  const Json& value = arg(i);
  if (const auto amount = amountOf(value)) return *amount;
  throw CallError("bad_argument",
                  std::string(operation_.name) + ": argument " + std::to_string(i + 1) + " (" +
                      operation_.params.at(i).name + ") must be a number, not " +
                      brief(value, 60) +
                      " (an amount may also be a decimal text \"10.50\" or {\"amount\": \"10.50\"})");
}

std::int32_t Call::integer(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_number_integer()) wrong(i, "a whole number");
  const bool fits =
      value.is_number_unsigned()
          ? value.get<std::uint64_t>() <=
                static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
          : value.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
                value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max();
  if (!fits) {
    throw CallError("out_of_range", std::string(operation_.name) + ": argument " +
                                        std::to_string(i + 1) + " (" +
                                        operation_.params.at(i).name +
                                        ") must be a 32-bit whole number, not " +
                                        brief(value, 60));
  }
  return static_cast<std::int32_t>(value.get<std::int64_t>());
}

bool Call::boolean(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_boolean()) wrong(i, "true or false");
  return value.get<bool>();
}

ecf::Variant Call::bag(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_object()) wrong(i, "a bag {\"FIELD\": value, ...}");
  try {
    return toBag(value, &moduleNow);
  } catch (const ValueError& error) {
    badValue(i, error);
  }
}

std::vector<ecf::Variant> Call::positions(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_array() && !value.is_object()) wrong(i, "a positional array");
  try {
    return toPositions(value, &moduleNow);
  } catch (const ValueError& error) {
    badValue(i, error);
  }
}

ecf::Dataset Call::dataset(std::size_t i) const {
  const Json& value = arg(i);
  ecf::Dataset dataset(std::string(operation_.params.at(i).name));
  if (value.is_null()) return dataset;
  if (!value.is_object()) wrong(i, "a dataset {\"fields\": ..., \"rows\": ...} or null");
  try {
    dataset.setData(toPacket(value, &moduleNow));
  } catch (const std::exception& error) {  // also a packet the dataset refuses
    badValue(i, error);
  }
  return dataset;
}

ecf::StringList Call::strings(std::size_t i) const {
  const Json& value = arg(i);
  ecf::StringList list;
  if (value.is_null()) return list;
  if (!value.is_array()) wrong(i, "a list of texts");
  for (const Json& item : value) {
    if (!item.is_string()) wrong(i, "a list of texts");
    list.add(item.get<std::string>());
  }
  return list;
}

ecf::DateTime Call::dateTime(std::size_t i) const {
  const Json& value = arg(i);
  if (value.is_null()) return ecf::DateTime();
  try {
    if (value.is_string()) return toDateTime(value.get<std::string>(), &moduleNow);
    if (value.is_object() && value.size() == 1 && value.contains("date") &&
        value["date"].is_string()) {
      return toDateTime(value["date"].get<std::string>(), &moduleNow);
    }
  } catch (const ValueError& error) {
    badValue(i, error);
  }
  wrong(i, "a date-time such as \"2026-12-08 10:15:00\" or {\"date\": ...}");
}

Json bagToJson(const ecf::Variant& bag) {
  Json fields = Json::object();
  if (!bag.isArray()) return fields;
  for (const ecf::Variant& pair : bag.asArray()) {
    if (!pair.isArray() || pair.asArray().size() != 2) continue;
    fields[pair.asArray()[0].toText()] = fromVariant(pair.asArray()[1]);
  }
  return fields;
}

}  // namespace ecf::capi

#include "capi/settings_json.h"

#include "capi/json_values.h"
#include "driver/debug_log.h"
#include "host/module_env.h"

namespace ecf::capi {
namespace {

// One printable ASCII character: the module writes separators byte by byte.
bool readSeparator(const Json& value, char& target) {
  if (!value.is_string()) return false;
  const std::string text = value.get<std::string>();
  if (text.size() != 1 || text[0] < ' ' || text[0] > '~') return false;
  target = text[0];
  return true;
}

bool readPattern(const Json& value, std::string& target) {
  if (!value.is_string()) return false;
  const std::string text = value.get<std::string>();
  if (text.empty() || text.size() > 32) return false;
  target = text;
  return true;
}

bool readSmall(const Json& value, int low, int high, int& target) {
  if (!value.is_number_integer()) return false;
  const auto number = value.get<std::int64_t>();
  if (number < low || number > high) return false;
  target = static_cast<int>(number);
  return true;
}

bool apply(const std::string& key, const Json& value, HostSettings& settings) {
  if (key == "decimalSeparator") return readSeparator(value, settings.decimalSeparator);
  if (key == "thousandSeparator") return readSeparator(value, settings.thousandSeparator);
  if (key == "dateSeparator") return readSeparator(value, settings.dateSeparator);
  if (key == "timeSeparator") return readSeparator(value, settings.timeSeparator);
  if (key == "shortDateFormat") return readPattern(value, settings.shortDateFormat);
  if (key == "longTimeFormat") return readPattern(value, settings.longTimeFormat);
  if (key == "currencyString") {
    if (!value.is_string() || value.get<std::string>().size() > 16) return false;
    settings.currencyString = value.get<std::string>();
    return true;
  }
  if (key == "currencyFormat") return readSmall(value, 0, 3, settings.currencyFormat);
  if (key == "currencyDecimals") return readSmall(value, 0, 4, settings.currencyDecimals);
  return false;
}

}  // namespace

bool applySettingsJson(std::string_view text) {
  Json json;
  try {
    json = parseJson(text);
  } catch (const ValueError& error) {
    writeDebugLine(std::string("ERRO!!! ecf_set_settings_json: ") + error.what());
    return false;
  }
  if (!json.is_object()) return false;
  HostSettings settings = hostSettings();
  for (const auto& [key, value] : json.items()) {
    if (!apply(key, value, settings)) {
      writeDebugLine("ERRO!!! ecf_set_settings_json: " + key + " " + brief(value, 40) +
                     " recusado");
      return false;
    }
  }
  // An amount whose decimal and thousands separators are the same cannot be read back.
  if (settings.decimalSeparator == settings.thousandSeparator) return false;
  installHostSettings(settings);
  return true;
}

}  // namespace ecf::capi

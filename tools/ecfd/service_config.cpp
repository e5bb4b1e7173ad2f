#include "service_config.h"

#include <filesystem>
#include <stdexcept>

#include "base/env.h"
#include "base/utf8_path.h"

namespace ecfd {
namespace {

constexpr std::size_t kConfigLimit = 1024 * 1024;

std::string resolved(const std::filesystem::path& base, const std::string& value) {
  if (value.empty()) return value;
  const std::filesystem::path path = ecf::pathFromUtf8(value);
  return ecf::utf8FromPath(path.is_absolute() ? path : (base / path).lexically_normal());
}

template <typename T>
void take(const Json& json, const char* key, T& target) {
  if (json.contains(key) && !json.at(key).is_null()) target = json.at(key).get<T>();
}

}  // namespace

ServiceConfig ServiceConfig::load(const std::string& path) {
  std::string text, why;
  if (!ecf::realEnv().readFile(path, text, &why, kConfigLimit)) {
    throw std::runtime_error("cannot read the configuration " + path + ": " + why);
  }
  ServiceConfig config;
  try {
    const Json json = Json::parse(text);
    if (!json.is_object()) throw std::runtime_error("it is not a JSON object");
    take(json, "port", config.port);
    take(json, "hostDirectory", config.hostDirectory);
    take(json, "printerRoot", config.printerRoot);
    take(json, "tapeFile", config.tapeFile);
    take(json, "listen", config.listen);
    take(json, "scheme", config.scheme);
    take(json, "stateCode", config.stateCode);
    if (json.contains("operator")) {
      take(json.at("operator"), "code", config.operatorCode);
      take(json.at("operator"), "name", config.operatorName);
    }
    take(json, "settings", config.settings);
    take(json, "paymentTypes", config.paymentTypes);
    take(json, "taxRates", config.taxRates);
    take(json, "bagDefaults", config.bagDefaults);
    take(json, "queueLimit", config.queueLimit);
    take(json, "questionTimeoutSeconds", config.questionTimeoutSeconds);
    take(json, "allowedOrigins", config.allowedOrigins);
    take(json, "allowedHosts", config.allowedHosts);
  } catch (const Json::exception& error) {
    throw std::runtime_error("the configuration " + path + " is not valid: " + error.what());
  } catch (const std::runtime_error& error) {
    throw std::runtime_error("the configuration " + path + " is not valid: " + error.what());
  }
  if (config.hostDirectory.empty()) {
    throw std::runtime_error("the configuration " + path + " names no hostDirectory");
  }
  if (!config.paymentTypes.is_object() || !config.paymentTypes.contains("rows")) {
    throw std::runtime_error("the configuration " + path + " has no paymentTypes table");
  }
  if (config.queueLimit == 0) config.queueLimit = 1;
  if (config.questionTimeoutSeconds < 0) config.questionTimeoutSeconds = 0;
  std::error_code ignored;
  const std::filesystem::path base = std::filesystem::absolute(ecf::pathFromUtf8(path), ignored).parent_path();
  config.hostDirectory = resolved(base, config.hostDirectory);
  config.printerRoot = resolved(base, config.printerRoot);
  config.tapeFile = resolved(base, config.tapeFile);
  return config;
}

}  // namespace ecfd

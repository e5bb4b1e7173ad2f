#include "core/configuration.h"

#include <stdexcept>

#include "base/utf8.h"
#include "core/civil_time.h"
#include "core/errors.h"
#include "core/money.h"

namespace ecfsim {
namespace {

[[noreturn]] void invalid(const std::string& what) { throw std::invalid_argument(what); }

std::string textOf(const nlohmann::json& value, const std::string& key, std::size_t maxChars) {
  if (!value.is_string()) invalid(key + ": texto esperado");
  const std::string text = value.get<std::string>();
  if (!ecf::isValidUtf8(text) || ecf::charCount(text) > maxChars) {
    invalid(key + ": texto inválido ou com mais de " + std::to_string(maxChars) + " caracteres");
  }
  return text;
}

bool boolOf(const nlohmann::json& value, const std::string& key) {
  if (!value.is_boolean()) invalid(key + ": verdadeiro ou falso esperado");
  return value.get<bool>();
}

long long integerOf(const nlohmann::json& value, const std::string& key, long long low,
                    long long high) {
  if (!value.is_number_integer()) invalid(key + ": número inteiro esperado");
  const long long number = value.get<long long>();
  if (number < low || number > high) {
    invalid(key + ": fora da faixa " + std::to_string(low) + " a " + std::to_string(high));
  }
  return number;
}

// "18,00", "7.5" or 18 → hundredths of a percent.
int percentOf(const nlohmann::json& value, const std::string& key) {
  Milli thousandths = 0;
  if (value.is_string()) {
    const auto parsed = parseDecimal(value.get<std::string>());
    if (!parsed) invalid(key + ": percentual inválido");
    thousandths = *parsed;
  } else if (value.is_number()) {
    thousandths = static_cast<Milli>(value.get<double>() * 1000.0 + 0.5);
  } else {
    invalid(key + ": percentual esperado");
  }
  if (thousandths <= 0 || thousandths >= 100000 || thousandths % 10 != 0) {
    invalid(key + ": percentual fora da faixa (0,01 a 99,99)");
  }
  return static_cast<int>(thousandths / 10);
}

void requireObject(const nlohmann::json& value, const std::string& key) {
  if (!value.is_object()) invalid(key + ": objeto esperado");
}

template <class Check>
void forEachKey(const nlohmann::json& object, const std::string& where, Check check) {
  for (const auto& [key, value] : object.items()) {
    if (!check(key, value)) invalid(where + key + ": chave desconhecida");
  }
}

void applyTaxRates(Tables& tables, const nlohmann::json& list) {
  if (!list.is_array()) invalid("taxRates: lista esperada");
  tables.taxRates = {};
  for (const auto& entry : list) {
    requireObject(entry, "taxRates[]");
    if (!entry.contains("code") || !entry.contains("percent")) {
      invalid("taxRates[]: code e percent são obrigatórios");
    }
    const auto code = static_cast<std::size_t>(integerOf(entry["code"], "taxRates[].code", 0, 15));
    TaxRate rate{true, true, percentOf(entry["percent"], "taxRates[].percent")};
    forEachKey(entry, "taxRates[].", [&](const std::string& key, const nlohmann::json& value) {
      if (key == "icms") rate.icms = boolOf(value, "taxRates[].icms");
      return key == "code" || key == "percent" || key == "icms";
    });
    if (tables.taxRates[code].programmed) invalid("taxRates: código repetido");
    tables.taxRates[code] = rate;
  }
}

void applyPaymentMethods(Tables& tables, const nlohmann::json& list) {
  if (!list.is_array()) invalid("paymentMethods: lista esperada");
  tables.methods = {};
  for (const auto& entry : list) {
    requireObject(entry, "paymentMethods[]");
    if (!entry.contains("code") || !entry.contains("name")) {
      invalid("paymentMethods[]: code e name são obrigatórios");
    }
    const long long code = integerOf(entry["code"], "paymentMethods[].code", 0, 14);
    std::string description;
    bool allowsLinked = false;
    forEachKey(entry, "paymentMethods[].", [&](const std::string& key, const nlohmann::json& v) {
      if (key == "description") description = textOf(v, "paymentMethods[].description", 40);
      if (key == "allowsLinked") allowsLinked = boolOf(v, "paymentMethods[].allowsLinked");
      return key == "code" || key == "name" || key == "description" || key == "allowsLinked";
    });
    const std::string name = textOf(entry["name"], "paymentMethods[].name", kMethodNameMax);
    try {
      tables.defineMethod(code, name, description, allowsLinked);
    } catch (const CommandError& e) {
      invalid("paymentMethods: " + e.circumstance());
    }
  }
}

void applyTotalizers(Tables& tables, const nlohmann::json& list) {
  if (!list.is_array()) invalid("nonFiscalTotalizers: lista esperada");
  tables.nonFiscal = {};
  for (const auto& entry : list) {
    requireObject(entry, "nonFiscalTotalizers[]");
    if (!entry.contains("code") || !entry.contains("name")) {
      invalid("nonFiscalTotalizers[]: code e name são obrigatórios");
    }
    const long long code = integerOf(entry["code"], "nonFiscalTotalizers[].code", 0, 14);
    std::string description;
    bool entryKind = true;
    forEachKey(entry, "nonFiscalTotalizers[].", [&](const std::string& key,
                                                    const nlohmann::json& v) {
      if (key == "description") description = textOf(v, "nonFiscalTotalizers[].description", 40);
      if (key == "entry") entryKind = boolOf(v, "nonFiscalTotalizers[].entry");
      return key == "code" || key == "name" || key == "description" || key == "entry";
    });
    const std::string name = textOf(entry["name"], "nonFiscalTotalizers[].name", kNonFiscalNameMax);
    try {
      tables.defineTotalizer(code, name, description, entryKind);
    } catch (const CommandError& e) {
      invalid("nonFiscalTotalizers: " + e.circumstance());
    }
  }
}

}  // namespace

void applyConfiguration(PrinterState& state, const nlohmann::json& config) {
  requireObject(config, "configuração");
  if (state.open.kind != DocKind::None) invalid("há um documento aberto na impressora");
  Identity& id = state.identity;
  Conditions& conditions = state.conditions;
  forEachKey(config, "", [&](const std::string& key, const nlohmann::json& value) {
    if (key == "serial") {
      id.serial = textOf(value, key, 20);
    } else if (key == "ecfNumber") {
      id.ecfNumber = static_cast<int>(integerOf(value, key, 1, 999));
    } else if (key == "model") {
      id.model = textOf(value, key, 30);
    } else if (key == "header") {
      if (!value.is_array() || value.size() > 6) invalid("header: lista de até 6 linhas esperada");
      id.header.clear();
      for (const auto& line : value) id.header.push_back(textOf(line, "header[]", 48));
    } else if (key == "cnpj") {
      id.cnpj = textOf(value, key, 20);
    } else if (key == "ie") {
      id.ie = textOf(value, key, 20);
    } else if (key == "im") {
      id.im = textOf(value, key, 20);
    } else if (key == "taxRates") {
      applyTaxRates(state.tables, value);
    } else if (key == "paymentMethods") {
      applyPaymentMethods(state.tables, value);
    } else if (key == "nonFiscalTotalizers") {
      applyTotalizers(state.tables, value);
    } else if (key == "drawerSensor") {
      conditions.drawerSensor = boolOf(value, key);
    } else if (key == "daylightSaving") {
      conditions.daylightSaving = boolOf(value, key);
    } else if (key == "paperOut") {
      conditions.paperOut = boolOf(value, key);
    } else if (key == "offline") {
      conditions.offline = boolOf(value, key);
    } else if (key == "clockOffsetSeconds") {
      conditions.clock.fixed = false;
      conditions.clock.offsetSeconds = integerOf(value, key, -3'153'600'000LL, 3'153'600'000LL);
    } else if (key == "fixedTime") {
      if (value.is_null()) {
        conditions.clock.fixed = false;
      } else {
        const auto seconds = parseIsoDateTime(textOf(value, key, 19));
        if (!seconds) invalid("fixedTime: use \"aaaa-mm-dd hh:mm:ss\"");
        conditions.clock.fixed = true;
        conditions.clock.fixedSeconds = *seconds;
      }
    } else {
      return false;
    }
    return true;
  });
}

}  // namespace ecfsim

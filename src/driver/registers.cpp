#include "driver/registers.h"

#include <cctype>
#include <cstdint>
#include <string>

#include "base/numberformat.h"
#include "base/utf8.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"

namespace ecf {
namespace {

// Selector i (1 to 15) names the flag of value 2^(15 - i).
constexpr int kFlagCount = 15;

std::string removeAll(std::string text, char unwanted) {
  std::erase(text, unwanted);
  return text;
}

}  // namespace

std::string valueAfterPrefix(std::string_view returned, std::size_t prefixLength) {
  inPos = static_cast<std::int32_t>(prefixLength + 1);
  inPos1 = static_cast<std::int32_t>(charCount(returned));
  const std::string value = charSubstr(returned, prefixLength);
  keepReturnedValue(value);
  return value;
}

std::string moneyValue(std::string_view returned) {
  const std::string value = removeAll(valueAfterPrefix(returned, 11), '.');
  keepReturnedValue(value);
  return value;
}

std::string delimitedValue(std::string_view returned) {
  const std::size_t length = charCount(returned);
  const std::string value = length <= 12 ? "" : charSubstr(returned, 11, length - 12);
  if (length > 12) {
    inPos = 12;
    inPos1 = static_cast<std::int32_t>(length - 1);
  }
  keepReturnedValue(value);
  return value;
}

std::string quotedValueBefore(std::string_view returned, std::string_view startKey,
                              std::string_view endKey) {
  const std::string opening = std::string(startKey) + "\"";
  const std::size_t start = returned.find(opening);
  if (start == std::string_view::npos) return "";
  const std::string closing = "\" " + std::string(endKey);
  const std::size_t end = returned.find(closing);
  const std::size_t from = start + opening.size();
  if (end == std::string_view::npos || end < from) return "";
  return std::string(returned.substr(from, end - from));
}

bool readRegister(const std::string& command, const std::string& parameter,
                  const std::string& registerName, const std::string& scheme, bool showMessage,
                  std::string& returned, const std::string& debugLine) {
  return runQuery(Command{command, {{parameter, registerName, PARAMETRO_STRING}}}, debugLine,
                  scheme, showMessage, returned);
}

std::string readInteger(const std::string& registerName, bool showMessage) {
  std::string returned;
  if (!readRegister("LeInteiro", "NomeInteiro", registerName, "", showMessage, returned,
                    executedLine("LeInteiro - NomeInteiro - " + registerName))) {
    return "";
  }
  const std::string value = valueAfterPrefix(returned, 13);
  writeDebugLine("Retorno Impressora: " + value);
  return value;
}

std::string readMoney(const std::string& registerName, bool showMessage) {
  std::string returned;
  if (!readRegister("LeMoeda", "NomeDadoMonetario", registerName, "", showMessage, returned,
                    executedLine("LeMoeda - NomeDadoMonetario - " + registerName))) {
    return "";
  }
  const std::string value = moneyValue(returned);
  writeDebugLine("Retorno Impressora: " + value);
  return value;
}

std::string textValue(std::string_view returned) {
  constexpr std::size_t kPrefix = 12;  // ValorTexto="
  const std::size_t length = charCount(returned);
  const std::string value =
      length <= kPrefix ? "" : Trim(charSubstr(returned, kPrefix, length - kPrefix - 1));
  keepReturnedValue(value);
  return value;
}

bool readFlag(int selector) {
  const std::string text = readInteger("Indicadores", false);
  if (text.empty()) return false;
  std::int64_t remaining = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    remaining = remaining * 10 + (c - '0');
    if (remaining > (std::int64_t{1} << 40)) return false;
  }
  for (int index = 1; index <= kFlagCount; ++index) {
    const std::int64_t flag = std::int64_t{1} << (kFlagCount - index);
    if (remaining >= flag) {
      remaining -= flag;
      if (index == selector) return true;
    }
  }
  return false;
}

double amountValue(std::string_view text) {
  std::string digits = removeAll(removeAll(Trim(text), ','), '.');
  bool anyDigit = false;
  for (const char c : digits) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      anyDigit = true;
    } else if (c != '-') {
      throw ConversionError("'" + std::string(text) + "' não é um valor válido");
    }
  }
  if (!anyDigit) throw ConversionError("'" + std::string(text) + "' não é um valor válido");
  const std::size_t split = digits.size() >= 2 ? digits.size() - 2 : 0;
  digits.insert(split, 1, hostSettings().decimalSeparator);
  return textToFloat(digits, hostSettings());
}

double printerNumber(std::string_view text) {
  // The printer always writes a decimal comma.
  static const HostSettings printerNotation = HostSettings::brazilian();
  return textToFloat(text, printerNotation);
}

}  // namespace ecf

extern "C" {

ECF_API std::string LeInteiro(const std::string& registerName, bool showMessage) {
  return ecf::guarded("LeInteiro", "", std::string(),
                      [&] { return ecf::readInteger(registerName, showMessage); });
}

ECF_API std::string LeMoeda(const std::string& registerName, bool showMessage) {
  return ecf::guarded("LeMoeda", "", std::string(),
                      [&] { return ecf::readMoney(registerName, showMessage); });
}

ECF_API bool LeIndicadores(std::int32_t selector) {
  return ecf::guarded("LeIndicadores", "", false, [&] { return ecf::readFlag(selector); });
}

ECF_API double GetValue(const std::string& amountText) {
  return ecf::guarded("GetValue", "", 0.0, [&] { return ecf::amountValue(amountText); });
}

ECF_API bool BuscaTotGer(const std::string& scheme, std::string& grandTotal) {
  return ecf::guarded("BuscaTotGer", scheme, false, [&] {
    std::string returned;
    if (!ecf::readRegister("LeMoeda", "NomeDadoMonetario", "GT", scheme, true, returned,
                           ecf::executedLine("LeMoeda - NomeDadoMonetario - GT"))) {
      return false;
    }
    const std::string value = ecf::moneyValue(returned);
    // Converted before the out-parameter is touched: an unreadable total leaves it as it was.
    const double total = ecf::amountValue(value);
    grandTotal = ecf::floatToText(total, ecf::hostSettings());
    ecf::writeDebugLine("Retorno Impressora: " + grandTotal);
    return true;
  });
}

}  // extern "C"

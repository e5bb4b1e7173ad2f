// The printer's programmable tax rates, as the table the host maps products' taxes with.
#include <optional>
#include <string>
#include <vector>

#include "base/numberformat.h"
#include "base/utf8.h"
#include "config/table_answers.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"

namespace ecf {
namespace {

constexpr int kRateCount = 16;
constexpr std::size_t kIndicatorPosition = 13;  // the 14th character: "Y" for an ICMS rate

// One rate read from the printer, as a seven-character entry: the two-digit code and the
// five-character percentage ("0107,00").
struct TaxRate {
  std::string entry;
  bool icms = false;
};

std::string characters(std::string_view text, std::string_view key, std::size_t count) {
  const std::size_t at = text.find(key);
  if (at == std::string_view::npos) return "";
  return Trim(charSubstr(text.substr(at + key.size()), 0, count));
}

// The rate in an answer such as
//   AliquotaICMS=Y CodAliquotaProgramavel=01 PercentualAliquota=7,00
// or nothing when the answer does not have that layout.
std::optional<TaxRate> parseRate(const std::string& returned) {
  const std::string code = characters(returned, "CodAliquotaProgramavel=", 2);
  const std::string percentage = Trim(ratePercentage(returned).value_or(""));
  // Percentages come as one or two digits, a decimal separator and two decimals.
  const std::size_t separator = percentage.find_first_of(",.");
  if (!isDigits(code) || separator == std::string::npos || separator < 1 || separator > 2 ||
      percentage.size() != separator + 3 || !isDigits(percentage.substr(0, separator)) ||
      !isDigits(percentage.substr(separator + 1))) {
    return std::nullopt;
  }
  return TaxRate{Ajusta(code, 2) + Ajusta(percentage, 5),
                 charSubstr(returned, kIndicatorPosition, 1) == "Y"};
}

// Reads the rates at codes 0 to 15 up to the first the printer refuses.
std::vector<TaxRate> readTaxRates(const std::string& scheme, bool logCommands) {
  std::vector<TaxRate> rates;
  for (int index = 0; index < kRateCount; ++index) {
    const std::string code = std::to_string(index);
    std::string returned;
    const Command read{"LeAliquota", {{"CodAliquotaProgramavel", code, PARAMETRO_UINT}}};
    const std::string line =
        logCommands ? executedLine("LeAliquota - CodAliquotaProgramavel - " + code) : "";
    if (!runQuery(read, line, scheme, false, returned)) break;
    if (const std::optional<TaxRate> rate = parseRate(returned)) {
      rates.push_back(*rate);
    } else {
      writeDebugLine("Aliquota ilegivel: " + returned);
    }
  }
  return rates;
}

// An ICMS rate is also marked "S" when a rate of the other kind has the same code and
// the same whole percentage. Entries are compared whole, never across two of them.
bool alsoOtherKind(const TaxRate& icmsRate, const std::vector<TaxRate>& rates) {
  for (const TaxRate& other : rates) {
    if (!other.icms && other.entry.compare(0, 4, icmsRate.entry, 0, 4) == 0) return true;
  }
  return false;
}

void addRow(Dataset& table, const std::string& code, double percentage, const std::string& kind) {
  table.insert();
  try {
    table.setValue("CDALIQIMPFIS", code);
    table.setValue("VRALIQIMPFIS", percentage);
    table.setValue("IDALIQIMPFIS", kind);
    table.post();
  } catch (const DatasetError& error) {
    // One bad row must not cost the host the rest of the table.
    table.cancel();
    writeDebugLine("Alíquota " + code + " não incluída: " + error.what());
  }
}

void fillRateTable(Dataset& table, const std::vector<TaxRate>& rates) {
  table.close();
  table.createDataSet();
  const HostSettings& settings = hostSettings();
  for (const TaxRate& rate : rates) {
    if (!rate.icms) continue;
    // "0118,00": code 01, 18 and 00 around the host's decimal separator.
    const std::string percentage =
        rate.entry.substr(2, 2) + settings.decimalSeparator + rate.entry.substr(5, 2);
    addRow(table, rate.entry.substr(0, 2), textToFloat(percentage, settings),
           alsoOtherKind(rate, rates) ? "S" : "T");
  }
  // Untaxed, exempt and tax substitution are always there.
  addRow(table, "-4", 0.0, "N");
  addRow(table, "-3", 0.0, "I");
  addRow(table, "-2", 0.0, "F");
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API void CarregaAliquota(const std::string& scheme, ecf::Dataset& /*unused*/) {
  ecf::guardedVoid("CarregaAliquota", scheme, [&] {
    ecf::TdtmEcf01600& module = ecf::dataModule();
    ecf::fillRateTable(module.cdsAliqImpFis, ecf::readTaxRates(scheme, true));
  });
}

ECF_API bool Retorno_Aliquotas_Imp(const std::string& scheme) {
  return ecf::guarded("Retorno_Aliquotas_Imp", scheme, false, [&] {
    ecf::readTaxRates(scheme, false);
    return false;
  });
}

}  // extern "C"

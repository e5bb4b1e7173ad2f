#include "driver/grand_total.h"

#include <string>

#include "base/numberformat.h"
#include "data/dataset_file.h"
#include "data/filter.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "host/operator.h"

namespace ecf {
namespace {

// The stored value of a row whose total has not been recorded yet.
constexpr double kUnrecordedMarker = 10.10;

std::string invalidFileMessage(const std::string& path) {
  std::string text = msgPadrao("ArqConfig_Inv4");
  const std::size_t placeholder = text.find("%s");
  if (placeholder != std::string::npos) text.replace(placeholder, 2, path);
  return text;
}

}  // namespace

std::string grandTotalFilePath() { return moduleEnv().hostDirectory() + "Merkato.cds"; }

bool updateGrandTotalFile(const Variant& bag) {
  TdtmEcf01600& module = ensureDataModule();
  const std::string branch = bagText(bag, "CDFILIAL");
  const std::string cashRegister = bagText(bag, "CDCAIXA");
  const std::string serial = bagText(bag, "NRSERIEIMP");
  const std::string scheme = bagText(bag, "ESQUEMACOR");
  const std::string verify = bagText(bag, "IDVALIDA");
  const std::string path = grandTotalFilePath();
  Dataset& check = module.cdsCheckECF;
  bool result = true;
  try {
    check.setData(readDatasetFile(moduleEnv(), path, kGrandTotalFileLimit));
    check.setFiltered(false);
    check.setFilter("CDFILIAL = " + quoteFilterValue(branch) +
                    " AND CDCAIXA = " + quoteFilterValue(cashRegister) +
                    " AND NRSERIEECF = " + quoteFilterValue(serial));
    check.setFiltered(true);
    check.first();
    if (check.isEmpty() || check.asText("CAMPO01") != "S") return true;

    const std::string stored = Uncripto(check.asText("CAMPO02"), kGrandTotalKey);
    std::string printerTotal;
    // A total that could not be read is never recorded: the file stays as it was.
    if (!BuscaTotGer(scheme, printerTotal)) return false;

    bool record = verify != "S";
    if (!record) {
      if (stored.empty()) {
        check.close();
        showNotice(invalidFileMessage(path), scheme);
        return false;
      }
      const double storedValue = RoundDec(textToFloat(stored, hostSettings()), 2);
      const double printerValue = RoundDec(textToFloat(printerTotal, hostSettings()), 2);
      if (storedValue == kUnrecordedMarker) {
        record = true;
      } else if (storedValue != printerValue) {
        check.close();
        showNotice(invalidFileMessage(path), scheme);
        return false;
      }
    }
    if (record) {
      check.edit();
      check.setValue("CAMPO02", Cripto(printerTotal, kGrandTotalKey));
      check.post();
      // A total that never reached the disk is not recorded: the next verification would
      // fail against the file as it was.
      try {
        writeDatasetFile(moduleEnv(), path, check.data());
      } catch (const std::exception& error) {
        check.close();
        showNotice(error.what(), scheme);
        return false;
      }
      check.close();
    }
  } catch (const DriverUnavailable&) {
    throw;
  } catch (const std::exception& error) {
    showNotice(error.what(), scheme);
  }
  return result;
}

}  // namespace ecf

extern "C" ECF_API bool Atu_TotGeral(const ecf::Variant& bag) {
  return ecf::guarded("Atu_TotGeral", ecf::bagTextLenient(bag, "ESQUEMACOR"), false,
                      [&] { return ecf::updateGrandTotalFile(bag); });
}

// The Z data export: the day's counters and totals, the payments per host payment type,
// the tax per rate and the non-fiscal totals, each read from the printer's registers
// without a word to the operator, in the order the day's record is laid out.
#include "dayclose/z_export.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/conversionerror.h"
#include "base/decimal.h"
#include "base/env.h"
#include "base/utf8.h"
#include "config/status.h"
#include "config/table_answers.h"
#include "dayclose/movement_date.h"
#include "dayclose/z_datasets.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "host/operator.h"

namespace ecf {
namespace {

constexpr int kTableSlots = 15;  // codes 0 to 14 of each printer table
constexpr const char* kCashTypeName = "DINHEIRO";
constexpr int kMethodNameWidth = 16;

// The day's amounts, in the order they are read, with the field each one fills.
constexpr std::array<std::pair<const char*, const char*>, 10> kDayAmounts{{
    {"TotalDiaVendaBruta", "VRVENBRUREDZ"},
    {"TotalDiaCancelamentosICMS", "VRTOTCANREDZ"},
    {"TotalDiaDescontos", "VRTOTDESREDZ"},
    {"TotalDiaImpostoISSQN", "VRISSREDZ"},
    {"TotalDiaAcrescimos", "VRTOTACRREDZ"},
    {"TotalDiaVendaLiquida", "VRVENLIQREDZ"},
    {"GT", "VRGTREDZ"},
    {"TotalDiaSubstituicaoTributariaICMS", "VRSTRIBREDZ"},
    {"TotalDiaIsencaoICMS", "VRISENCREDZ"},
    {"TotalDiaNaoTributadoICMS", "VRNINCIDREDZ"},
}};

// Ends the building of the datasets: the rows posted before it stay.
class ExportStopped : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void logStop(const std::string& reason) { writeDebugLine("ExportRedZ interrompida: " + reason); }

std::string slotCode(int slot) { return Ajusta(std::to_string(slot), 2); }

std::string readCounter(const std::string& name) {
  const std::string value = readInteger(name, false);
  if (value.empty()) throw ExportStopped("registrador " + name + " não lido");
  if (!isDigits(value)) {
    throw ExportStopped("registrador " + name + " com valor '" + value + "', que não é um contador");
  }
  return value;
}

// A printer number in its own notation (decimal comma), whatever the host writes.
double printerValue(const std::string& value, const std::string& what) {
  try {
    return printerNumber(value);
  } catch (const ConversionError&) {
    throw ExportStopped(what + " com valor '" + value + "', que não é um número");
  }
}

double readAmount(const std::string& name) {
  const std::string value = readMoney(name, false);
  if (value.empty()) throw ExportStopped("registrador " + name + " não lido");
  return printerValue(value, "registrador " + name);
}

// The host keeps the reductions' files under its own directory; the export only makes
// sure the directories are there.
void prepareDirectories() {
  Env& env = moduleEnv();
  const std::string data = env.hostDirectory() + "Dados";
  for (const std::string& path : {data, data + pathSeparator() + "Reduções"}) {
    if (env.directoryExists(path) || env.createDirectory(path, nullptr)) continue;
    showNotice(msgPadrao("N_POS_DIR") + " " + path, "002");
  }
}

// The host's payment types into the working copy; a table without the two fields the
// export matches on is refused before anything is read from the printer.
bool loadPaymentTypes(Dataset& working, const Dataset& host, const std::string& scheme) {
  const DataPacket packet = host.data();
  for (const char* field : {"CDTIPORECE", "NMTIPORECE"}) {
    if (packet.fieldIndex(field) < 0) {
      const std::string text = msgPadrao("ExportaZ_TiposSemCampo", {field});
      logStop(text);
      showNotice(text, scheme);
      return false;
    }
  }
  working.setFiltered(false);
  working.setData(packet);
  return true;
}

class ZBuilder {
 public:
  ZBuilder(TdtmEcf01600& module, const std::string& scheme, const std::string& ecfNumber,
           const DateTime& movementDate, const std::string& nextCoo)
      : module_(module),
        scheme_(scheme),
        ecfNumber_(ecfNumber),
        movementDate_(movementDate),
        nextCoo_(nextCoo) {}

  void recreate() {
    // Closed first, so that nothing of an earlier export is handed back whatever happens.
    for (Dataset* dataset : all()) dataset->close();
    recreateOne(module_.cdsFormPgtoRedZ, ZTable::PaymentTotals);
    recreateOne(module_.cdsTotNFiscRedZ, ZTable::NonFiscalTotals);
    recreateOne(module_.cdsImpostoRedZ, ZTable::TaxTotals);
    recreateOne(module_.cdsReducaoZ, ZTable::DayRecord);
  }

  void buildDayRecord() {
    Dataset& day = module_.cdsReducaoZ;
    startRow(day);
    day.setValue("NRGERCNFREDZ", Ajusta(readCounter("GNF"), 6));
    day.setValue("NRREDREDZ", Ajusta(readCounter("CRZ"), 10));
    const std::string reductions = readCounter("CRZ");
    day.setValue("NRREINIREDZ", readCounter("ContadorReinicioReducao[" + reductions + "]"));
    day.setValue("NRCANCFREDZ", readCounter("CFC"));
    day.setValue("NRPRIMCFREDZ", Ajusta(readCounter("COOInicioDia"), 10));
    // The reduction about to be printed takes the next counter.
    day.setValue("NRULTCFREDZ", nextCoo_);
    day.setValue("NRLEITREDZ", "");
    for (const auto& [name, field] : kDayAmounts) day.setValue(field, readAmount(name));
    day.post();
  }

  // The cash total, then the printer's payment methods 0 to 14, each added to the host
  // payment type of the same name; methods the host does not know are left out.
  void buildPaymentTotals() {
    if (const auto cash = findPaymentType(kCashTypeName)) {
      addPayment(*cash, readAmount("TotalDiaDinheiro"));
    }
    for (int slot = 0; slot < kTableSlots; ++slot) {
      const std::string name = readMethodName(slot);
      if (name.empty()) continue;
      const auto type = findPaymentType(name);
      if (!type) continue;
      addPayment(*type, readAmount("TotalDiaMeioPagamento[" + std::to_string(slot) + "]"));
    }
    module_.cdsTipoRece.close();
  }

  // One row per rate the printer answers for; a refused slot is skipped and the others
  // keep their own numbers.
  void buildTaxTotals() {
    for (int slot = 0; slot < kTableSlots; ++slot) {
      const std::string code = std::to_string(slot);
      std::string returned;
      if (!runQuery(Command{"LeAliquota", {{"CodAliquotaProgramavel", code, PARAMETRO_UINT}}},
                    executedLine("LeAliquota - CodAliquotaProgramavel - " + code), scheme_,
                    false, returned)) {
        continue;
      }
      const std::optional<std::string> percentage = ratePercentage(returned);
      if (!percentage) {
        throw ExportStopped("alíquota " + slotCode(slot) + " sem percentual: " + returned);
      }
      const double rate = printerValue(*percentage, "alíquota " + slotCode(slot));
      const double tax = readAmount("TotalDiaImpostoAliquota[" + code + "]");
      // A rate of zero collects nothing on any base: zero, not a division by zero.
      const double base = rate == 0.0 ? 0.0 : tax * 100.0 / rate;
      Dataset& taxes = module_.cdsImpostoRedZ;
      startRow(taxes);
      taxes.setValue("CDALIQIMPRZ", slotCode(slot));
      taxes.setValue("VRALIQIMPRZ", rate);
      taxes.setValue("VRBCALCIMPRZ", base);
      taxes.setValue("VRIMPOSTORZ", tax);
      taxes.setValue("IDTPIMPREDZ", "T");
      taxes.post();
    }
  }

  void buildNonFiscalTotals() {
    for (int slot = 0; slot < kTableSlots; ++slot) {
      const std::string code = std::to_string(slot);
      std::string returned;
      if (!runQuery(Command{"LeNaoFiscal", {{"CodNaoFiscal", code, PARAMETRO_UINT}}},
                    executedLine("LeNaoFiscal - CodNaoFiscal - " + code), scheme_, false,
                    returned)) {
        continue;
      }
      const std::string name = nonFiscalName(returned);
      Dataset& totals = module_.cdsTotNFiscRedZ;
      startRow(totals);
      totals.setValue("NRTOTNFISCRZ", slotCode(slot));
      totals.setValue("DSTOTNFISCRZ", name);
      totals.setValue("NRCONTOTNFIS", "");
      totals.setValue("VRACUTOTNFIS", readAmount("TotalDiaNaoFiscal[" + code + "]"));
      totals.post();
    }
  }

  // A row left half filled by a stop is not handed back.
  void dropRowsInProgress() {
    for (Dataset* dataset : all()) {
      if (dataset->state() == Dataset::State::Insert || dataset->state() == Dataset::State::Edit) {
        dataset->cancel();
      }
    }
  }

 private:
  std::array<Dataset*, 4> all() {
    return {&module_.cdsFormPgtoRedZ, &module_.cdsTotNFiscRedZ, &module_.cdsImpostoRedZ,
            &module_.cdsReducaoZ};
  }

  static void recreateOne(Dataset& dataset, ZTable table) {
    try {
      recreateEmpty(dataset, table);
    } catch (const std::exception& error) {
      throw ExportStopped("conjunto " + dataset.name() + " não recriado: " + error.what());
    }
  }

  // Rows go at the end, so the host gets them in slot order.
  void startRow(Dataset& dataset) {
    dataset.append();
    dataset.setValue("NRECFREDZ", ecfNumber_);
    dataset.setValue("DTREDUCAOZ", movementDate_);
  }

  // The printer's name of payment method `slot`, trimmed; "" when the slot is refused.
  std::string readMethodName(int slot) {
    const std::string code = std::to_string(slot);
    std::string returned;
    if (!runQuery(
            Command{"LeMeioPagamento", {{"CodMeioPagamentoProgram", code, PARAMETRO_UINT}}},
            executedLine("LeMeioPagamento - CodMeioPagamentoProgram - " + code), scheme_, false,
            returned)) {
      return "";
    }
    return Trim(TamFixo(
        Trim(quotedValueBefore(returned, "NomeMeioPagamento=", "PermiteVinculado=")),
        kMethodNameWidth));
  }

  // The code of the first host payment type of that name, ignoring case and accents.
  std::optional<std::string> findPaymentType(const std::string& name) {
    Dataset& types = module_.cdsTipoRece;
    for (types.first(); !types.eof(); types.next()) {
      if (equalsIgnoreCaseAndAccents(Trim(types.asText("NMTIPORECE")), name)) {
        return types.asText("CDTIPORECE");
      }
    }
    return std::nullopt;
  }

  void addPayment(const std::string& typeCode, double amount) {
    Dataset& totals = module_.cdsFormPgtoRedZ;
    // The field keeps three characters: the row is found by what it keeps.
    const std::string code = charSubstr(typeCode, 0, 3);
    if (totals.locate("CDTIPORECE", code, true)) {
      totals.edit();
      // Summed on the cents, so that two methods' totals add up exactly.
      totals.setValue("VRFORMPGTORZ", roundDec(totals.asNumber("VRFORMPGTORZ") + amount, 2));
    } else {
      startRow(totals);
      totals.setValue("CDTIPORECE", code);
      totals.setValue("VRFORMPGTORZ", amount);
      totals.setValue("CDTPRECEORIG", code);
    }
    totals.post();
  }

  TdtmEcf01600& module_;
  const std::string& scheme_;
  const std::string& ecfNumber_;
  DateTime movementDate_;
  std::string nextCoo_;
};

void copyInto(const Dataset& source, Dataset& target) { target.setData(source.data()); }

}  // namespace

bool exportZData(const std::string& scheme, const std::string& ecfNumber,
                 const Dataset& paymentTypes, const ZExportTargets& targets) {
  TdtmEcf01600& module = ensureDataModule();
  prepareDirectories();
  if (!loadPaymentTypes(module.cdsTipoRece, paymentTypes, scheme)) return false;

  std::string coo;
  try {
    coo = readReceiptCounter(scheme);
  } catch (const std::exception& error) {
    logStop(std::string("COO não lido (") + error.what() + "); nada foi exportado");
    return false;
  }
  if (coo.empty()) {
    logStop("COO não lido; nada foi exportado");
    return false;
  }
  const std::string nextCoo = Ajusta(Ajusta(std::to_string(std::stoll(coo) + 1), 6), 10);
  const DateTime movementDate = readMovementDate(scheme);

  ZBuilder builder(module, scheme, ecfNumber, movementDate, nextCoo);
  bool complete = true;
  try {
    builder.recreate();
    builder.buildDayRecord();
    builder.buildPaymentTotals();
    builder.buildTaxTotals();
    builder.buildNonFiscalTotals();
  } catch (const std::exception& error) {
    builder.dropRowsInProgress();
    logStop(error.what());
    complete = false;
  }
  module.cdsTipoRece.close();
  copyInto(module.cdsReducaoZ, targets.dayRecord);
  copyInto(module.cdsFormPgtoRedZ, targets.paymentTotals);
  copyInto(module.cdsImpostoRedZ, targets.taxTotals);
  copyInto(module.cdsTotNFiscRedZ, targets.nonFiscalTotals);
  return complete;
}

ZExportTargets emptiedAuxiliaryZTargets() {
  TdtmEcf01600& module = ensureDataModule();
  recreateEmpty(module.cdsRedzAux01, ZTable::DayRecord);
  recreateEmpty(module.cdsFormRedzAux01, ZTable::PaymentTotals);
  recreateEmpty(module.cdsImpostoRedzAux01, ZTable::TaxTotals);
  recreateEmpty(module.cdsTotNFisAux01, ZTable::NonFiscalTotals);
  return {module.cdsRedzAux01, module.cdsFormRedzAux01, module.cdsImpostoRedzAux01,
          module.cdsTotNFisAux01};
}

}  // namespace ecf

extern "C" {

ECF_API bool ExportRedZ(const std::string& /*unused1*/, const std::string& scheme,
                        const std::string& ecfNumber, std::int32_t /*unused4*/,
                        const ecf::Dataset& paymentTypes, ecf::Dataset& dayRecord,
                        ecf::Dataset& paymentTotals, ecf::Dataset& taxTotals,
                        ecf::Dataset& nonFiscalTotals) {
  return ecf::guarded("ExportRedZ", scheme, false, [&] {
    return ecf::exportZData(scheme, ecfNumber, paymentTypes,
                            {dayRecord, paymentTotals, taxTotals, nonFiscalTotals});
  });
}

}  // extern "C"

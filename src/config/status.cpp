// The printer's identity, state and counters.
#include "config/status.h"

#include <string>

#include "base/dateformat.h"
#include "base/utf8.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "host/operator.h"

namespace ecf {
namespace {

constexpr std::size_t kIntegerPrefix = 13;  // "ValorInteiro="
constexpr int kCounterWidth = 6;
constexpr int kCashierCounterWidth = 4;
constexpr int kZReductionPending = 8;  // LeIndicadores selector of FLAG_Z_PENDENTE
constexpr std::int32_t kDrawerQueryStarted = 1;



// One register read for the identification data: the command, the parameter and the
// register, with the line the log shows for it.
bool readIdentification(const std::string& command, const std::string& parameter,
                        const std::string& registerName, const std::string& logLine,
                        const std::string& scheme, std::string& returned) {
  return readRegister(command, parameter, registerName, scheme, true, returned,
                      executedLine(logLine));
}

struct PrinterData {
  std::string openingDate;
  std::string reductionFlag;
  std::string printerDateTime;
  std::string printerNumber;
  std::string serialNumber;
};

// Reads the identification data in order, stopping at the first read that fails or
// yields nothing. True when all of it was read.
bool readPrinterData(const std::string& scheme, PrinterData& data) {
  const auto logValue = [](const std::string& value) {
    writeDebugLine("Retorno da Impressora : " + value);
  };
  std::string returned;

  if (!readIdentification("LeData", "NomeData", "DataAbertura",
                          "LeData - NomeData - DataAbertura", scheme, returned)) {
    return false;
  }
  data.openingDate = delimitedValue(returned);
  logValue(data.openingDate);
  // A printer with no fiscal day opened yet answers zeros: the day opens today.
  if (data.openingDate == "000000") {
    data.openingDate = formatDateTime("ddmmyy", moduleEnv().now(), hostSettings());
  }
  if (data.openingDate.empty()) return false;
  data.reductionFlag = readFlag(kZReductionPending) ? "F" : "";

  if (!readIdentification("LeData", "NomeData", "Data", "LeData - Data - NomeData", scheme,
                          returned)) {
    return false;
  }
  const std::string date = delimitedValue(returned);
  if (!readIdentification("LeHora", "NomeHora", "hora", "LeHora - Hora - NomeHora", scheme,
                          returned)) {
    return false;
  }
  const std::string time = delimitedValue(returned);
  data.printerDateTime = date + time;
  logValue(data.printerDateTime);
  if (data.printerDateTime.empty()) return false;

  if (!readIdentification("LeInteiro", "NomeInteiro", "ECF", "LeInteiro - NomeInteiro - ECF",
                          scheme, returned)) {
    return false;
  }
  data.printerNumber = valueAfterPrefix(returned, kIntegerPrefix);
  logValue(data.printerNumber);
  if (data.printerNumber.empty()) return false;

  if (!readIdentification("LeTexto", "NomeTexto", "NumeroSerieECF",
                          "LeTexto - NomeTexto - NumeroSerieECF", scheme, returned)) {
    return false;
  }
  data.serialNumber = textValue(returned);
  logValue(data.serialNumber);
  return true;
}

// The values read go back to the host in the bag it handed in; fields not read are
// emptied, so a stale value from an earlier call never passes for a fresh one.
void writeBack(Variant& bag, const PrinterData& data) {
  if (!bag.isArray() && !bag.isNull()) return;  // not a bag: already reported on reading
  setBagField(bag, "DATAIMP", data.openingDate);
  setBagField(bag, "REDIMP", data.reductionFlag);
  setBagField(bag, "DATAATUIMP", data.printerDateTime);
  setBagField(bag, "ECFIMP", data.printerNumber);
  setBagField(bag, "SERIEIMP", data.serialNumber);
}

}  // namespace

bool readFiscalState(const std::string& scheme, bool showMessage) {
  std::string returned;
  if (!readRegister("LeInteiro", "NomeInteiro", "EstadoFiscal", scheme, showMessage, returned,
                    executedLine("LeInteiro - NomeInteiro - EstadoFiscal"))) {
    return false;
  }
  writeDebugLine("Retorna Impressora: " + returned);
  return true;
}

std::string readReceiptCounter(const std::string& scheme) {
  std::string returned;
  if (!readRegister("LeInteiro", "NomeInteiro", "COO", scheme, false, returned,
                    executedLine("LeInteiro - NomeInteiro - COO"))) {
    return "";
  }
  const std::string value = valueAfterPrefix(returned, kIntegerPrefix);
  // An empty or garbled answer must not pass for counter zero.
  if (!isDigits(value)) {
    writeDebugLine("Retorna Impressora: COO ilegivel: " + value);
    return "";
  }
  const std::string counter = Ajusta(value, kCounterWidth);
  writeDebugLine("Retorna Impressora: " + counter);
  return counter;
}

}  // namespace ecf

extern "C" {

ECF_API bool Carrega_Dados_Impressora(ecf::Variant& bag) {
  return ecf::guarded("Carrega_Dados_Impressora", "001", false, [&] {
    // DATAIMP, REDIMP, DATAATUIMP, ECFIMP and SERIEIMP are answers, not inputs: only the
    // colour scheme is read.
    std::string scheme;
    try {
      scheme = ecf::bagText(bag, "ESQUEMA");
    } catch (const std::exception& error) {
      ecf::showNotice(std::string("Erro no recebimento dos parâmetros da função: "
                                  "Carrega_Dados_Impressora - Zul_00100.bpl\r") +
                          error.what(),
                      "001");
    }
    ecf::PrinterData data;
    const bool complete = ecf::readPrinterData(scheme, data);
    ecf::writeBack(bag, data);
    return complete;
  });
}

ECF_API bool Estado_Imp(const std::string& scheme, bool /*flag1*/, bool /*flag2*/) {
  return ecf::guarded("Estado_Imp", scheme, false,
                      [&] { return ecf::readFiscalState(scheme, true); });
}

ECF_API std::string Nr_Cupom(const std::string& /*unused*/, const std::string& scheme) {
  return ecf::guarded("Nr_Cupom", scheme, std::string(),
                      [&] { return ecf::readReceiptCounter(scheme); });
}

ECF_API std::string Estado_Gaveta_Imp(const std::string& scheme) {
  return ecf::guarded("Estado_Gaveta_Imp", scheme, std::string(), [&]() -> std::string {
    inRetorno = ecf::kDrawerQueryStarted;
    std::string returned;
    if (!ecf::readRegister("LeIndicador", "NomeIndicador", "SensorGaveta", scheme, true,
                           returned,
                           ecf::executedLine("LeIndicador - NomeIndicador - SensorGaveta"))) {
      return "";
    }
    // The sensor's state is the 24th character: "1" on, anything else (or none) off.
    if (ecf::charSubstr(returned, 23, 1) == "1") {
      ecf::writeDebugLine("Retorno Impressora: TRUE");
      return "01";
    }
    ecf::writeDebugLine("Retorno Impressora: FALSE");
    return "00";
  });
}

ECF_API bool InfImpTerm(const std::string& scheme, const std::string& /*unused1*/,
                        const std::string& /*unused2*/, const std::string& /*unused3*/,
                        std::string& counter) {
  return ecf::guarded("InfImpTerm", scheme, false, [&] {
    std::string returned;
    if (!ecf::readRegister("LeInteiro", "NomeInteiro", "CFC", scheme, false, returned,
                           ecf::executedLine("LeInteiro - CFC"))) {
      return false;
    }
    const std::string value = ecf::valueAfterPrefix(returned, ecf::kIntegerPrefix);
    ecf::writeDebugLine("Retorno Impressora: " + value);
    if (!ecf::isDigits(value)) return false;
    counter = ecf::Ajusta(value, ecf::kCashierCounterWidth);
    return true;
  });
}

ECF_API std::string Codigo_Nacional_ECF(std::int32_t model, const std::string& firmwareVersion) {
  return ecf::guarded("Codigo_Nacional_ECF", "", std::string(), [&]() -> std::string {
    // Only model 23 has national codes, one per firmware release; later releases keep
    // the code of the last one known.
    constexpr std::int32_t kKnownModel = 23;
    if (model != kKnownModel) return "000000";
    if (firmwareVersion == "010000") return "091601";
    if (firmwareVersion == "010001") return "091602";
    if (firmwareVersion == "010015") return "091603";
    return "091604";
  });
}

// The printer offers none of these data: the host is answered yes and its texts stay.
ECF_API bool Versao_Software_Basico(const std::string& /*scheme*/, std::string& /*version*/) {
  return true;
}

ECF_API bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& /*scheme*/,
                                                        std::string& /*dateTime*/,
                                                        std::string& /*user*/,
                                                        std::string& /*additionalMemory*/) {
  return true;
}

ECF_API bool NumeroOperacoesNaoFiscais(const std::string& /*scheme*/, std::string& /*count*/) {
  return true;
}

}  // extern "C"

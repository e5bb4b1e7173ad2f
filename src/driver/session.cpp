// Binding the driver, opening and closing the port: the printer session.
#include <string>

#include "driver/binding.h"
#include "driver/clock_check.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/grand_total.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/operator.h"

namespace ecf {
namespace {

constexpr std::int32_t kDriverSpeed = 115200;
constexpr std::int32_t kDriverOptions = 101;
constexpr std::int32_t kDriverTimeout = 40;

// A fiscal state starting with one of these means a fiscal receipt was left pending.
bool receiptPending(const std::string& fiscalState) {
  return !fiscalState.empty() &&
         (fiscalState[0] == '2' || fiscalState[0] == '4' || fiscalState[0] == '8');
}

bool openPort(const Variant& bag) {
  ensureDataModule();
  const std::string branch = bagText(bag, "CDFILIAL");
  const std::string register_ = bagText(bag, "CDCAIXA");
  const std::string serial = bagText(bag, "NRSERIE");
  const std::string scheme = bagText(bag, "ESQUEMACOR");
  const std::string port = bagText(bag, "PORTAIMPFIS");

  if (driver::openPort(port) < 0) {
    writeDebugLine("ERRO!!! Abrindo porta " + port);
    showNotice(msgPadrao("ErroPorta"), scheme);
    return false;
  }
  if (driver::configure(kDriverSpeed, kDriverOptions) < 0) {
    const std::string text = msgPadrao2("Erro_Configura_Driver_DT");
    writeDebugLine("ERRO!!! " + text);
    showNotice(text, scheme);
    return false;
  }
  driver::defineTimeout(kDriverTimeout);

  DateTime movementDate;
  if (!checkPrinterClock(scheme, movementDate, "", "", true)) return false;

  // Whatever document was left open is closed blindly; a fiscal receipt cannot be
  // closed that way and is cancelled below.
  sendCommand(Command{"EncerraDocumento", {}}, "");
  clearCommandState();

  std::string returned;
  if (!readRegister("LeInteiro", "NomeInteiro", "EstadoFiscal", scheme, true, returned,
                    executedLine("LeInteiro - NomeInteiro - EstadoFiscal"))) {
    return true;
  }
  if (receiptPending(valueAfterPrefix(returned, 13))) {
    sendCommand(Command{"CancelaCupom", {}}, executedLine("CancelaCupom"));
    updateGrandTotalFile(makeBag({{"CDFILIAL", branch},
                                  {"CDCAIXA", register_},
                                  {"NRSERIEIMP", serial},
                                  {"ESQUEMACOR", scheme},
                                  {"IDVALIDA", "N"}}));
  }
  return true;
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool StartImpFiscal(ecf::Variant& bag) {
  return ecf::guarded("StartImpFiscal", "001", false, [&] {
    // These reads only validate the bag: a missing field is reported once and the
    // start-up goes on.
    try {
      for (const char* field : {"CDFILIAL", "CDCAIXA", "NRSERIEIMP", "ESQUEMA", "CDPORTAIMPFIS"}) {
        ecf::RecebeParams(bag, field);
      }
    } catch (const std::exception& error) {
      ecf::showNotice(
          std::string("Erro no recebimento dos parâmetros da função: StartImpFiscal - "
                      "Zul_01600.bpl\r") +
              error.what(),
          "001");
    }
    if (!ecf::driver::bind()) return false;
    if (!ecf::openPort(bag)) return false;
    boImpFiscalOK = true;
    return true;
  });
}

ECF_API bool AbrePorta(const ecf::Variant& bag) {
  return ecf::guarded("AbrePorta", ecf::bagTextLenient(bag, "ESQUEMACOR"), false,
                      [&] { return ecf::openPort(bag); });
}

ECF_API void StopImpFiscal() {
  ecf::guardedVoid("StopImpFiscal", "", [] { ecf::driver::unbind(); });
}

ECF_API bool FechaPorta() {
  return ecf::guarded("FechaPorta", "", false, [] {
    inCanalSerial = ecf::driver::closePort();
    return inCanalSerial >= 0;
  });
}

ECF_API bool VerificaSerialImp(const ecf::Variant& bag) {
  return ecf::guarded("VerificaSerialImp", "", false, [&] {
    for (const char* field : {"UTILIZAIMPFIS", "DSDIRCAD", "ESQUEMACOR", "REV_NRSERIE_IMP"}) {
      ecf::bagTextLenient(bag, field);
    }
    return true;
  });
}

}  // extern "C"

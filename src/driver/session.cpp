// Binding the driver, opening and closing the port: the printer session.
#include <optional>
#include <string>

#include "driver/binding.h"
#include "driver/clock_check.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/refusals.h"
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

// The catalogue key naming the document other than a fiscal receipt that a fiscal state
// says is open; "" when none is (idle, a fiscal receipt, or a text that is no state).
std::string openDocumentKey(const std::string& fiscalState) {
  if (fiscalState.empty() || fiscalState.size() > 9 || receiptPending(fiscalState) ||
      fiscalState.find_first_not_of("0123456789") != std::string::npos) {
    return "";
  }
  if (fiscalState == "0" || fiscalState == "1") return "";
  if (fiscalState == "16") return "DocNaoFiscal";
  if (fiscalState == "32") return "DocGerencial";
  if (fiscalState == "64") return "DocVinculado";
  return "DocDesconhecido";
}

std::string withPlaceholder(std::string text, const std::string& value) {
  const std::size_t placeholder = text.find("%s");
  if (placeholder != std::string::npos) text.replace(placeholder, 2, value);
  return text;
}

// A document the blind close could not end (a non-fiscal receipt with an unpaid item, left
// by an interrupted supply) would refuse every document of the day: it is cancelled, and
// the operator is told which one it was.
void cancelDocumentLeftOpen(const std::string& documentKey, const std::string& fiscalState,
                            const std::string& scheme) {
  if (!runCommand(Command{"CancelaCupom", {}}, executedLine("CancelaCupom"), scheme, true)) {
    return;
  }
  const std::string document = withPlaceholder(msgPadrao(documentKey), fiscalState);
  const std::string notice = withPlaceholder(msgPadrao("DocAbertoCancelado"), document);
  writeDebugLine(notice);
  showNotice(notice, scheme);
}

// What the port opening reads from its bag. Branch, register and serial only name the
// grand-total row after a pending receipt is cancelled.
struct PortBag {
  std::string branch;
  std::string cashRegister;
  std::string serial;
  std::string scheme;
  std::optional<std::string> port;  // none when the bag lacks it
};

// AbrePorta on its own refuses a bag that lacks a field, as any operation does.
PortBag readPortBag(const Variant& bag) {
  return PortBag{bagText(bag, "CDFILIAL"), bagText(bag, "CDCAIXA"), bagText(bag, "NRSERIE"),
                 bagText(bag, "ESQUEMACOR"), bagText(bag, "PORTAIMPFIS")};
}

// The start-up has already told the operator what its bag lacks: it goes on with what
// there is.
PortBag readPortBagLeniently(const Variant& bag) {
  PortBag fields{bagTextLenient(bag, "CDFILIAL"), bagTextLenient(bag, "CDCAIXA"),
                 bagTextLenient(bag, "NRSERIE"), bagTextLenient(bag, "ESQUEMACOR"),
                 std::nullopt};
  if (findBagField(bag, "PORTAIMPFIS") != nullptr) fields.port = bagText(bag, "PORTAIMPFIS");
  return fields;
}

bool openPort(const PortBag& bag) {
  ensureDataModule();
  const std::string& scheme = bag.scheme;
  const std::string port = bag.port.value_or("");

  // Without a port text the driver is not asked at all: it might open whatever port it
  // takes by default.
  if (!bag.port) {
    writeDebugLine("ERRO!!! Abrindo porta " + port);
    showNotice(msgPadrao("ErroPorta"), scheme);
    return false;
  }
  if (driver::openPort(port) < 0) {
    writeDebugLine("ERRO!!! Abrindo porta " + port);
    // The driver's own reason tells a printer in use from a full or read-only disk.
    std::string notice = msgPadrao("ErroPorta");
    const driver::OpeningError error = driver::openingError();
    if (error.code > 0) {
      const std::string code = std::to_string(error.code);
      writeDebugLine(code + ": " + error.name + " - " + error.circumstance);
      noteRefusal(error.code, error.name, error.circumstance);
      notice += " " + code + ": " + error.name + " " + error.circumstance;
    }
    showNotice(notice, scheme);
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
  const std::string fiscalState = valueAfterPrefix(returned, 13);
  const std::string documentKey = openDocumentKey(fiscalState);
  if (!documentKey.empty()) {
    cancelDocumentLeftOpen(documentKey, fiscalState, scheme);
  } else if (receiptPending(fiscalState)) {
    sendCommand(Command{"CancelaCupom", {}}, executedLine("CancelaCupom"));
    updateGrandTotalFile(makeBag({{"CDFILIAL", bag.branch},
                                  {"CDCAIXA", bag.cashRegister},
                                  {"NRSERIEIMP", bag.serial},
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
    // These reads only validate the bag, for every field the start-up reads: a missing
    // one is reported once and the start-up goes on.
    try {
      for (const char* field : {"CDFILIAL", "CDCAIXA", "NRSERIEIMP", "ESQUEMA", "CDPORTAIMPFIS",
                                "NRSERIE", "ESQUEMACOR", "PORTAIMPFIS"}) {
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
    if (!ecf::openPort(ecf::readPortBagLeniently(bag))) return false;
    boImpFiscalOK = true;
    return true;
  });
}

ECF_API bool AbrePorta(const ecf::Variant& bag) {
  return ecf::guarded("AbrePorta", ecf::bagTextLenient(bag, "ESQUEMACOR"), false,
                      [&] { return ecf::openPort(ecf::readPortBag(bag)); });
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

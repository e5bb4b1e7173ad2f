// Cancelling an item of the open fiscal receipt, and the day's total of subtotal
// surcharges. Each sends its command once: no retry question.
#include <string>

#include "base/utf8.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/operator.h"

namespace ecf {
namespace {

// Without an item number the printer cancels the last item sold.
bool cancelItem(const Command& command, const std::string& debugLine, const std::string& scheme,
                const std::string& doneLine) {
  std::string returned;
  if (!runQuery(command, debugLine, scheme, true, returned)) return false;
  writeDebugLine(doneLine);
  return true;
}

// The printer reads a missing item number as "the last item": a blank or garbled number
// from the host must never cancel whatever was sold last.
bool isItemNumber(const std::string& text) {
  if (text.size() > 9 || !isDigits(text)) return false;
  return text.find_first_not_of('0') != std::string::npos;
}

bool cancelNumberedItem(const std::string& scheme, const std::string& itemNumber) {
  if (!isItemNumber(itemNumber)) {
    showNotice(msgPadrao("ItemGenerico_Invalido"), scheme);
    return false;
  }
  return cancelItem(Command{"CancelaItemFiscal", {{"NumItem", itemNumber, PARAMETRO_UINT}}},
                    executedLine("CancelaItemFiscal - " + itemNumber), scheme,
                    "Retorno Impressora: Item genérico Cancelado.");
}

// Read as LeMoeda reads a register: the value after "ValorMoeda=", thousands points removed.
bool readDaySurchargeTotal(const std::string& scheme, std::string& total) {
  std::string returned;
  if (!readRegister("LeMoeda", "NomeDadoMonetario", "TotalDiaAcrescimos", scheme, true, returned,
                    executedLine("LeMoeda - NomeDadoMonetario"))) {
    return false;
  }
  const std::string value = moneyValue(returned);
  writeDebugLine("Retorno Impressora: " + value);
  total = value;
  return true;
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool Cancela_UltimoItem(const std::string& scheme) {
  return ecf::guarded("Cancela_UltimoItem", scheme, false, [&] {
    return ecf::cancelItem(ecf::Command{"CancelaItemFiscal", {}},
                           ecf::executedLine("CancelaItemFiscal"), scheme,
                           "Retorno Impressora: Item Cancelado.");
  });
}

ECF_API bool Cancela_ItGenerico(const std::string& scheme, const std::string& itemNumber,
                                const std::string& /*unused1*/, const std::string& /*unused2*/,
                                const std::string& /*unused3*/, const std::string& /*unused4*/,
                                const std::string& /*unused5*/, const std::string& /*unused6*/,
                                const std::string& /*unused7*/, double /*unused8*/,
                                double /*unused9*/) {
  return ecf::guarded("Cancela_ItGenerico", scheme, false,
                      [&] { return ecf::cancelNumberedItem(scheme, itemNumber); });
}

// True when the printer answered; the total is then in `surchargeTotal`, which a refusal
// leaves as it was.
ECF_API bool Acrescimo_Imp(const std::string& scheme, std::string& surchargeTotal) {
  return ecf::guarded("Acrescimo_Imp", scheme, false,
                      [&] { return ecf::readDaySurchargeTotal(scheme, surchargeTotal); });
}

}  // extern "C"

// A non-fiscal receipt with one item and one payment: an amount received that is not a
// sale of goods (consumer credit and its cancellation), registered under its totalizer.
#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "nonfiscal/nonfiscal_document.h"
#include "nonfiscal/nonfiscal_receipt.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {
namespace {

// The payment method is named, not coded: the printer finds it by its programmed name.
bool payInNamedMethod(const std::string& scheme, const std::string& method,
                      const std::string& amount) {
  return runCommand(Command{"PagaCupom",
                            {{"NomeMeioPagamento", method, PARAMETRO_STRING},
                             {"TextoAdicional", "", PARAMETRO_STRING},
                             {"Valor", amount, PARAMETRO_MONEY}}},
                    executedLine("PagaCupom -  - " + method + " -  - " + amount), scheme, true);
}

}  // namespace

bool printNonFiscalReceipt(const std::string& scheme, const std::string& totalizerCode,
                           const std::string& amount, const std::string& paymentMethod) {
  if (!openNonFiscalReceipt(scheme)) return false;
  if (registerNonFiscalItem(scheme, totalizerCode, amount) &&
      payInNamedMethod(scheme, paymentMethod, amount) && closeDocument(scheme)) {
    return true;
  }
  cancelNonFiscalReceipt(scheme);
  return false;
}

}  // namespace ecf

extern "C" {

// The amount comes already written by the caller and goes to the printer unchanged.
ECF_API bool Cupom_NFiscNVinc(const std::string& scheme, const std::string& totalizerCode,
                              const std::string& amount, const std::string& paymentMethod,
                              const std::string& /*unused*/) {
  return ecf::guarded("Cupom_NFiscNVinc", scheme, false, [&] {
    return ecf::printNonFiscalReceipt(scheme, totalizerCode, amount, paymentMethod);
  });
}

}  // extern "C"

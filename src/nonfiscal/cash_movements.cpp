// Money put into the drawer (supply) and taken out of it (withdrawal), each registered on
// the printer under its own non-fiscal totalizer. The printer prints its own document.
#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "nonfiscal/amount_text.h"
#include "nonfiscal/nonfiscal_document.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {
namespace {

// The printer's default payment method, by code rather than by name.
constexpr const char* kDefaultPaymentCode = "-2";

bool payInDefaultMethod(const std::string& scheme, const std::string& amount) {
  return runCommand(Command{"PagaCupom",
                            {{"CodMeioPagamento", kDefaultPaymentCode, PARAMETRO_UINT},
                             {"NomeMeioPagamento", "", PARAMETRO_STRING},
                             {"TextoAdicional", "", PARAMETRO_STRING},
                             {"Valor", amount, PARAMETRO_MONEY}}},
                    executedLine(std::string("PagaCupom - ") + kDefaultPaymentCode +
                                 " -  -  - " + amount),
                    scheme, true);
}

// Each step runs only when the one before it was accepted. Once the receipt is open, a
// refused step cancels it: a supply the host saw fail is never left on the printer.
bool registerSupply(const std::string& scheme, double amount) {
  ensureDataModule();
  if (amount <= 0) return true;  // nothing to register; a NaN goes on to be refused
  const std::string text = amountText(amount);
  if (!openNonFiscalReceipt(scheme)) return false;
  if (registerNonFiscalItem(scheme, idTotParcSuprimento, text) &&
      payInDefaultMethod(scheme, text) && closeDocument(scheme)) {
    return true;
  }
  cancelNonFiscalReceipt(scheme);
  return false;
}

// The withdrawal's direction is its totalizer's: the amount goes as given, and the
// printer takes the item with no opening and no payment. The item opens the receipt, so
// a refused closing cancels it.
bool registerWithdrawal(const std::string& scheme, double amount) {
  ensureDataModule();
  const std::string text = amountText(amount);
  if (!registerNonFiscalItem(scheme, idTotParcSangria, text)) return false;
  if (closeDocument(scheme)) return true;
  cancelNonFiscalReceipt(scheme);
  return false;
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool Suprimento(const std::string& scheme, double amount) {
  return ecf::guarded("Suprimento", scheme, false,
                      [&] { return ecf::registerSupply(scheme, amount); });
}

ECF_API bool Sangria(const std::string& /*unused*/, const std::string& scheme, double amount,
                     ecf::Dataset& /*unusedDataset*/) {
  return ecf::guarded("Sangria", scheme, false,
                      [&] { return ecf::registerWithdrawal(scheme, amount); });
}

}  // extern "C"

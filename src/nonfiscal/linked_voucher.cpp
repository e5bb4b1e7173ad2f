// The linked credit/debit voucher: a non-fiscal document the printer ties to a card
// payment of an earlier fiscal receipt, named by that receipt's COO. The host prints the
// voucher text into it and closes it with the report primitives.
#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/export_guard.h"

namespace ecf {
namespace {

// A voucher always covers the receipt's first payment in that method, in one instalment.
constexpr const char* kPaymentItem = "1";
constexpr const char* kInstalments = "1";

// The amount and the COO go as the host wrote them: the printer judges both.
bool openLinkedVoucher(const std::string& scheme, const std::string& paymentMethod,
                       const std::string& amount, const std::string& coo) {
  std::string returned;
  return runQuery(Command{"AbreCreditoDebito",
                          {{"NomeMeioPagamento", paymentMethod, PARAMETRO_STRING},
                           {"Valor", amount, PARAMETRO_MONEY},
                           {"COO", coo, PARAMETRO_ULONG},
                           {"NumItem", kPaymentItem, PARAMETRO_UINT},
                           {"NumParcelas", kInstalments, PARAMETRO_UINT}}},
                  executedLine("AbreCreditoDebito - " + paymentMethod + " - " + amount + " - " +
                               coo),
                  scheme, true, returned);
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool Abre_Comp_NFiscalVinc(const std::string& scheme, const std::string& paymentMethod,
                                   const std::string& amount, const std::string& coo) {
  return ecf::guarded("Abre_Comp_NFiscalVinc", scheme, false, [&] {
    return ecf::openLinkedVoucher(scheme, paymentMethod, amount, coo);
  });
}

}  // extern "C"

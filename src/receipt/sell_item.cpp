// One sold item on the open fiscal receipt.
#include <cmath>
#include <stdexcept>
#include <string>

#include "base/numberformat.h"
#include "base/utf8.h"
#include "driver/command.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "receipt/retry_question.h"

namespace ecf {
namespace {

// The error question names the product by at most this many characters.
constexpr std::size_t kQuestionNameLength = 20;

double bagAmount(const Variant& bag, std::string_view field) {
  const double value = bagField(bag, field).toNumber(hostSettings());
  // An infinite or undefined amount would reach the printer as letters.
  if (!std::isfinite(value)) {
    throw std::invalid_argument(msgPadrao("Campo_NaoFinito", {field}));
  }
  return value;
}

struct SoldItem {
  std::string taxCode;
  std::string productCode;
  std::string productName;
  std::string unit;
  double quantity = 0;
  double unitPrice = 0;
};

// The price is cut to cents before it is written; the quantity is rounded by the pattern.
Command itemCommand(const SoldItem& item, std::string& debugLine) {
  const std::string price = formatPattern("#0.000", Trunc2(item.unitPrice), hostSettings());
  const std::string quantity = formatPattern("#0.000", item.quantity, hostSettings());
  debugLine = executedLine("VendaDeItem - " + item.taxCode + " - " + item.productCode + " - " +
                           item.productName + " - " + price + " - " + quantity + " - " + item.unit);
  return Command{"VendaDeItem",
                 {{"AliquotaICMS", "Y", PARAMETRO_INDICADOR},
                  {"CodAliquota", item.taxCode, PARAMETRO_UINT},
                  {"CodProduto", item.productCode, PARAMETRO_STRING},
                  {"NomeDepartamento", "", PARAMETRO_STRING},
                  {"NomeProduto", item.productName, PARAMETRO_STRING},
                  {"PrecoUnitario", price, PARAMETRO_MONEY},
                  {"Quantidade", quantity, PARAMETRO_MONEY},
                  {"Unidade", item.unit, PARAMETRO_STRING}}};
}

bool sellItem(const Variant& bag) {
  const std::string scheme = bagText(bag, "ESQUEMACOR");
  for (const char* unused : {"INTEFERRO", "MESA", "FLAG"}) bagTextLenient(bag, unused);
  SoldItem item;
  item.productCode = bagText(bag, "CDARVPROD");
  item.productName = bagText(bag, "NMPROD");
  item.taxCode = bagText(bag, "CDALIQ");
  bagTextLenient(bag, "IDALIQ");
  item.quantity = bagAmount(bag, "QTDE");
  item.unitPrice = bagAmount(bag, "VALOR");
  // This driver registers no discount per item.
  bagTextLenient(bag, "DESCONT");
  item.unit = bagText(bag, "UNIDADE");
  for (const char* unused : {"TIPOTICKET", "VRPERCALIQ"}) bagTextLenient(bag, unused);
  const std::string tefMode = bagText(bag, "IDUTILTEF");
  const bool usesCards = bagField(bag, "UTILTEF").toBool();

  // Outside TEF retry mode the operator is told which item failed; every refusal asks.
  const bool retryMode = tefRetryMode(tefMode, usesCards);
  const auto question = [&] {
    return retryMode ? printerNotRespondingQuestion()
                     : msgPadrao("ErroItem") + "\r\n" + item.productCode + " - " +
                           charSubstr(item.productName, 0, kQuestionNameLength) + "\r\n" +
                           msgPadrao("Deseja");
  };
  return attemptUntilAccepted(
      [&] {
        std::string debugLine;
        const Command command = itemCommand(item, debugLine);
        std::string returned;
        return runQuery(command, debugLine, scheme, true, returned);
      },
      true, question, scheme);
}

}  // namespace
}  // namespace ecf

extern "C" ECF_API bool VendaItem(ecf::Variant& bag) {
  return ecf::guarded("VendaItem", ecf::bagTextLenient(bag, "ESQUEMACOR"), false,
                      [&] { return ecf::sellItem(bag); });
}

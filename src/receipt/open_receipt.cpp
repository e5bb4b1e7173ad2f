// Opening a fiscal receipt, optionally with the consumer's CPF/CNPJ.
#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "receipt/retry_question.h"

namespace ecf {
namespace {

// The consumer's name and address never reach the printer: only the CPF/CNPJ does.
Command openingCommand(const std::string& taxpayerId) {
  Command command{"AbreCupomFiscal", {{"EnderecoConsumidor", "", PARAMETRO_STRING}}};
  if (!EmptyString(taxpayerId)) {
    command.params.push_back({"IdConsumidor", taxpayerId, PARAMETRO_STRING});
  }
  command.params.push_back({"NomeConsumidor", "", PARAMETRO_STRING});
  return command;
}

bool openReceipt(const Variant& bag) {
  const std::string scheme = bagText(bag, "ESQUEMACOR");
  bagTextLenient(bag, "INTTEFERRO");
  const std::string taxpayerId = bagText(bag, "INCLUICPF");
  for (const char* unused : {"INCLUINOME", "INCLUIENDERECO", "CUPNR", "CONTCUPOM", "TIPOTICKET",
                             "IVACOMP", "IVAPROP", "TIPODOC", "NRDOC", "MESA"}) {
    bagTextLenient(bag, unused);
  }
  const std::string tefMode = bagText(bag, "IDUTILTEF");
  const bool usesCards = RecebeParams(bag, "UTILTEF").toBool();

  return attemptUntilAccepted(
      [&] {
        std::string returned;
        return runQuery(openingCommand(taxpayerId), executedLine("AbreCupomFiscal - " + taxpayerId),
                        scheme, true, returned);
      },
      tefRetryMode(tefMode, usesCards), printerNotRespondingQuestion, scheme);
}

}  // namespace
}  // namespace ecf

extern "C" ECF_API bool AbreCupom(ecf::Variant& bag) {
  return ecf::guarded("AbreCupom", ecf::bagTextLenient(bag, "ESQUEMACOR"), false,
                      [&] { return ecf::openReceipt(bag); });
}

#include "nonfiscal/nonfiscal_document.h"

#include "driver/command.h"
#include "ecf/module.h"

namespace ecf {

bool openNonFiscalReceipt(const std::string& scheme) {
  return runCommand(Command{"AbreCupomNaoFiscal",
                            {{"EnderecoConsumidor", "", PARAMETRO_STRING},
                             {"IdConsumidor", "", PARAMETRO_STRING},
                             {"NomeConsumidor", "", PARAMETRO_STRING}}},
                    executedLine("AbreCupomNaoFiscal"), scheme, true);
}

bool registerNonFiscalItem(const std::string& scheme, const std::string& totalizerCode,
                           const std::string& amount) {
  // The item has no name of its own: the totalizer names it on the printer.
  return runCommand(Command{"EmiteItemNaoFiscal",
                            {{"CodNaoFiscal", totalizerCode, PARAMETRO_UINT},
                             {"NomeNaoFiscal", "", PARAMETRO_STRING},
                             {"Valor", amount, PARAMETRO_MONEY}}},
                    executedLine("EmiteItemNaoFiscal - " + totalizerCode + " -  - " + amount),
                    scheme, true);
}

bool cancelNonFiscalReceipt(const std::string& scheme) {
  return runCommand(Command{"CancelaCupom", {}}, executedLine("CancelaCupom"), scheme, true);
}

}  // namespace ecf

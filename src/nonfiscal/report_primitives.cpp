#include "nonfiscal/report_primitives.h"

#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/export_guard.h"

namespace ecf {

bool openManagementReport(const std::string& scheme) {
  std::string returned;
  return runQuery(Command{"AbreGerencial", {{"CodGerencial", "0", PARAMETRO_UINT}}},
                  executedLine("AbreGerencial"), scheme, true, returned);
}

bool printTextBlock(const std::string& scheme, const std::string& text) {
  std::string returned;
  return runQuery(Command{"ImprimeTexto", {{"TextoLivre", text, PARAMETRO_STRING}}},
                  executedLine("ImprimeTexto - TextoLivre - " + text), scheme, true, returned);
}

bool closeDocument(const std::string& scheme) {
  return runCommand(Command{"EncerraDocumento", {}}, executedLine("EncerraDocumento"), scheme,
                    true);
}

}  // namespace ecf

extern "C" {

// The three further texts stay in the signature for existing hosts; nothing reads them.
ECF_API bool Relatorio_Gerencial_Imp(const std::string& scheme, const std::string& /*unused2*/,
                                     const std::string& /*unused3*/,
                                     const std::string& /*unused4*/) {
  return ecf::guarded("Relatorio_Gerencial_Imp", scheme, false,
                      [&] { return ecf::openManagementReport(scheme); });
}

ECF_API bool Usa_CompNFis(const std::string& scheme, const std::string& text) {
  return ecf::guarded("Usa_CompNFis", scheme, false,
                      [&] { return ecf::printTextBlock(scheme, text); });
}

ECF_API bool FechRelatGerenc(const std::string& scheme, bool /*unused1*/, bool /*unused2*/) {
  return ecf::guarded("FechRelatGerenc", scheme, false,
                      [&] { return ecf::closeDocument(scheme); });
}

}  // extern "C"

// The identification of the point-of-sale application that the fiscal rules require it
// to print: its certification report, its maker, its name, version and main executable
// with its digest, and the serial numbers of the fiscal printers it may drive.
#include <stdexcept>
#include <string>

#include "base/utf8.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/operator.h"
#include "nonfiscal/report_primitives.h"
#include "receipt/positional_input.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

// Scheme, two pass-through texts, the identification packet and the printers' packet.
constexpr std::int32_t kLowestHighIndex = 4;

void printApplicationIdentification(const std::string& scheme, const PositionalInput& input) {
  TdtmEcf01600& module = dataModule();
  Dataset& identification = module.cdsDadosPaf;
  Dataset& printers = module.cdsBuscaNrSerieEcf;
  identification.setData(input.packet(3));
  printers.setData(input.packet(4));
  const auto print = [&](const std::string& text) { printTextBlock(scheme, text); };
  // The host enciphers every identification value; whatever the deciphering gives back is
  // what gets printed. A value it cannot decipher was left in plain text by the host: it is
  // printed as given, so the report still closes instead of holding the printer.
  const auto deciphered = [&](std::string_view field) {
    const std::string enciphered = fieldText(identification, field);
    try {
      return repairUtf8(Uncripto(enciphered, kModuleCipherKey));
    } catch (const std::runtime_error&) {
      return repairUtf8(enciphered);
    }
  };

  openManagementReport(scheme);
  print("          Identificação do Paf-Ecf\n\n");
  print(issueLine() + "\n\n\n");
  print("Nr do Laudo:  " + deciphered("NRLAUDO") + "\n\n");
  print("Identificação da Empresa: \n");
  print("CNPJ         : " + deciphered("NRCNPJQUORVEL") + "\n");
  print("Razão Social : " + deciphered("DSRAZAOSOCIQUORVEL") + "\n");
  print("Endereço     : " + deciphered("DSENDEQUORVEL") + "\n");
  print("Telefone     : " + deciphered("DSTELEFONEQUORVEL") + "\n");
  print("Resp.Técnico: " + deciphered("NMRESPONSIST") + "\n\n");
  print("Identificação PAF-ECF: \n");
  print("Nome Comercial: " + deciphered("DSNOMECOMERCIAL") + "\n");
  print("Versão        : " + deciphered("DSVERSAOMERKATO") + "\n\n");
  print("Principal Exe : " + deciphered("NMEXEMERKATO") + "-MD5(" + deciphered("DSCODMERKATO") +
        ")\n");
  print("\n");
  if (!printers.isEmpty()) {
    print("\n");
    print("Relação de Ecf's\n");
    print("\n");
    // Serial numbers arrive in plain text.
    for (printers.first(); !printers.eof(); printers.next()) {
      print(fieldText(printers, "NRSERIEIMPRPERS") + "\n");
    }
  }
  print("\n");
  closeDocument(scheme);
}

}  // namespace
}  // namespace ecf

extern "C" {

// A failure while it runs (a missing field, a packet that cannot be loaded) is shown to the
// operator and leaves the report open, as it stands.
// The packet argument stays in the signature for existing hosts.
ECF_API void ImprimeDadosPaf(const ecf::Variant* values, std::int32_t high,
                             ecf::Variant& /*unused*/) {
  const ecf::PositionalInput input(values, high);
  const std::string scheme = input.textOrEmpty(2);
  ecf::guardedVoid("ImprimeDadosPaf", scheme, [&] {
    // Fewer values would leave the report without its data: refuse before printing.
    if (values == nullptr || high < ecf::kLowestHighIndex) {
      ecf::showNotice(ecf::msgPadrao("DadosPaf_ListaCurta"), scheme);
      return;
    }
    ecf::printApplicationIdentification(scheme, input);
  });
}

}  // extern "C"

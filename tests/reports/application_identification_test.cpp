// The application identification report: every value deciphered with the module's key,
// the authorised printers' serial numbers as received, and a value left in plain text
// printed as given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cipher.h"
#include "base/utf8.h"
#include "host/hostlib.h"
#include "reports/reports_fixture.h"

namespace ecftest {
namespace {

using Blocks = std::vector<std::vector<std::string>>;

std::string enciphered(const std::string& text) {
  return ecf::encipher(text, ecf::kModuleCipherKey);
}

class IdentificationTest : public ReportTest {
 protected:
  // The identification row as the host stores it: every value enciphered, unless told.
  static ecf::Variant identification(const std::string& address = enciphered(
                                         "Rua das Acácias, 100 - São Paulo"),
                                     const std::string& reportNumber = enciphered(
                                         "LAU0123/2026")) {
    return ecf::Variant(ecf::DataPacket(
        {textField("NRLAUDO"), textField("NRCNPJQUORVEL"), textField("DSRAZAOSOCIQUORVEL"),
         textField("DSENDEQUORVEL"), textField("DSTELEFONEQUORVEL"), textField("NMRESPONSIST"),
         textField("DSNOMECOMERCIAL"), textField("DSVERSAOMERKATO"), textField("NMEXEMERKATO"),
         textField("DSCODMERKATO")},
        {{reportNumber, enciphered("12.345.678/0001-95"),
          enciphered("Soluções Comerciais Ltda"), address, enciphered("(11) 3333-4444"),
          enciphered("José Antônio"), enciphered("Caixa Fácil"), enciphered("2.4.1"),
          enciphered("caixa.exe"), enciphered("9e107d9d372bb6826bd81d3542a419d6")}}));
  }

  static ecf::Variant authorisedPrinters(const std::vector<std::string>& serials) {
    std::vector<std::vector<ecf::Variant>> rows;
    for (const std::string& serial : serials) rows.push_back({serial});
    return ecf::Variant(ecf::DataPacket({textField("NRSERIEIMPRPERS")}, rows));
  }

  static void print(const ecf::Variant& identificationPacket, const ecf::Variant& printers,
                    const std::string& scheme = "azul") {
    const std::vector<ecf::Variant> values = {"", "", scheme, identificationPacket, printers};
    ecf::Variant unused;
    ImprimeDadosPaf(values.data(), static_cast<std::int32_t>(values.size()) - 1, unused);
  }
};

Blocks identificationBlocks(const std::string& reportNumber) {
  return {
      {"          Identificação do Paf-Ecf", "", ""},
      {"Data Emissão: 08/12/2026 10:00:00", "", "", ""},
      {"Nr do Laudo:  " + reportNumber, "", ""},
      {"Identificação da Empresa: ", ""},
      {"CNPJ         : 12.345.678/0001-95", ""},
      {"Razão Social : Soluções Comerciais Ltda", ""},
      {"Endereço     : Rua das Acácias, 100 - São Paulo", ""},
      {"Telefone     : (11) 3333-4444", ""},
      {"Resp.Técnico: José Antônio", "", ""},
      {"Identificação PAF-ECF: ", ""},
      {"Nome Comercial: Caixa Fácil", ""},
      {"Versão        : 2.4.1", "", ""},
      {"Principal Exe : caixa.exe-MD5(9e107d9d372bb6826bd81d3542a419d6)", ""},
      {"", ""},
  };
}

TEST_F(IdentificationTest, PrintsTheDecipheredDataAndTheAuthorisedPrintersAsReceived) {
  // "ABCD" would decipher to something else: serial numbers are printed as they come.
  print(identification(), authorisedPrinters({"VP000000000000000001", "ABCD"}));

  Blocks expected = identificationBlocks("LAU0123/2026");
  expected.insert(expected.end(), {{"", ""},
                                   {"Relação de Ecf's", ""},
                                   {"", ""},
                                   {"VP000000000000000001", ""},
                                   {"ABCD", ""},
                                   {"", ""}});
  EXPECT_EQ(printedBlocks(), expected);
  EXPECT_EQ(sentNames().front(), "AbreGerencial");
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(IdentificationTest, WithoutAuthorisedPrintersTheListAndItsTitleAreLeftOut) {
  print(identification(), authorisedPrinters({}));

  Blocks expected = identificationBlocks("LAU0123/2026");
  expected.push_back({"", ""});
  EXPECT_EQ(printedBlocks(), expected);
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
}

TEST_F(IdentificationTest, APlainTextValueGoesThroughTheDecipheringAllTheSame) {
  // Plain text that happens to read as a cipher is deciphered, and that is what prints.
  print(identification(enciphered("Rua das Acácias, 100 - São Paulo"), "2026"),
        authorisedPrinters({}));
  EXPECT_EQ(printedBlocks()[2][0],
            "Nr do Laudo:  " + ecf::repairUtf8(ecf::decipher("2026", ecf::kModuleCipherKey)));
  EXPECT_NE(printedBlocks()[2][0], "Nr do Laudo:  2026");
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");

  // Plain text the deciphering cannot read prints as the host gave it, and the report closes.
  forgetWhatHappened();
  print(identification("Rua das Flores, 12"), authorisedPrinters({"VP1"}), "verde");
  const Blocks blocks = printedBlocks();
  ASSERT_GE(blocks.size(), 7u);
  EXPECT_EQ(blocks[6][0], "Endereço     : Rua das Flores, 12");
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(IdentificationTest, RefusalsAtTheOpeningOrAtABlockDoNotStopTheReport) {
  printer().refuseNext("AbreGerencial");
  print(identification(), authorisedPrinters({"VP1"}));
  EXPECT_EQ(printedBlocks().size(), 19u);
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_EQ(op().texts().front(), kRefusalNotice);

  forgetWhatHappened();
  printer().refuseNth(3, "ImprimeTexto");
  print(identification(), authorisedPrinters({"VP1"}));
  EXPECT_EQ(printedBlocks().size(), 19u);
  EXPECT_EQ(printer().commandsNamed("ImprimeTexto")[2].errorCode, 99);
  EXPECT_EQ(printer().commandsNamed("EncerraDocumento")[0].errorCode, 0);
  EXPECT_EQ(op().messages().size(), 1u);
}

TEST_F(IdentificationTest, FewerThanFiveValuesAreRefusedBeforeAnythingIsSent) {
  const std::vector<ecf::Variant> values = {"", "", "azul", identification()};
  ecf::Variant unused;
  ImprimeDadosPaf(values.data(), 3, unused);
  ImprimeDadosPaf(nullptr, 4, unused);

  EXPECT_TRUE(sentNames().empty());
  ASSERT_EQ(op().messages().size(), 2u);
  EXPECT_EQ(op().messages()[0].text,
            "ImprimeDadosPaf: a lista de parâmetros precisa de ao menos 5 valores.");
  EXPECT_EQ(op().messages()[0].scheme, "azul");
}

}  // namespace
}  // namespace ecftest

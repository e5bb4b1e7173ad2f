// Listings from the host's packets: the sales per payment type with its date blocks and
// per-code summary, the open tables and order pads by section, the products moved
// between tables by transfer. One text per line, exact, in the host's settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/reports_fixture.h"

namespace ecftest {
namespace {

using Blocks = std::vector<std::vector<std::string>>;

const std::vector<std::string> kIssueLine = {"Data Emissão: 08/12/2026 10:00:00", ""};
const std::vector<std::string> kLineFeed = {"", ""};
const std::vector<std::string> kTwoLineFeeds = {"", "", ""};

class ListingReportTest : public ReportTest {
 protected:
  static ecf::Variant paymentTypes(const std::vector<std::vector<ecf::Variant>>& rows) {
    return ecf::Variant(ecf::DataPacket({dateField("DTMOVIMCAIXA"), textField("CDTIPORECE"),
                                         textField("NMTIPORECE"), realField("VRMOVIVEND")},
                                        rows));
  }
  static ecf::Variant openTables(const std::vector<std::vector<ecf::Variant>>& rows) {
    return ecf::Variant(ecf::DataPacket(
        {textField("DSCOMANDA"), textField("NRMESA"), textField("DTHRABERMESA")}, rows));
  }
  static ecf::Variant transfers(const std::vector<std::vector<ecf::Variant>>& rows) {
    return ecf::Variant(ecf::DataPacket(
        {textField("NRMESA"), textField("NRMESADSCOMORIT"), textField("CDPRODUTO"),
         textField("NMPRODUTO"), realField("QTPRODCOMVEN"), realField("VRPRECCOMVEN")},
        rows));
  }
  static ecf::Variant day(int dayOfMonth) {
    return ecf::Variant(ecf::DateTime::fromParts(2026, 12, dayOfMonth));
  }
};

// ---- sales per payment type ----

const std::vector<std::string> kPaymentTitle = {
    "       Relatório de totalizadores fiscais       ", ""};
const std::vector<std::string> kPaymentColumns = {
    "Código   Nome            Tipo              Valor", ""};
const std::vector<std::string> kSummaryTitle = {
    "     Somatório dos totalizadores no período     ", "", ""};

TEST_F(ListingReportTest, PaymentTypesAreListedPerDateAndSummedPerCodeOverThePeriod) {
  // Code 3 comes with two names: the first one met names the summary line.
  imprimeTipoRece("", "", "azul",
                  paymentTypes({{day(7), "1", "Dinheiro", 150.5},
                                {day(7), "3", "Cartão de crédito", 1234.5},
                                {day(7), "3", "Crédito à vista", 10},
                                {day(8), "12", "Vale-refeição", 45},
                                {day(8), "1", "Dinheiro", 99.9}}));

  const Blocks expected = {
      kPaymentTitle,
      kIssueLine,
      kLineFeed,
      {"Data: 07/12/2026", ""},
      kPaymentColumns,
      {"1      Dinheiro          ECF           R$ 150,50", ""},
      {"3      Cartão de crédito ECF         R$ 1.234,50", ""},
      {"3      Crédito à vista   ECF            R$ 10,00", ""},
      kTwoLineFeeds,
      {"Data: 08/12/2026", ""},
      kPaymentColumns,
      {"12      Vale-refeição    ECF            R$ 45,00", ""},
      {"1      Dinheiro          ECF            R$ 99,90", ""},
      kLineFeed,
      kSummaryTitle,
      // In ascending code order, whatever order the rows came in.
      {"1      Dinheiro                        R$ 250,40", ""},
      {"3      Cartão de crédito             R$ 1.244,50", ""},
      {"12      Vale-refeição                   R$ 45,00", ""},
      kLineFeed,
  };
  EXPECT_EQ(printedBlocks(), expected);
  EXPECT_EQ(sentNames().front(), "AbreGerencial");
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ListingReportTest, EveryWholeCodeHasItsSummaryLineInAscendingOrder) {
  // Codes beyond 1 to 20 are summed like any other; a zero-padded code is the same code.
  imprimeTipoRece("", "", "azul",
                  paymentTypes({{day(8), "150", "Convênio", 100},
                                {day(8), "21", "Ticket", 21},
                                {day(8), "0", "Cortesia", 0},
                                {day(8), "0150", "Convênio empresa", 50}}));

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 15u);
  EXPECT_EQ(blocks[9], kLineFeed);
  const Blocks summary(blocks.begin() + 11, blocks.end() - 1);
  EXPECT_EQ(summary, (Blocks{{"0      Cortesia                          R$ 0,00", ""},
                             {"21      Ticket                          R$ 21,00", ""},
                             {"150      Convênio                      R$ 150,00", ""}}));
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
}

TEST_F(ListingReportTest, AnEmptyPacketPrintsTheFrameAndCloses) {
  imprimeTipoRece("", "", "azul", paymentTypes({}));
  EXPECT_EQ(printedBlocks(),
            (Blocks{kPaymentTitle, kIssueLine, kLineFeed, kLineFeed, kSummaryTitle, kLineFeed}));
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");

  // A host that hands no packet at all gets the same.
  forgetWhatHappened();
  imprimeTipoRece("", "", "azul", ecf::Variant());
  EXPECT_EQ(printedBlocks().size(), 6u);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ListingReportTest, ACodeThatIsNotAWholeNumberStopsTheReportAndLeavesItOpen) {
  imprimeTipoRece("", "", "verde",
                  paymentTypes({{day(8), "1", "Dinheiro", 10}, {day(8), "3,5", "Cheque", 20},
                                {day(8), "4", "Vale", 30}}));

  // Its row line is printed; then the failure is shown and nothing else is sent.
  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 7u);
  EXPECT_EQ(blocks.back()[0], "3,5      Cheque          ECF            R$ 20,00");
  EXPECT_EQ(sentNames().back(), "ImprimeTexto");
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(op().messages()[0].text, "'3,5' não é um código de tipo de recebimento válido.");
  EXPECT_EQ(op().messages()[0].scheme, "verde");
  EXPECT_EQ(op().messages()[0].kind, 3);
  EXPECT_EQ(op().messages()[0].letter2, "N");
  EXPECT_FALSE(printer().state()["open"].is_null()) << printer().state()["open"];
  EXPECT_TRUE(FechRelatGerenc("", true, true));  // the report was still open
}

TEST_F(ListingReportTest, TheHostsSettingsWriteTheIssueLineDatesAndMoney) {
  ecf::HostSettings settings = ecf::HostSettings::decimalPoint();
  settings.dateSeparator = '-';
  settings.timeSeparator = '.';
  ecf_SetSettings(settings);

  imprimeTipoRece("", "", "azul", paymentTypes({{day(7), "1", "Dinheiro", 1234.5}}));

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 10u);
  EXPECT_EQ(blocks[1][0], "Data Emissão: 08-12-2026 10.00.00");
  EXPECT_EQ(blocks[3][0], "Data: 07-12-2026");
  EXPECT_EQ(blocks[5][0], "1      Dinheiro          ECF         R$ 1,234.50");
  EXPECT_EQ(blocks[8][0], "1      Dinheiro                      R$ 1,234.50");
}

// ---- open tables and order pads ----

TEST_F(ListingReportTest, OpenTablesAreListedBySectionInTheHostsOrder) {
  // RES and PKR are tables, DLV delivery pads, anything else order pads; the tables'
  // section comes back after the pads and gets its heading again.
  EXPECT_TRUE(ImprimeMesasAbertas(dtmEcf01600->cdsTeste, "", "", "azul",
                                  openTables({{"RES0012", "0012", "08/12/2026 11:45:10"},
                                              {"PKR0003", "0003", "08/12/2026 11:50:00"},
                                              {"DLV0101", "", "08/12/2026 12:05:33"},
                                              {"CMD0457", "", "08/12/2026 12:10:00"},
                                              {"RES0020", "0020", "08/12/2026 12:15:00"}})));

  const std::vector<std::string> tableColumns = {"Nrº da Mesa      Data/Hora de abertura", ""};
  const std::vector<std::string> padColumns = {"Nrº da Comanda   Data/Hora de abertura", ""};
  const Blocks expected = {
      {"               Mesas Abertas", "", ""},
      kIssueLine,
      kTwoLineFeeds,
      {"Mesas Abertas:", ""},
      tableColumns,
      {"0012             08/12/2026 11:45:10", ""},
      {"0003             08/12/2026 11:50:00", ""},
      kTwoLineFeeds,
      {"Comandas Koravin Abertas:", ""},
      padColumns,
      {"DLV0101       08/12/2026 12:05:33", ""},
      kTwoLineFeeds,
      {"Comandas Abertas:", ""},
      padColumns,
      {"CMD0457       08/12/2026 12:10:00", ""},
      kTwoLineFeeds,
      {"Mesas Abertas:", ""},
      tableColumns,
      {"0020             08/12/2026 12:15:00", ""},
      kLineFeed,
  };
  EXPECT_EQ(printedBlocks(), expected);
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_NE(printer().tape().find("Nrº da Mesa"), std::string::npos);
}

TEST_F(ListingReportTest, OpenTablesReturnWhetherThePrinterClosedTheReport) {
  EXPECT_TRUE(ImprimeMesasAbertas(dtmEcf01600->cdsTeste, "", "", "azul", openTables({})));
  EXPECT_EQ(printedBlocks(), (Blocks{{"               Mesas Abertas", "", ""}, kIssueLine,
                                     kLineFeed}));

  forgetWhatHappened();
  printer().refuseNext("EncerraDocumento");
  EXPECT_FALSE(ImprimeMesasAbertas(dtmEcf01600->cdsTeste, "", "", "verde",
                                   openTables({{"RES0012", "0012", "08/12/2026 11:45:10"}})));
  EXPECT_EQ(op().texts(), std::vector<std::string>{kRefusalNotice});
  FechRelatGerenc("", true, true);

  // A refused opening: every text and the closing are still sent.
  forgetWhatHappened();
  printer().refuseNext("AbreGerencial");
  EXPECT_FALSE(ImprimeMesasAbertas(dtmEcf01600->cdsTeste, "", "", "verde",
                                   openTables({{"RES0012", "0012", "08/12/2026 11:45:10"}})));
  EXPECT_EQ(printedBlocks().size(), 7u);
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
}

TEST_F(ListingReportTest, RowsWithoutTheFieldsTheListingReadsAreRefusedBeforePrinting) {
  const ecf::Variant withoutDate(
      ecf::DataPacket({textField("DSCOMANDA"), textField("NRMESA")}, {{"RES0012", "0012"}}));
  EXPECT_FALSE(ImprimeMesasAbertas(dtmEcf01600->cdsTeste, "", "", "azul", withoutDate));
  const ecf::Variant withoutPrice(ecf::DataPacket(
      {textField("NRMESA"), textField("NRMESADSCOMORIT"), textField("CDPRODUTO"),
       textField("NMPRODUTO"), realField("QTPRODCOMVEN")},
      {{"0012", "0007", "105", "Filé", 1}}));
  imprimeProdutosTransf("", "", "azul", withoutPrice);

  EXPECT_TRUE(sentNames().empty());
  ASSERT_EQ(op().messages().size(), 2u);
  EXPECT_NE(op().messages()[0].text.find("DTHRABERMESA"), std::string::npos);
  EXPECT_NE(op().messages()[1].text.find("VRPRECCOMVEN"), std::string::npos);
}

// ---- products moved between tables ----

TEST_F(ListingReportTest, TransfersShareOneHeadingWhileOriginAndDestinationStayTheSame) {
  imprimeProdutosTransf("", "", "azul",
                        transfers({{"0012", "0007", "105", "Filé à parmegiana", 1, 59.9},
                                   {"0012", "0007", "22", "Café com leite", 2, 6.5},
                                   {"0015", "0007", "301", "Água mineral com gás natural", 3, 4.5},
                                   // "1" + "23" and "12" + "3" are two different transfers.
                                   {"1", "23", "9", "Pudim", 1, 12},
                                   {"12", "3", "9", "Pudim", 1, 12}}));

  const std::vector<std::string> columns = {"Código  -  Nome Produto   -    Qtde. -  Vr Unit.",
                                            ""};
  const std::vector<std::string> pudding = {"9 Pudim               1,00              R$ 12,00",
                                            ""};
  const Blocks expected = {
      {"Data Emissão: 08/12/2026 10:00:00", "", "", ""},
      {"Mes Origem: 0007 -> Mesa Destino: 0012", ""},
      columns,
      {"105 Filé à parmegiana   1,00            R$ 59,90", ""},
      {"22 Café com leite      2,00              R$ 6,50", ""},
      kLineFeed,
      {"Mes Origem: 0007 -> Mesa Destino: 0015", ""},
      columns,
      {"301 Água mineral com gá 3,00             R$ 4,50", ""},
      kLineFeed,
      {"Mes Origem: 23 -> Mesa Destino: 1", ""},
      columns,
      pudding,
      kLineFeed,
      {"Mes Origem: 3 -> Mesa Destino: 12", ""},
      columns,
      pudding,
      kLineFeed,
  };
  EXPECT_EQ(printedBlocks(), expected);
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ListingReportTest, TransferAmountsAndQuantitiesAreNeverCutShort) {
  useDecimalPoint();
  // A bar code long enough to push the quantity out shortens the name instead, and an
  // amount wider than its column is printed whole.
  imprimeProdutosTransf("", "", "azul",
                        transfers({{"0012", "0007", "7891000100103", "Pão de queijo", 12.5,
                                    12345.67}}));

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 5u);
  EXPECT_EQ(blocks[3][0], "7891000100103 Pão de queijo     12.50 R$ 12,345.67");
}

}  // namespace
}  // namespace ecftest

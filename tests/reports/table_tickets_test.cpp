// The table-opening ticket and the sale record: exact blocks with accented names, the
// line total cut on one and rounded on the other, the additions printed only when above
// zero, the title chosen by the length of the number, and what a refusal changes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "reports/reports_fixture.h"

namespace ecftest {
namespace {

using Blocks = std::vector<std::vector<std::string>>;

class TableTicketTest : public ReportTest {
 protected:
  static std::string vendorContact() { return dtmEcf01600->msgPadrao.Msg("ContatoFornecedor"); }

  // What the host puts in the data module before asking for the ticket.
  static void order(const std::string& code, const std::string& name, double quantity,
                    double price) {
    ecf::Dataset& items = dtmEcf01600->cdsParcProdutos;
    items.append();
    items.setValue("CDARVPROD", code);
    items.setValue("NMPRODUTO", name);
    items.setValue("QTPRODCOMVEN", quantity);
    items.setValue("VRPRECCOMVEN", price);
    items.post();
  }

  static void orderTheUsualLunch() {
    dtmEcf01600->cdsParcProdutos.emptyDataSet();
    order("7891000100103", "Pão de queijo", 1.25, 0.99);
    order("105", "Filé à parmegiana", 1, 59.9);
    order("22", "Café com leite", 2, 6.5);
  }

  bool openTable(const ecf::Variant& items, double discount, double serviceCharge, double total,
                 double surcharge) {
    return Abertura_Mesa("", "azul", "", "0012", "", "08/12/2026 12:30", items, discount, 0, 0,
                         serviceCharge, 0, total, surcharge);
  }

  static ecf::Dataset saleItems(const std::vector<std::vector<ecf::Variant>>& rows) {
    ecf::Dataset items("cdsItens");
    items.setData(ecf::DataPacket({textField("CDPROD"), textField("NMPROD"), textField("STQTDE"),
                                   textField("STVALOR")},
                                  rows));
    return items;
  }
};

std::vector<std::string> tableOpeningHeading() {
  return {kBlank, kBlank, kRule, kBlank, "               Abertura de Mesa", kBlank, "Mesa: 0012",
          "Emissao: 08/12/2026 12:30", kRule, ""};
}

const std::vector<std::string> kColumnHeading = {
    "CODIGO     NOME", "QTDE    VR. UNIT                        VLR.TOT.", "", ""};

TEST_F(TableTicketTest, TableOpeningListsTheOrderWithLineTotalsCutToTheCent) {
  orderTheUsualLunch();

  // 1.25 x 0.99 = 1.2375 is cut to 1,23; the total 79.045 to 79,04.
  EXPECT_TRUE(openTable(ecf::Variant(), 5, 7.41, 79.045, 2.5));

  EXPECT_EQ(commandOutline(), (std::vector<std::string>{"AbreGerencial", "ImprimeTexto x7",
                                                        "EncerraDocumento"}));
  const Blocks expected = {
      tableOpeningHeading(),
      kColumnHeading,
      {"7891000100103 Pão de queijo", "1,250   X 0,99                            1,23", ""},
      {"105 Filé à parmegiana", "1,000   X 59,90                           59,90", ""},
      {"22 Café com leite", "2,000   X 6,50                           13,00", ""},
      {kBlank, "Taxa de Servico:                           7,41",
       "Acréscimo:                                2,50",
       "Desconto:                                  5,00", ""},
      {kRule, "Total Geral:                               79,04", kBlank, vendorContact()},
  };
  EXPECT_EQ(printedBlocks(), expected);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(TableTicketTest, AHostWithADecimalPointGetsPointsInQuantitiesAndAmounts) {
  useDecimalPoint();
  dtmEcf01600->cdsParcProdutos.emptyDataSet();
  order("105", "Filé à parmegiana", 1, 1259.9);

  EXPECT_TRUE(openTable(ecf::Variant(), 0, 126, 1385.9, 0));

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 5u);
  // No thousands separator in fixed amounts.
  EXPECT_EQ(blocks[2], (std::vector<std::string>{
                           "105 Filé à parmegiana",
                           "1.000   X 1259.90                         1259.90", ""}));
  EXPECT_EQ(blocks[3], (std::vector<std::string>{
                           kBlank, "Taxa de Servico:                         126.00", ""}));
  EXPECT_EQ(blocks[4][1], "Total Geral:                             1385.90");

  // The sale record reads its quantities and prices as the host writes them.
  forgetWhatHappened();
  ecf::Dataset items = saleItems({{"7891000100103", "Pão de queijo", "1.25", "0.99"}});
  EXPECT_TRUE(RegistroVenda("", "", "azul", items, "0012"));
  const Blocks record = printedBlocks();
  ASSERT_EQ(record.size(), 3u);
  EXPECT_EQ(record[1][1], "1.25   X 0.99                              1.24");
}

TEST_F(TableTicketTest, NothingOrderedAndNothingAddedLeavesOnlyTheFrame) {
  dtmEcf01600->cdsParcProdutos.emptyDataSet();

  // Zero and negative additions are all left out: one blank line remains.
  EXPECT_TRUE(openTable(ecf::Variant(), -1.5, 0, 0, -2));

  const Blocks expected = {
      tableOpeningHeading(),
      kColumnHeading,
      {kBlank, ""},
      {kRule, "Total Geral:                                0,00", kBlank, vendorContact()},
  };
  EXPECT_EQ(printedBlocks(), expected);
}

TEST_F(TableTicketTest, ItemsHandedInThePacketReplaceTheDatasetAndAnEmptyPacketKeepsIt) {
  orderTheUsualLunch();
  const ecf::DataPacket handedIn(
      {textField("CDARVPROD"), textField("NMPRODUTO"), realField("QTPRODCOMVEN"),
       realField("VRPRECCOMVEN")},
      {{"301", "Água com gás", 3, 4.5}});

  EXPECT_TRUE(openTable(ecf::Variant(handedIn), 0, 0, 13.5, 0));
  Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 5u);
  EXPECT_EQ(blocks[2], (std::vector<std::string>{
                           "301 Água com gás", "3,000   X 4,50                           13,50",
                           ""}));

  // An empty packet: the rows now in the dataset are the ones printed.
  forgetWhatHappened();
  const ecf::DataPacket noRows(handedIn.fields(), {});
  EXPECT_TRUE(openTable(ecf::Variant(noRows), 0, 0, 13.5, 0));
  blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 5u);
  EXPECT_EQ(blocks[2][0], "301 Água com gás");
}

TEST_F(TableTicketTest, TableOpeningReportsOnlyWhetherTheTicketCouldBeOpened) {
  orderTheUsualLunch();

  // A refused opening: false, and every block and the closing are still sent (the
  // printer, with no document open, refuses them too).
  printer().refuseNext("AbreGerencial");
  EXPECT_FALSE(openTable(ecf::Variant(), 0, 0, 79.04, 0));
  const std::vector<std::string> wholeTicket = {"AbreGerencial", "ImprimeTexto x7",
                                                "EncerraDocumento"};
  EXPECT_EQ(commandOutline(), wholeTicket);
  ASSERT_FALSE(op().messages().empty());
  EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
  EXPECT_EQ(op().messages()[0].scheme, "");

  // A refused block: the ticket goes on to its end and the result stays true.
  forgetWhatHappened();
  printer().refuseNth(2, "ImprimeTexto");
  EXPECT_TRUE(openTable(ecf::Variant(), 0, 0, 79.04, 0));
  EXPECT_EQ(commandOutline(), wholeTicket);
  EXPECT_EQ(printer().commandsNamed("ImprimeTexto")[1].errorCode, 99);
  EXPECT_EQ(printer().commandsNamed("EncerraDocumento")[0].errorCode, 0);
  EXPECT_EQ(op().messages().size(), 1u);
}

TEST_F(TableTicketTest, BadInputIsRefusedBeforeAnythingIsPrinted) {
  // An amount that is no number, and items without the fields the ticket reads.
  orderTheUsualLunch();
  EXPECT_FALSE(openTable(ecf::Variant(), 0, 0, std::nan(""), 0));
  const ecf::DataPacket withoutPrices({textField("CDARVPROD"), textField("NMPRODUTO")},
                                      {{"1", "Pastel"}});
  EXPECT_FALSE(openTable(ecf::Variant(withoutPrices), 0, 0, 1, 0));

  EXPECT_TRUE(sentNames().empty());
  ASSERT_EQ(op().messages().size(), 2u);
  EXPECT_EQ(op().messages()[0].text, "Abertura_Mesa: valor inválido (não é um número finito).");
  EXPECT_NE(op().messages()[1].text.find("QTPRODCOMVEN"), std::string::npos);
  EXPECT_EQ(op().messages()[1].scheme, "azul");
}

TEST_F(TableTicketTest, SaleRecordListsTheItemsWithTheProductRoundedByItsFormatting) {
  ecf::Dataset items = saleItems({{"7891000100103", "Pão de queijo", "1,25", "0,99"},
                                  {"105", "Filé à parmegiana", "1", "59,9"}});

  EXPECT_TRUE(RegistroVenda("", "", "azul", items, "0012"));

  EXPECT_EQ(commandOutline(), (std::vector<std::string>{"AbreGerencial", "ImprimeTexto x4",
                                                        "EncerraDocumento"}));
  const Blocks expected = {
      {kBlank, "       Relatório de abertura da mesa 0012", kBlank, kRule,
       "               REGISTRO DE VENDA", kRule, "", "CODIGO     NOME",
       "QTDE    VR. UNIT                        VLR.TOT.", "", ""},
      // 1.2375 rounds to 1,24 here.
      {"7891000100103 Pão de queijo", "1,25   X 0,99                              1,24", ""},
      {"105 Filé à parmegiana", "1,00   X 59,90                             59,90", ""},
      {kBlank, kRule, vendorContact()},
  };
  EXPECT_EQ(printedBlocks(), expected);

  // The host's dataset is copied, not taken over.
  EXPECT_EQ(dtmEcf01600->cdsItemsReg.recordCount(), 2);
  EXPECT_EQ(items.recordCount(), 2);
}

TEST_F(TableTicketTest, SaleRecordTitleIsATableOnlyForFourCharacters) {
  struct Case {
    std::string number;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"123", "   Relatório de abertura da comanda 123"},
      {"0012", "       Relatório de abertura da mesa 0012"},
      {"12345", "   Relatório de abertura da comanda 12345"},
      // Four characters, six bytes: still a table.
      {"Ção1", "       Relatório de abertura da mesa Ção1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    forgetWhatHappened();
    ecf::Dataset none = saleItems({});
    EXPECT_TRUE(RegistroVenda("", "", "azul", none, c.number));
    const Blocks blocks = printedBlocks();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0][1], c.title);
  }
}

TEST_F(TableTicketTest, SaleRecordIsPrintedWholeAndReturnsTrueEvenWhenRefused) {
  ecf::Dataset items = saleItems({{"22", "Café com leite", "2", "6,5"}});
  const std::vector<std::string> wholeRecord = {"AbreGerencial", "ImprimeTexto x3",
                                                "EncerraDocumento"};

  printer().refuseNext("AbreGerencial");
  EXPECT_TRUE(RegistroVenda("", "", "verde", items, "0012"));
  EXPECT_EQ(commandOutline(), wholeRecord);
  ASSERT_FALSE(op().messages().empty());
  EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
  EXPECT_EQ(op().messages()[0].scheme, "verde");

  forgetWhatHappened();
  printer().refuseNth(2, "ImprimeTexto");
  EXPECT_TRUE(RegistroVenda("", "", "verde", items, "0012"));
  EXPECT_EQ(commandOutline(), wholeRecord);
  EXPECT_EQ(printer().commandsNamed("ImprimeTexto")[1].errorCode, 99);
  EXPECT_EQ(printer().commandsNamed("EncerraDocumento")[0].errorCode, 0);
  EXPECT_EQ(op().messages().size(), 1u);
}

}  // namespace
}  // namespace ecftest

// The product report on the virtual printer: both layouts line by line for a realistic
// day, the confirmation modes, the report-series flag and the counter it hands back.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "reports/reports_fixture.h"

namespace ecftest {
namespace {

struct ProductRow {
  const char* code;
  const char* name;
  double quantity;
  double total;
  double surcharge;
  double discount;
  const char* situation;
  std::optional<double> rate;  // none: the host left the rate empty
};

ecf::Dataset productList(const std::vector<ProductRow>& rows) {
  ecf::Dataset list("produtos");
  list.setFieldDefs({{"CDPRODUTO", ecf::FieldType::Text, 20},
                     {"NMPRODUTO", ecf::FieldType::Text, 60},
                     {"QTPRODVEND", ecf::FieldType::Real, 0},
                     {"VRTOTAL", ecf::FieldType::Real, 0},
                     {"VRACRE", ecf::FieldType::Real, 0},
                     {"VRDESC", ecf::FieldType::Real, 0},
                     {"IDTPIMPOSFIS", ecf::FieldType::Text, 1},
                     {"VRPEALIMPFIS", ecf::FieldType::Real, 0}});
  list.createDataSet();
  for (const ProductRow& row : rows) {
    list.append();
    list.setValue("CDPRODUTO", row.code);
    list.setValue("NMPRODUTO", row.name);
    list.setValue("QTPRODVEND", row.quantity);
    list.setValue("VRTOTAL", row.total);
    list.setValue("VRACRE", row.surcharge);
    list.setValue("VRDESC", row.discount);
    list.setValue("IDTPIMPOSFIS", row.situation);
    if (row.rate) list.setValue("VRPEALIMPFIS", *row.rate);
    list.post();
  }
  return list;
}

// A café's day: accented names, a bar code longer than the code column, a name longer
// than the name column, a weighed quantity, two rates under one situation, and every
// untaxed situation, one of them without a label of its own.
ecf::Dataset cafeDay() {
  return productList({
      {"1001", "Pão de queijo", 12, 54.00, 0, 0, "T", 18},
      {"7891234567890", "Refrigerante lata 350ml", 3, 16.50, 0, 0, "T", 7},
      {"1003", "Açaí 500ml", 2, 37.80, 1.50, 0, "T", 18},
      {"1004", "Água mineral sem gás", 4, 12.00, 0, 0.60, "I", std::nullopt},
      {"1005", "Cerveja long neck", 6, 47.40, 0, 0, "F", 0},
      {"1006", "Gorjeta", 1, 10.00, 0, 0, "N", 0},
      {"1007", "Queijo minas (kg)", 0.754, 31.43, 0, 0, "T", 7},
      {"1008", "Taxa de entrega", 1, 5.00, 0, 0, "S", 0},
      {"1009", "Água com gás", 2, 7.00, 0, 0, "I", 0},
  });
}

const std::string kHeading =
    "\n"
    "             RELATORIO DE PRODUTOS             \n"
    "\n"
    "CODIGO      NOME                  QTDE  VLR.TOT.\n";

const std::string kTotals =
    "Total de Acréscimos                         1,50\n"
    "\n"
    "Total de Descontos                          0,60\n"
    "\n"
    "Total das Vendas                 31,75    221,13\n"
    "\n"
    "\n";

class ProductReportTest : public ReportTest {
 protected:
  // Relatorio_Produto as the host calls it; the pass-through texts are the host's own.
  void report(const ecf::Dataset& products, const std::string& confirmation,
              const std::string& layout) {
    Relatorio_Produto("a", "b", "c", "d", "e", coo_, products, confirmation, layout, "azul",
                      reportSeries_);
  }

  std::string coo_ = "";
  bool reportSeries_ = true;
};

TEST_F(ProductReportTest, ThePlainListPrintsEveryRowInTheHostsOrderWithTheTotals) {
  report(cafeDay(), "N", "N");

  const std::vector<std::string> expected = {
      kHeading,
      "1001        Pão de queijo        12,00     54,00\n",
      "78912345678 Refrigerante lata 3   3,00     16,50\n",
      "1003        Açaí 500ml            2,00     37,80\n",
      "1004        Água mineral sem gá   4,00     12,00\n",
      "1005        Cerveja long neck     6,00     47,40\n",
      "1006        Gorjeta               1,00     10,00\n",
      "1007        Queijo minas (kg)     0,75     31,43\n",
      "1008        Taxa de entrega       1,00      5,00\n",
      "1009        Água com gás          2,00      7,00\n",
      "\n" + kTotals,
  };
  EXPECT_EQ(printedTexts(), expected);
  std::vector<std::string> sequence = {"AbreGerencial", "LeInteiro"};
  sequence.insert(sequence.end(), expected.size(), "ImprimeTexto");
  sequence.push_back("EncerraDocumento");
  EXPECT_EQ(printer().commandNames(), sequence);
  EXPECT_EQ(coo_, printerCoo());  // the report's own counter
  EXPECT_TRUE(op().messages().empty());
  EXPECT_NE(printer().tape().find("1004        Água mineral sem gá   4,00     12,00"),
            std::string::npos);
}

TEST_F(ProductReportTest, TheGroupedListHeadsEachRateAndSumsEachSituationAndRate) {
  report(cafeDay(), "N", "S");

  const std::vector<std::string> expected = {
      kHeading,
      "Subst. Trib.\n",
      "1005        Cerveja long neck     6,00     47,40\n",
      "Isento :\n",  // the row without a rate comes first
      "1004        Água mineral sem gá   4,00     12,00\n",
      "",  // a new rate text, 0, under the situation already headed
      "1009        Água com gás          2,00      7,00\n",
      "Não Incide\n",
      "1006        Gorjeta               1,00     10,00\n",
      "",  // a situation without a label of its own
      "1008        Taxa de entrega       1,00      5,00\n",
      "Tributacao  7,00\n",
      "78912345678 Refrigerante lata 3   3,00     16,50\n",
      "1007        Queijo minas (kg)     0,75     31,43\n",
      "Tributacao  18,00\n",
      "1001        Pão de queijo        12,00     54,00\n",
      "1003        Açaí 500ml            2,00     37,80\n",
      "VALOR                            31,75    221,13\n\n",
      "Tributados                         \n",
      "Subst. Trib.                               47,40\n"
      "Isento :                                   19,00\n"
      "Não Incide                                 10,00\n"
      "0,00                                        5,00\n"
      "7,00                                       47,93\n"
      "18,00                                      91,80\n",
      kTotals,
  };
  EXPECT_EQ(printedTexts(), expected);
  EXPECT_EQ(printer().commandNames().back(), "EncerraDocumento");
  EXPECT_EQ(coo_, printerCoo());

  // The summary stays in the data module for the host, in first-occurrence order.
  const ecf::DataPacket summary = (*dtmEcf01600).cdsAliqProduto.data();
  ASSERT_EQ(summary.rowCount(), 6u);
  const int situation = summary.fieldIndex("IDTPIMPOSFIS");
  const int total = summary.fieldIndex("VRTOTALALIQ");
  EXPECT_EQ(summary.row(1)[situation].toText(), "I");
  EXPECT_DOUBLE_EQ(summary.row(1)[total].toNumber(), 19.00);
  EXPECT_EQ(summary.row(5)[situation].toText(), "T");
  EXPECT_DOUBLE_EQ(summary.row(5)[total].toNumber(), 91.80);

  // A second grouped report starts its summary over.
  forgetWhatHappened();
  report(productList({{"2001", "Suco de laranja", 1, 8.00, 0, 0, "T", 12}}), "N", "S");
  EXPECT_EQ((*dtmEcf01600).cdsAliqProduto.data().rowCount(), 1u);
  EXPECT_EQ(printedTexts()[1], "Tributacao  12,00\n");
}

TEST_F(ProductReportTest, UnderADecimalPointEveryAmountUsesItAndLongQuantitiesKeepTheirStart) {
  useDecimalPoint();
  report(productList({{"3001", "Farinha de trigo (g)", 1250.5, 9.38, 0.25, 0, "T", 7},
                      {"3002", "Fermento", 1, 4.5, 0, 1.25, "T", 7}}),
         "N", "S");

  const std::vector<std::string> texts = printedTexts();
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[1], "Tributacao  7.00\n");
  EXPECT_EQ(texts[2], "3001        Farinha de trigo (g 1250.5      9.38\n");
  EXPECT_EQ(texts[3], "3002        Fermento              1.00      4.50\n");
  EXPECT_EQ(texts[4], "VALOR                          1251.50     13.88\n\n");
  EXPECT_EQ(texts[6], "7.00                                       13.88\n");
  EXPECT_EQ(texts[7],
            "Total de Acréscimos                         0.25\n\n"
            "Total de Descontos                          1.25\n\n"
            "Total das Vendas               1251.50     13.88\n\n\n");
}

TEST_F(ProductReportTest, TheConfirmationModeDecidesWhetherAnythingHappens) {
  // "S" answered yes: the question first, then the report.
  op().answerNext(true);
  report(cafeDay(), "S", "N");
  ASSERT_EQ(op().messages().size(), 1u);
  const ecf::OperatorMessage& question = op().messages()[0];
  EXPECT_EQ(question.text, "Confirma impressão do Relatório de Produtos?");
  EXPECT_EQ(question.kind, 1);
  EXPECT_EQ(question.letter1, "N");
  EXPECT_EQ(question.letter2, "S");
  EXPECT_EQ(question.scheme, "azul");
  EXPECT_EQ(printedTexts().size(), 11u);

  // "S" answered no: nothing sent, and the flag still asks for the closing.
  forgetWhatHappened();
  reportSeries_ = false;
  coo_ = "000001";
  op().answerNext(false);
  report(cafeDay(), "S", "N");
  EXPECT_EQ(op().messages().size(), 1u);
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_FALSE(reportSeries_);
  EXPECT_EQ(coo_, "000001");

  // Any other mode: no question, nothing sent, the flag untouched.
  forgetWhatHappened();
  for (const char* mode : {"", "n", "X"}) {
    report(cafeDay(), mode, "S");
    EXPECT_FALSE(reportSeries_) << mode;
  }
  EXPECT_TRUE(op().messages().empty());
  EXPECT_TRUE(printer().commands().empty());
}

TEST_F(ProductReportTest, AClearFlagClosesTheOpenDocumentFirstEvenForAnEmptyList) {
  ASSERT_TRUE(Relatorio_Gerencial_Imp("", "", "", ""));
  ASSERT_TRUE(Usa_CompNFis("", "RECIBO EM ABERTO\n"));
  forgetWhatHappened();
  reportSeries_ = false;
  coo_ = "";

  report(productList({}), "N", "N");

  // The open report is closed, nothing is opened and the counter is not read.
  EXPECT_EQ(printer().commandNames(), std::vector<std::string>{"EncerraDocumento"});
  EXPECT_TRUE(reportSeries_);
  EXPECT_EQ(coo_, "");
  EXPECT_EQ(printer().state()["open"]["kind"], "none");

  // With the flag set, the next report in the series closes nothing before its own.
  forgetWhatHappened();
  report(productList({{"1001", "Pão de queijo", 1, 4.5, 0, 0, "T", 18}}), "N", "N");
  EXPECT_EQ(printer().commandNames().front(), "AbreGerencial");
  EXPECT_EQ(coo_, printerCoo());

  // An empty list with the flag set sends nothing at all; a host table without fields
  // counts as an empty list.
  forgetWhatHappened();
  coo_ = "000042";
  report(productList({}), "N", "S");
  report(ecf::Dataset("vazio"), "N", "N");
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_EQ(coo_, "000042");
}

TEST_F(ProductReportTest, AListLackingAFieldIsRefusedBeforeTheReportOpens) {
  ecf::Dataset list("produtos");
  list.setFieldDefs({{"CDPRODUTO", ecf::FieldType::Text, 0},
                     {"NMPRODUTO", ecf::FieldType::Text, 0},
                     {"QTPRODVEND", ecf::FieldType::Real, 0},
                     {"VRTOTAL", ecf::FieldType::Real, 0}});
  list.createDataSet();
  list.append();
  list.setValue("CDPRODUTO", "1001");
  list.post();

  report(list, "N", "N");

  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_NE(op().messages()[0].text.find("Campo 'VRACRE' não encontrado em cdsProdVend"),
            std::string::npos);
  EXPECT_EQ(op().messages()[0].scheme, "azul");
}

TEST_F(ProductReportTest, RefusedBlocksAreShownAndTheReportGoesOnToItsClosing) {
  printer().refuseNth(2, "ImprimeTexto");

  report(cafeDay(), "N", "N");

  const std::vector<RecordedCommand> prints = printer().commandsNamed("ImprimeTexto");
  ASSERT_EQ(prints.size(), 11u);
  EXPECT_GT(prints[1].errorCode, 0);
  EXPECT_EQ(prints[2].errorCode, 0);
  EXPECT_EQ(printer().commandNames().back(), "EncerraDocumento");
  EXPECT_EQ(op().messages().size(), 1u);
}

}  // namespace
}  // namespace ecftest

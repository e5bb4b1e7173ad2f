// The statement of family accounts: its heading, family headers, date and movement
// lines, sale items and total, block by block, in both modes; what it prints when there
// is little or nothing to print; and host values that try to be part of a filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/accounts_fixture.h"

namespace ecftest {
namespace {

using ecf::DateTime;
using ecf::Variant;

const Variant kDec7 = DateTime::fromParts(2026, 12, 7);
const Variant kDec8 = DateTime::fromParts(2026, 12, 8);

const std::vector<ecf::FieldDef> kDetailFields{
    text("CDFAMILISALD"), text("NMFAMILISALD"), real("SALDANT"), date("DATA"),
    text("HORA"),         text("DSOPEEXTCONS"), real("VALOR"),   real("SALDO"),
    text("NRSEQVENDA"),   text("IDTPMOVEXT")};
const std::vector<ecf::FieldDef> kItemFields{text("NRSEQVENDA"), text("CDFAMILISALD"),
                                             real("QTDE"), text("NMPRODUTO"), real("VRTOTAL")};

// What the host hands Extrato. The summary movements and the detail movements name
// their amounts differently, so a mode reading the other's fields fails loudly.
struct Statement {
  ecf::Dataset configuration = hostTable("cdsConfig", {text("IDEMISEXTRSIMPL")}, {{"S"}});
  ecf::Dataset families = hostTable("cdsFamilias", {text("CDFAMILISALD"), text("NMFAMILISALD")},
                                    {{"1", "Família Conceição"},
                                     {"9", "Família Inativa"},  // no movements
                                     {"2", "Família Araújo"},
                                     {"3", "Família São João"}});
  ecf::Dataset movements = hostTable(
      "cdsMovimentos",
      {text("CDFAMILISALD"), date("DATA"), text("HORA"), text("DSOPEEXTCONS"),
       real("VRMOVEXTCONS"), real("VRSALDCONEXT"), text("NRSEQVENDA"), text("IDTPMOVEXT")},
      {{"2", kDec8, "11:30", "Depósito", 80.0, 80.0, "", "C"},
       {"1", kDec7, "08:15", "Depósito", 100.0, 250.0, "", "C"},
       {"1", kDec7, "12:40", "Venda", -23.5, 226.5, "1001", "V"},
       {"3", kDec7, "18:00", "Venda", -7.8, 4.5, "1002", "V"},
       {"1", kDec8, "09:05", "Saque", -50.0, 176.5, "", "D"}});
  ecf::Dataset saleItems = hostTable(
      "cdsItens", kItemFields,
      {{"1001", "1", 2.0, "Pão de queijo", 9.0},
       {"1002", "3", 1.5, "Açaí", 7.8},
       {"1001", "1", 1.0, "Suco de laranja natural", 14.5},
       {"1001", "3", 1.0, "Café", 3.0}});  // the same sale number in another family
  ecf::Dataset familyBalances =
      hostTable("cdsSaldos", {real("SALDOFAM")}, {{176.5}, {80.0}, {4.5}});
  ecf::Dataset detailMovements = hostTable(
      "cdsDetalhe", kDetailFields,
      {{"1", "Família Conceição", 150.0, kDec7, "08:15", "Depósito", 100.0, 250.0, "", "C"},
       {"1", "Família Conceição", 150.0, kDec7, "12:40", "Venda", -23.5, 226.5, "1001", "V"},
       {"1", "Família Conceição", 150.0, kDec8, "09:05", "Saque", -50.0, 176.5, "", "D"},
       {"2", "Família Araújo", 0.0, kDec8, "11:30", "Depósito", 80.0, 80.0, "", "C"},
       {"3", "Família São João", 12.3, kDec7, "18:00", "Venda", -7.8, 4.5, "1002", "V"}});

  std::string headingText1 = "Cliente: 0042";

  void useDetailMode() {
    configuration = hostTable("cdsConfig", {text("IDEMISEXTRSIMPL")}, {{"N"}});
  }

  bool print() {
    return Extrato("", "azul", configuration, families, movements, saleItems, familyBalances, "",
                   "EXTRATO DE CONSUMO", "003", headingText1, "Escola Modelo", detailMovements);
  }
};

const std::string kHeading = "\n" + kDashes + "\n" +
                             "               EXTRATO DE CONSUMO               \n"
                             "\n" +
                             kDashes + "\n" +
                             "Caixa: 003                08/12/2026 10:00\n" + kDashes + "\n";

std::string familyHeader(const std::string& balanceLine) {
  return kDashes + "\n" + balanceLine + "\n" + kDashes + "\n" +
         "Data  Operacao           Valor   Saldo  \n";
}

const Blocks kStatement{
    kHeading,
    "Cliente: 0042-Escola Modelo\n" +
        familyHeader("SALDO ANTERIOR - Família Conc     150,00"),
    "07/12/2026\n"
    " 08:15 Depósito          100,00   250,00\n",
    " 12:40 Venda             -23,50   226,50\n",
    "            2    Pão de quei   9,00\n",
    "            1    Suco de lar  14,50\n",
    "08/12/2026\n"
    " 09:05 Saque             -50,00   176,50\n",
    familyHeader("SALDO ANTERIOR - Família Araú       0,00"),
    "08/12/2026\n"
    " 11:30 Depósito           80,00    80,00\n",
    familyHeader("SALDO ANTERIOR - Família São       12,30"),
    "07/12/2026\n"
    " 18:00 Venda              -7,80     4,50\n",
    "            1,5  Açaí          7,80\n",
    kDashes + "\nSaldo Total                       261,00\n",
};

TEST_F(AccountsTest, SummaryStatementPrintsEachFamilyWithItsMovementsAndTheTotal) {
  Statement statement;

  EXPECT_TRUE(statement.print());

  EXPECT_EQ(printedBlocks(), kStatement);
  EXPECT_EQ(sentNames(), reportCommands(kStatement.size()));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_FALSE(documentOpen());
  // The carried-forward balances were looked up without moving the host's cursor.
  EXPECT_EQ(statement.detailMovements.recNo(), 1);
  // The private copy left is the last family's movements.
  ASSERT_NE(cdsAuxExtSimp, nullptr);
  EXPECT_EQ(cdsAuxExtSimp->recordCount(), 1);
  EXPECT_EQ(cdsAuxExtSimp->asText("CDFAMILISALD"), "3");
}

// The balance carried forward is the family's own: a family the detail movements do not
// hold carries nothing forward, not the balance of whichever row was current.
TEST_F(AccountsTest, AFamilyMissingFromTheDetailMovementsCarriesNothingForward) {
  Statement statement;
  statement.detailMovements.last();
  statement.detailMovements.deleteRecord();  // family 3's only row
  statement.detailMovements.first();

  EXPECT_TRUE(statement.print());

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), kStatement.size());
  EXPECT_EQ(blocks[9], familyHeader("SALDO ANTERIOR - Família São        0,00"));
}

TEST_F(AccountsTest, DetailStatementPrintsTheSameLayoutFromItsOneDataset) {
  Statement statement;
  statement.useDetailMode();

  EXPECT_TRUE(statement.print());

  EXPECT_EQ(printedBlocks(), kStatement);
  EXPECT_EQ(sentNames(), reportCommands(kStatement.size()));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(AccountsTest, StatementAmountsFollowTheHostsDecimalSeparator) {
  useDecimalPoint();
  Statement statement;
  statement.useDetailMode();

  EXPECT_TRUE(statement.print());

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), kStatement.size());
  EXPECT_EQ(blocks[3], " 12:40 Venda             -23.50   226.50\n");
  EXPECT_EQ(blocks[11], "            1.5  Açaí          7.80\n");
  EXPECT_EQ(blocks.back(), kDashes + "\nSaldo Total                       261.00\n");
}

TEST_F(AccountsTest, ASaleWithoutNumberPrintsNoItemsNotEvenThoseWithoutNumber) {
  Statement statement;
  statement.useDetailMode();
  statement.detailMovements = hostTable(
      "cdsDetalhe", kDetailFields,
      {{"1", "Ana", 10.0, kDec8, "09:00", "Venda", -2.0, 8.0, "", "V"}});
  statement.saleItems = hostTable(
      "cdsItens", kItemFields,
      {{"", "1", 1.0, "Bala", 2.0}});
  statement.familyBalances = hostTable("cdsSaldos", {real("SALDOFAM")}, {{8.0}});

  EXPECT_TRUE(statement.print());

  EXPECT_EQ(printedBlocks(),
            (Blocks{kHeading,
                    "Cliente: 0042-Escola Modelo\n" +
                        familyHeader("SALDO ANTERIOR - Ana               10,00"),
                    "08/12/2026\n"
                    " 09:00 Venda              -2,00     8,00\n",
                    kDashes + "\nSaldo Total                         8,00\n"}));
}

TEST_F(AccountsTest, AFamilyBlockBeyond620CharactersLosesItsTail) {
  Statement statement;
  // The heading line travels in the first family's block: 650 characters of it.
  statement.headingText1 = std::string(650, 'x');
  statement.headingText1.replace(0, 1, "é");

  EXPECT_TRUE(statement.print());

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), kStatement.size());
  EXPECT_EQ(blocks[1], "é" + std::string(619, 'x'));
  EXPECT_EQ(blocks[2], kStatement[2]);  // nothing carried over
}

TEST_F(AccountsTest, AStatementWithNothingToPrintReturnsFalse) {
  {
    SCOPED_TRACE("summary mode without movements: nothing is sent at all");
    Statement statement;
    statement.movements = hostTable("cdsMovimentos", {text("CDFAMILISALD")}, {});
    EXPECT_FALSE(statement.print());
    EXPECT_TRUE(sentNames().empty());
  }
  {
    SCOPED_TRACE("detail mode at the end of its dataset");
    Statement statement;
    statement.useDetailMode();
    statement.detailMovements.last();
    statement.detailMovements.next();
    EXPECT_FALSE(statement.print());
    EXPECT_TRUE(sentNames().empty());
  }
  {
    SCOPED_TRACE("movements of no listed family: the heading's report is closed again");
    Statement statement;
    statement.families = hostTable("cdsFamilias", {text("CDFAMILISALD"), text("NMFAMILISALD")},
                                   {{"7", "Família Nova"}});
    EXPECT_FALSE(statement.print());
    EXPECT_EQ(printedBlocks(), Blocks{kHeading});
    EXPECT_EQ(sentNames(), reportCommands(1));
    EXPECT_FALSE(documentOpen());
  }
  EXPECT_TRUE(op().messages().empty());
}

// Sale numbers and family codes go into the sale items' filter quoted: a quote inside
// one is part of the value, and text shaped like another comparison is only a value.
TEST_F(AccountsTest, SaleNumbersAndFamilyCodesAreMatchedAsTheyStand) {
  Statement statement;
  statement.useDetailMode();
  const std::string sneaky = "7' OR NRSEQVENDA <> '";
  statement.detailMovements = hostTable(
      "cdsDetalhe", kDetailFields,
      {{"D'Ávila", "Família D'Ávila", 20.0, kDec8, "09:00", "Venda", -5.0, 15.0, "10'01", "V"},
       {"D'Ávila", "Família D'Ávila", 20.0, kDec8, "09:30", "Venda", -4.0, 11.0, sneaky, "V"}});
  statement.saleItems = hostTable(
      "cdsItens", kItemFields,
      {{"10'01", "D'Ávila", 1.0, "Pastel", 5.0},
       {"7", "D'Ávila", 1.0, "Não é deste", 9.0},
       {sneaky, "D'Ávila", 2.0, "Bombom", 4.0},
       {"10'01", "X", 1.0, "Outra família", 1.0}});
  statement.familyBalances = hostTable("cdsSaldos", {real("SALDOFAM")}, {{11.0}});

  EXPECT_TRUE(statement.print());

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 7u);
  EXPECT_EQ(blocks[3], "            1    Pastel        5,00\n");
  EXPECT_EQ(blocks[4], " 09:30 Venda              -4,00    11,00\n");
  EXPECT_EQ(blocks[5], "            2    Bombom        4,00\n");
  EXPECT_EQ(statement.saleItems.filter(),
            "NRSEQVENDA = '7'' OR NRSEQVENDA <> '''AND CDFAMILISALD = 'D''Ávila'");
  EXPECT_TRUE(op().messages().empty());

  // Summary mode filters the movements by a family code the same way.
  printer().clearRecord();
  Statement summary;
  summary.families = hostTable("cdsFamilias", {text("CDFAMILISALD"), text("NMFAMILISALD")},
                               {{"1' OR CDFAMILISALD <> '", "Família Esperta"}});
  EXPECT_FALSE(summary.print());
  EXPECT_EQ(printedBlocks(), Blocks{kHeading});
}

// A host row that cannot be read stops the statement with a clear message, and the
// report already open is closed rather than left hanging on the printer.
TEST_F(AccountsTest, ABadHostRowStopsTheStatementAndClosesItsReport) {
  Statement statement;
  statement.saleItems = hostTable("cdsItens", {text("NRSEQVENDA"), text("CDFAMILISALD")},
                                  {{"1001", "1"}});

  EXPECT_FALSE(statement.print());

  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_NE(op().messages()[0].text.find("não encontrado em cdsItens"), std::string::npos)
      << op().messages()[0].text;
  EXPECT_EQ(op().messages()[0].scheme, "azul");
  const std::vector<std::string> names = sentNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), "EncerraDocumento");
  EXPECT_FALSE(documentOpen());
}

TEST_F(AccountsTest, TheHeadingOpensTheReportAndLeavesItOpen) {
  Cabecalho("", "azul", "EXTRATO DE CONSUMO", "003", "", "");

  EXPECT_EQ(sentNames(), (std::vector<std::string>{"LeInteiro", "AbreGerencial", "ImprimeTexto"}));
  EXPECT_EQ(printer().commandsNamed("LeInteiro")[0].value("NomeInteiro"), "COO");
  EXPECT_EQ(printedBlocks(), Blocks{kHeading});
  EXPECT_TRUE(documentOpen());
}

}  // namespace
}  // namespace ecftest

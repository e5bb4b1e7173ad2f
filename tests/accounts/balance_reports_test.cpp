// The balance reports and the blocked-product report: their blocks exactly, the totals,
// the 620-character cut of a long block, and what happens with nothing to print or a
// refused opening.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/accounts_fixture.h"

namespace ecftest {
namespace {

using ecf::Variant;

const std::string kTotalRule = "                                     -----------\n";

ecf::Dataset familyBalances(Rows rows) {
  return hostTable("cdsSaldos", {text("NMFAMILISALD"), real("SALDOFAM")}, std::move(rows));
}

const std::string kBalanceHeading =
    "             >>> Consulta Saldo <<<             \n" + kDashes + "\n0042 - Escola Modelo\n\n";

TEST_F(AccountsTest, FamilyBalancesPrintHeadingThenLinesAndTotalInOneBlock) {
  ecf::Dataset balances = familyBalances(
      {{"Família Conceição", 176.5}, {"Família Araújo", 80.0}, {"Família São João", 4.5}});

  EXPECT_TRUE(ImpSaldo("azul", balances, "0042", "Escola Modelo"));

  EXPECT_EQ(printedBlocks(), (Blocks{kBalanceHeading,
                                     "Família Conceição                         176,50\n"
                                     "Família Araújo                             80,00\n"
                                     "Família São João                            4,50\n" +
                                         kTotalRule +
                                         "Saldo Total                               261,00\n"}));
  EXPECT_EQ(sentNames(), reportCommands(2));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(AccountsTest, FamilyBalancesBeyond620CharactersLoseTheirLastLines) {
  Rows rows;
  std::string lines;
  for (int family = 1; family <= 12; ++family) {
    const std::string name = "Família " + std::string(family < 10 ? "0" : "") +
                             std::to_string(family);
    rows.push_back({name, 1.0});
    lines += name + std::string(34, ' ') + "1,00\n";
  }
  ecf::Dataset balances = familyBalances(std::move(rows));

  EXPECT_TRUE(ImpSaldo("azul", balances, "0042", "Escola Modelo"));

  // Twelve lines of 49 characters leave 32 for the rule; the total is never printed.
  EXPECT_EQ(printedBlocks(), (Blocks{kBalanceHeading, lines + std::string(32, ' ')}));
}

TEST_F(AccountsTest, FamilyBalancesOfAnEmptyDatasetPrintAZeroTotal) {
  ecf::Dataset balances = familyBalances({});

  EXPECT_TRUE(ImpSaldo("azul", balances, "0042", "Escola Modelo"));

  EXPECT_EQ(printedBlocks(),
            (Blocks{kBalanceHeading,
                    kTotalRule + "Saldo Total                                 0,00\n"}));
  EXPECT_EQ(sentNames(), reportCommands(2));
}

TEST_F(AccountsTest, FamilyBalancesWithARefusedOpeningPrintNothingAndReturnFalse) {
  ecf::Dataset balances = familyBalances({{"Família Araújo", 80.0}});
  printer().refuseNext("AbreGerencial");

  EXPECT_FALSE(ImpSaldo("azul", balances, "0042", "Escola Modelo"));

  EXPECT_EQ(sentNames(), (std::vector<std::string>{"LeInteiro", "AbreGerencial"}));
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
  EXPECT_EQ(op().messages()[0].scheme, "azul");
}

struct NegativeBalances {
  ecf::Dataset types = hostTable("cdsTipos", {text("CDTIPOCONS"), text("NMTIPOCONS")},
                                 {{"A", "Alunos"}, {"P", "Professores"}, {"F", "Funcionários"}});
  ecf::Dataset consumers =
      hostTable("cdsConsumidores", {text("CDTIPOCONS"), text("NMCONSUMIDOR"), real("SALDONEGATIVO")},
                {{"A", "João Gonçalves", -12.5}, {"F", "Márcia Lima", -3.2}, {"A", "Ana Luíza", -0.8}});

  bool print() {
    return SaldoNegativo("", "azul", types, consumers, "SALDOS NEGATIVOS", "003", "", "");
  }
};

TEST_F(AccountsTest, NegativeBalancesGroupConsumersByTypeWithATotalEach) {
  NegativeBalances report;

  EXPECT_TRUE(report.print());

  const std::string heading = "\n" + kDashes + "\n" +
                              "                SALDOS NEGATIVOS                \n\n" + kDashes +
                              "\nCaixa: 003                08/12/2026 10:00\n" + kDashes + "\n";
  EXPECT_EQ(printedBlocks(),
            (Blocks{heading,
                    "     >>> Saldo Negativo por Consumidor <<<      \n" + kDashes +
                        "\nAlunos\n"
                        "  João Gonçalves                         -12,50\n",
                    "  Ana Luíza                               -0,80\n",
                    kTotalRule + "Saldo Total                               -13,30\n",
                    kDashes + "\nFuncionários\n"
                              "  Márcia Lima                             -3,20\n",
                    kTotalRule + "Saldo Total                                -3,20\n"}));
  // The counter is read before anything else, and again by the heading.
  std::vector<std::string> expected{"LeInteiro"};
  const std::vector<std::string> report6 = reportCommands(6);
  expected.insert(expected.end(), report6.begin(), report6.end());
  EXPECT_EQ(sentNames(), expected);
}

TEST_F(AccountsTest, NegativeBalancesWithoutConsumersOpenNothing) {
  NegativeBalances report;
  report.consumers = hostTable(
      "cdsConsumidores", {text("CDTIPOCONS"), text("NMCONSUMIDOR"), real("SALDONEGATIVO")},
      {{"X", "De tipo nenhum", -1.0}});

  EXPECT_FALSE(report.print());

  EXPECT_EQ(sentNames(), std::vector<std::string>{"LeInteiro"});
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(AccountsTest, ConsumerTypeCodesAreMatchedAsTheyStand) {
  NegativeBalances report;
  report.types = hostTable("cdsTipos", {text("CDTIPOCONS"), text("NMTIPOCONS")},
                           {{"D'Ávila", "Família D'Ávila"}, {"A' OR CDTIPOCONS <> '", "Esperto"}});
  report.consumers = hostTable(
      "cdsConsumidores", {text("CDTIPOCONS"), text("NMCONSUMIDOR"), real("SALDONEGATIVO")},
      {{"D'Ávila", "Rita", -2.0}, {"A", "Não é deste tipo", -9.0}});

  EXPECT_TRUE(report.print());

  const Blocks blocks = printedBlocks();
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_NE(blocks[1].find("Família D'Ávila\n  Rita"), std::string::npos) << blocks[1];
  EXPECT_EQ(blocks[2], kTotalRule + "Saldo Total                                -2,00\n");
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(AccountsTest, PersonalCreditBalancesLeaveZeroBalancesOut) {
  ecf::Dataset balances = hostTable(
      "cdsSaldCred", {text("NMFAMILISALD"), real("VRSALDCONFAM")},
      {{"Família Conceição", 120.0}, {"Família Araújo", 0.0}, {"Família São João", 35.75}});

  Saldo_CredPessoal("", "", "azul", "SALDO CRÉDITO PESSOAL", balances);

  EXPECT_EQ(printedBlocks(), Blocks{"\n"
                                    "             SALDO CRÉDITO PESSOAL              \n" +
                                    std::string(48, ' ') +
                                    "\n"
                                    "Família Conceição                 120,00\n"
                                    "Família São João                   35,75\n" +
                                    kDashes +
                                    "\n"
                                    "Saldo Total                       155,75\n"});
  EXPECT_EQ(sentNames(), reportCommands(1));
}

TEST_F(AccountsTest, BlockedProductsEndWithTheVendorContactLine) {
  ecf::Dataset products = hostTable(
      "cdsProdBloq",
      {text("NMFILIAL"), text("CDLOJA"), text("CDPRODUTO"), text("CDPROTECLADO"), text("NMPRODUTO")},
      {{"Cantina Central", "01", "000123", "45", "Refrigerante lata 350ml gelado"},
       {"Cantina Central", "01", "000777", "12", "Salgado frito"}});

  EXPECT_TRUE(ImprimeProdBloq("", "", "azul", products));

  ASSERT_NE(dtmEcf01600, nullptr);
  const std::string contact = dtmEcf01600->msgPadrao.Msg("ContatoFornecedor");
  EXPECT_EQ(printedBlocks(),
            (Blocks{std::string(47, '-') + "\n" +
                        "                Cantina Central                 \n" + kDashes + "\n",
                    "Loja:01                  08/12/2026 10:00:00\n" + kDashes + "\n" +
                        "          >>> Produtos Bloqueados <<<           \n" + kDashes + "\n" +
                        "CODIGO     COD. TECLADO NOME\n",
                    "000123     45           Refrigerante lata 350ml \n",
                    "000777     12           Salgado frito           \n", contact + "\n"}));
  EXPECT_EQ(sentNames(), reportCommands(5));
}

}  // namespace
}  // namespace ecftest

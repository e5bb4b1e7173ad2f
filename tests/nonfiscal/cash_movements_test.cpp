// Cash supply and withdrawal: what reaches the printer, under which totalizer, with the
// amount written under the host's decimal separator, and what a refusal stops.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {
namespace {

using CashTest = NonFiscalTest;

const std::vector<std::string> kSupplyCommands{"AbreCupomNaoFiscal", "EmiteItemNaoFiscal",
                                               "PagaCupom", "EncerraDocumento"};

bool withdraw(const std::string& scheme, double amount) {
  ecf::Dataset unused;
  return Sangria("ignored", scheme, amount, unused);
}

TEST_F(CashTest, ASupplyOfNothingOrLessSendsNothing) {
  EXPECT_TRUE(Suprimento("azul", 0));
  EXPECT_TRUE(Suprimento("azul", -5));
  EXPECT_TRUE(Suprimento("azul", -std::numeric_limits<double>::infinity()));

  EXPECT_TRUE(printer().commands().empty());
  EXPECT_TRUE(newDebugLines().empty());
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(CashTest, ASupplyIsAWholeNonFiscalReceiptInEitherDecimalSeparator) {
  struct Case {
    bool decimalPoint;
    std::string amount;
  };
  for (const Case& c : {Case{false, "150,50"}, Case{true, "150.50"}}) {
    SCOPED_TRACE(c.amount);
    c.decimalPoint ? useDecimalPoint() : useDecimalComma();
    forgetWhatHappened();

    EXPECT_TRUE(Suprimento("azul", 150.5));

    EXPECT_EQ(sentNames(), kSupplyCommands);
    EXPECT_EQ(sentParams(onlyCommand("AbreCupomNaoFiscal")),
              (std::vector<SentParam>{{"EnderecoConsumidor", "", PARAMETRO_STRING},
                                      {"IdConsumidor", "", PARAMETRO_STRING},
                                      {"NomeConsumidor", "", PARAMETRO_STRING}}));
    EXPECT_EQ(sentParams(onlyCommand("EmiteItemNaoFiscal")),
              (std::vector<SentParam>{{"CodNaoFiscal", idTotParcSuprimento, PARAMETRO_UINT},
                                      {"NomeNaoFiscal", "", PARAMETRO_STRING},
                                      {"Valor", c.amount, PARAMETRO_MONEY}}));
    EXPECT_EQ(sentParams(onlyCommand("PagaCupom")),
              (std::vector<SentParam>{{"CodMeioPagamento", "-2", PARAMETRO_UINT},
                                      {"NomeMeioPagamento", "", PARAMETRO_STRING},
                                      {"TextoAdicional", "", PARAMETRO_STRING},
                                      {"Valor", c.amount, PARAMETRO_MONEY}}));
    EXPECT_TRUE(onlyCommand("EncerraDocumento").params.empty());
    for (const RecordedCommand& command : printer().commands()) {
      EXPECT_EQ(command.errorCode, 0) << command.name;
    }
    EXPECT_EQ(newDebugLines(),
              (std::vector<std::string>{
                  "Comando Executado: AbreCupomNaoFiscal",
                  "Comando Executado: EmiteItemNaoFiscal - " + idTotParcSuprimento + " -  - " +
                      c.amount,
                  "Comando Executado: PagaCupom - -2 -  -  - " + c.amount,
                  "Comando Executado: EncerraDocumento"}));
  }
}

class SupplyRefusalTest : public NonFiscalTest,
                          public ::testing::WithParamInterface<std::size_t> {};

TEST_P(SupplyRefusalTest, ReturnsFalseAndCancelsWhatTheRefusedStepLeftOpen) {
  const std::size_t refused = GetParam();
  printer().refuseNext(kSupplyCommands[refused]);

  EXPECT_FALSE(Suprimento("azul", 20));

  // Past the opening, the receipt it opened is cancelled.
  std::vector<std::string> sent(kSupplyCommands.begin(), kSupplyCommands.begin() + refused + 1);
  if (refused > 0) sent.push_back("CancelaCupom");
  EXPECT_EQ(sentNames(), sent);
  expectRefusalShown("azul");
  const std::vector<std::string> log = newDebugLines();
  ASSERT_EQ(log.size(), sent.size() + 1);
  EXPECT_EQ(log[refused + 1], kRefusalLogLine);
  if (refused > 0) {
    EXPECT_EQ(log.back(), "Comando Executado: CancelaCupom");
  }
}

INSTANTIATE_TEST_SUITE_P(EachStep, SupplyRefusalTest, ::testing::Values(0u, 1u, 2u, 3u));

TEST_F(CashTest, AnAmountThatIsNotANumberNeverReachesThePrinter) {
  EXPECT_FALSE(Suprimento("azul", std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(Suprimento("azul", std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(withdraw("azul", std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(withdraw("azul", -std::numeric_limits<double>::infinity()));

  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(op().messages().size(), 4u);
  EXPECT_NE(op().messages()[0].text.find("NAN"), std::string::npos);
  EXPECT_EQ(op().messages()[0].scheme, "azul");
}

TEST_F(CashTest, AWithdrawalIsAnItemAndAClosingWithNoOpeningAndNoPayment) {
  for (const bool decimalPoint : {false, true}) {
    decimalPoint ? useDecimalPoint() : useDecimalComma();
    const std::string amount = decimalPoint ? "80.25" : "80,25";
    SCOPED_TRACE(amount);
    forgetWhatHappened();

    EXPECT_TRUE(withdraw("azul", 80.25));

    EXPECT_EQ(sentNames(),
              (std::vector<std::string>{"EmiteItemNaoFiscal", "EncerraDocumento"}));
    EXPECT_EQ(sentParams(onlyCommand("EmiteItemNaoFiscal")),
              (std::vector<SentParam>{{"CodNaoFiscal", idTotParcSangria, PARAMETRO_UINT},
                                      {"NomeNaoFiscal", "", PARAMETRO_STRING},
                                      {"Valor", amount, PARAMETRO_MONEY}}));
    EXPECT_TRUE(onlyCommand("EncerraDocumento").params.empty());
    EXPECT_EQ(newDebugLines(),
              (std::vector<std::string>{"Comando Executado: EmiteItemNaoFiscal - " +
                                            idTotParcSangria + " -  - " + amount,
                                        "Comando Executado: EncerraDocumento"}));
    EXPECT_TRUE(op().messages().empty());
  }
}

TEST_F(CashTest, AWithdrawalOfZeroStillGoesToThePrinter) {
  withdraw("azul", 0);  // accepting it or not is the printer's decision
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("Valor"), "0,00");
  forgetWhatHappened();
  useDecimalPoint();
  withdraw("azul", 0);
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("Valor"), "0.00");
}

TEST_F(CashTest, AWithdrawalUnderAnEmptyTotalizerIsRefusedByThePrinter) {
  idTotParcSangria.clear();

  EXPECT_FALSE(withdraw("azul", 10));

  EXPECT_EQ(sentNames(), std::vector<std::string>{"EmiteItemNaoFiscal"});
  const RecordedCommand item = onlyCommand("EmiteItemNaoFiscal");
  EXPECT_EQ(sentParams(item)[0], (SentParam{"CodNaoFiscal", "", PARAMETRO_UINT}));
  EXPECT_GT(item.errorCode, 0);
  EXPECT_EQ(op().messages().size(), 1u);
}

TEST_F(CashTest, ARefusedWithdrawalStepReturnsFalse) {
  printer().refuseNext("EmiteItemNaoFiscal");
  EXPECT_FALSE(withdraw("azul", 10));
  EXPECT_EQ(sentNames(), std::vector<std::string>{"EmiteItemNaoFiscal"});
  expectRefusalShown("azul");

  forgetWhatHappened();
  printer().refuseNext("EncerraDocumento");
  EXPECT_FALSE(withdraw("azul", 10));
  EXPECT_EQ(sentNames(), (std::vector<std::string>{"EmiteItemNaoFiscal", "EncerraDocumento",
                                                   "CancelaCupom"}));
  expectRefusalShown("azul");
  EXPECT_EQ(printer().state()["derived"]["estadoFiscal"], 1);
  EXPECT_EQ(printer().state()["totals"]["nonFiscal"][std::stoi(idTotParcSangria)], 0);
}

TEST_F(CashTest, SupplyAndWithdrawalReachTheirOwnNonFiscalDayTotals) {
  ASSERT_TRUE(Suprimento("", 150.5));
  ASSERT_TRUE(withdraw("", 40.25));
  ASSERT_TRUE(Suprimento("", 9.5));

  const nlohmann::json totals = printer().state()["totals"]["nonFiscal"];
  const int supplyCode = std::stoi(idTotParcSuprimento);
  const int withdrawalCode = std::stoi(idTotParcSangria);
  EXPECT_EQ(totals[supplyCode], 16000);  // cents
  EXPECT_EQ(totals[withdrawalCode], 4025);
  long long all = 0;
  for (const auto& total : totals) all += total.get<long long>();
  EXPECT_EQ(all, 16000 + 4025);
}

}  // namespace
}  // namespace ecftest

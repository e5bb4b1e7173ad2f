// The day's close through the cash closing: its reports, its questions and the Z data it
// hands the host, checked against the Z reduction the host then takes; and what the host
// is told when the export does not complete.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dayclose/dayclose_fixture.h"
#include "nonfiscal/cash_closing_fixture.h"

namespace ecftest {
namespace {

class CashClosingDayTest : public DayCloseTest {
 protected:
  // A supply, a sale of 2 x 10,00 at 18 % paid 15,00 by card and 10,00 in cash (change
  // 5,00), and a withdrawal.
  void ringUpTheDay() {
    ASSERT_TRUE(Suprimento("", 150.00));
    openReceipt();
    sell("0", "10,00", "2");
    pay("Cartao", "15,00");
    pay("Dinheiro", "10,00");
    closeReceipt();
    ecf::Dataset unused;
    ASSERT_TRUE(Sangria("", "", 50.00, unused));
    forget();
  }

  // A day closing as a host sends it: the receipt, the shift's reports, and the day's.
  ClosingCall dayClosing() {
    ClosingCall call;
    call.scheme = kScheme;
    call.paymentTypes = paymentTypes();
    call.envelopes = envelopeTable({{"000001", "Dinheiro", 105, 105}, {"000002", "Cartao", 15, 15}});
    call.shiftProducts = soldTable({{"7891", "Prato do dia", 2, 20}});
    call.dayProducts = call.shiftProducts;
    call.shiftMovements = movementTable(
        {{"1", "Dinheiro", 105}, {"1", "Cartao", 15}, {"5", "Sangria", 50}, {"3", "Suprimento", 150}});
    call.dayMovements = call.shiftMovements;
    return call;
  }

  std::vector<std::string> askedQuestions() {
    std::vector<std::string> asked;
    for (const ecf::OperatorMessage& message : op().messages()) {
      if (message.letter2 == "S") asked.push_back(message.text);
    }
    return asked;
  }
};

TEST_F(CashClosingDayTest, TheExportedDayIsTheDayTheZReductionThenPrints) {
  ringUpTheDay();
  ClosingCall call = dayClosing();
  op().answerNext(false);  // the cash register stays closed
  op().answerNext(true);   // the Z reduction
  op().answerNext(true);   // the day's reports

  EXPECT_FALSE(call.run());

  EXPECT_EQ(askedQuestions(),
            (std::vector<std::string>{kOpenCash, kConfirmReduction, kConfirmClosingReports}));
  // Withdrawal receipt, shift products, shift closing, day products, day closing.
  EXPECT_EQ(printer().commandsNamed("AbreGerencial").size(), 5u);
  const std::string tape = printer().tape();
  EXPECT_NE(tape.find("RELATORIO DE FECHAMENTO GERAL"), std::string::npos);
  EXPECT_NE(tape.find("SOBRA                                       0,00"), std::string::npos);
  EXPECT_EQ(printer().state()["open"]["kind"], "none");
  ASSERT_TRUE(call.zSaved);
  ASSERT_EQ(call.zDay.data().rowCount(), 1u);
  EXPECT_EQ(rows(call.zDay, {"NRECFREDZ"})[0][0], "0001");

  ASSERT_TRUE(Reducao_Z_Imp("", kScheme, ""));
  const std::string zReduction = lastDocument();
  const int zCoo = printer().state()["fiscalMemory"].back()["coo"];
  char expectedCoo[16];
  std::snprintf(expectedCoo, sizeof expectedCoo, "%010d", zCoo);
  EXPECT_EQ(rows(call.zDay, {"NRULTCFREDZ"})[0][0], expectedCoo);
  EXPECT_EQ(printedAmount(zReduction, "VENDA BRUTA DIÁRIA"), "20,00");
  EXPECT_DOUBLE_EQ(number(call.zDay, 0, "VRVENBRUREDZ"), 20.00);
  EXPECT_DOUBLE_EQ(number(call.zDay, 0, "VRGTREDZ"), 20.00);
  // Cash: 150 in, 10 taken less 5 of change, 50 out; the card on its own row.
  const auto paymentTypes = rows(call.zPayments, {"CDTIPORECE"});
  ASSERT_GE(paymentTypes.size(), 2u);
  EXPECT_EQ(paymentTypes[0][0], "001");
  EXPECT_EQ(paymentTypes[1][0], "002");
  EXPECT_EQ(printedAmount(zReduction, "Dinheiro"), "105,00");
  EXPECT_DOUBLE_EQ(number(call.zPayments, 0, "VRFORMPGTORZ"), 105.00);
  EXPECT_DOUBLE_EQ(number(call.zPayments, 1, "VRFORMPGTORZ"), 15.00);
  EXPECT_DOUBLE_EQ(number(call.zTaxes, 0, "VRIMPOSTORZ"), 3.60);
  EXPECT_NE(zReduction.find("T00 18,00%                       20,00  IMP 3,60"), std::string::npos);
  EXPECT_EQ(printedAmount(zReduction, "00 Suprimento"), "150,00");
  EXPECT_DOUBLE_EQ(number(call.zNonFiscal, 0, "VRACUTOTNFIS"), 150.00);
  EXPECT_EQ(printedAmount(zReduction, "01 Sangria"), "50,00");
  EXPECT_DOUBLE_EQ(number(call.zNonFiscal, 1, "VRACUTOTNFIS"), 50.00);
}

TEST_F(CashClosingDayTest, WithoutTheDaysReportsTheDayIsStillExported) {
  ringUpTheDay();
  ClosingCall call = dayClosing();
  call.printReceipt = false;
  op().answerNext(false);
  op().answerNext(true);
  op().answerNext(false);  // no closing reports

  EXPECT_FALSE(call.run());

  EXPECT_TRUE(printer().commandsNamed("AbreGerencial").empty());
  EXPECT_TRUE(call.zSaved);
  EXPECT_EQ(call.zDay.data().rowCount(), 1u);
  EXPECT_DOUBLE_EQ(number(call.zPayments, 0, "VRFORMPGTORZ"), 105.00);
  EXPECT_DOUBLE_EQ(number(call.zTaxes, 0, "VRIMPOSTORZ"), 3.60);
  EXPECT_DOUBLE_EQ(number(call.zNonFiscal, 1, "VRACUTOTNFIS"), 50.00);
}

TEST_F(CashClosingDayTest, AnExportThatStopsTellsTheHostTheDayIsNotSaved) {
  ringUpTheDay();
  // A money register the printer refuses: the day record cannot be completed.
  ClosingCall call = dayClosing();
  call.printReceipt = false;
  op().answerNext(false);
  op().answerNext(true);
  op().answerNext(false);
  printer().refuseNext("LeMoeda");
  EXPECT_FALSE(call.run());
  EXPECT_FALSE(call.zSaved);

  // Every export starts from empty tables: one that stops before building anything hands
  // back nothing, not the rows of the export before it.
  forget();
  ClosingCall complete = dayClosing();
  complete.printReceipt = false;
  op().answerNext(false);
  op().answerNext(true);
  op().answerNext(false);
  ASSERT_FALSE(complete.run());
  ASSERT_TRUE(complete.zSaved);
  ASSERT_EQ(complete.zDay.data().rowCount(), 1u);

  forget();
  ClosingCall stopped = dayClosing();
  stopped.printReceipt = false;
  op().answerNext(false);
  op().answerNext(true);
  op().answerNext(false);
  printer().refuseNext("LeInteiro");  // the export's first read, the printer's COO
  EXPECT_FALSE(stopped.run());
  EXPECT_FALSE(stopped.zSaved);
  EXPECT_EQ(stopped.zDay.data().rowCount(), 0u);
  EXPECT_EQ(stopped.zPayments.data().rowCount(), 0u);
  EXPECT_EQ(printer().commandNames().front(), "LeInteiro");
}

}  // namespace
}  // namespace ecftest

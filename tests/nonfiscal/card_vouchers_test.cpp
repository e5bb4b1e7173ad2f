// The card-transaction vouchers of a sale in one management report: the order of the
// copies, the four-line blocks, and the operator's answers when the printer refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/voucher_fixture.h"

namespace ecftest {
namespace {

const std::string kScheme = "TEF7";
const std::string kVoucher1 = "CREDITO A VISTA\nVIA CLIENTE\n";
const std::string kCopy1 = "CREDITO A VISTA\nVIA ESTABELECIMENTO\n";
const std::string kVoucher2 = "DEBITO\nVIA CLIENTE\n";
const std::string kCopy2 = "DEBITO\nVIA ESTABELECIMENTO\n";
constexpr int kReadCoo = 0;
constexpr int kGivenCoo = 2;

class CardVoucherTest : public VoucherTest {
 protected:
  bool imprimeTef(const std::vector<std::string>& vouchers,
                  const std::vector<std::string>& copies, int mode = kReadCoo,
                  const std::string& coo = "", const std::string& kind = "CRT") {
    ecf::StringList first, second;
    for (const std::string& text : vouchers) first.add(text);
    for (const std::string& text : copies) second.add(text);
    const ecf::StringList unused{"never printed"};
    return ImprimeTef("x", "texto 2", "texto 3", kScheme, first, second, unused, unused, coo, "x",
                      "x", 12.5, 0, mode, "x", kind);
  }

  static std::string text(const std::string& block) { return "ImprimeTexto " + block; }
};

const std::vector<std::string> kStart{"LeInteiro EstadoFiscal", "LeInteiro COO", "AbreGerencial"};

std::vector<std::string> steps(std::vector<std::string> first,
                               const std::vector<std::string>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST_F(CardVoucherTest, EachVoucherIsFollowedByItsSecondCopyInOneReport) {
  EXPECT_TRUE(imprimeTef({kVoucher1, kVoucher2}, {kCopy1, kCopy2}));

  EXPECT_EQ(sentSteps(), steps(kStart, {text(kVoucher1), text(kCopy1), text(kVoucher2),
                                        text(kCopy2), "EncerraDocumento"}));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(openDocument(), "none");
  EXPECT_NE(printer().tape().find("RELATÓRIO GERENCIAL\n" + kVoucher1 + kCopy1 + kVoucher2 +
                                  kCopy2),
            std::string::npos);
}

TEST_F(CardVoucherTest, WhatTheModeTheKindAndTheListsChange) {
  // No voucher: the printer is checked and nothing is opened.
  EXPECT_FALSE(imprimeTef({}, {kCopy1}));
  EXPECT_EQ(sentSteps(), std::vector<std::string>{"LeInteiro EstadoFiscal"});
  forgetWhatHappened();
  EXPECT_FALSE(imprimeTef({}, {kCopy1}, kGivenCoo, "000042"));
  EXPECT_EQ(sentSteps(), std::vector<std::string>{"LeInteiro EstadoFiscal"});

  // Mode 2: the COO given is used, never read.
  forgetWhatHappened();
  EXPECT_TRUE(imprimeTef({kVoucher1}, {kCopy1}, kGivenCoo, "000042"));
  EXPECT_EQ(sentSteps(), (std::vector<std::string>{"LeInteiro EstadoFiscal", "AbreGerencial",
                                                   text(kVoucher1), text(kCopy1),
                                                   "EncerraDocumento"}));
  // ... and without one the vouchers printed and closed still make the result true.
  forgetWhatHappened();
  EXPECT_TRUE(imprimeTef({kVoucher1}, {}, kGivenCoo, ""));
  EXPECT_EQ(sentSteps(), (std::vector<std::string>{"LeInteiro EstadoFiscal", "AbreGerencial",
                                                   text(kVoucher1), "EncerraDocumento"}));

  // "APC" transactions print no second copy; a missing second copy is simply skipped.
  forgetWhatHappened();
  EXPECT_TRUE(imprimeTef({kVoucher1, kVoucher2}, {kCopy1, kCopy2}, kReadCoo, "", "APC"));
  EXPECT_EQ(sentSteps(), steps(kStart, {text(kVoucher1), text(kVoucher2), "EncerraDocumento"}));
  forgetWhatHappened();
  EXPECT_TRUE(imprimeTef({kVoucher1, kVoucher2}, {kCopy1}));
  EXPECT_EQ(sentSteps(), steps(kStart, {text(kVoucher1), text(kCopy1), text(kVoucher2),
                                        "EncerraDocumento"}));
}

TEST_F(CardVoucherTest, VoucherTextsGoFourLinesAtATimeAndATrailingLineAlone) {
  EXPECT_TRUE(imprimeTef({"1\n2\n3\n4\n5\n6\n7\n8\n9\n", "A\r\nB\r\nÇ", "sem fim"}, {}));
  EXPECT_EQ(sentSteps(), steps(kStart, {text("1\n2\n3\n4\n"), text("5\n6\n7\n8\n"), text("9\n"),
                                        text("A\r\nB\r\n"), text("Ç"), text("sem fim"),
                                        "EncerraDocumento"}));
  EXPECT_NE(printer().tape().find("8\n9\nA\nB\nÇ\nsem fim\n"), std::string::npos);
}

TEST_F(CardVoucherTest, ARefusedBlockGivesUpThatVoucherOnlyUntilTheLast) {
  printer().refuseNext("ImprimeTexto");

  EXPECT_TRUE(imprimeTef({kVoucher1, kVoucher2}, {kCopy1, kCopy2}));

  EXPECT_EQ(sentSteps(), steps(kStart, {text(kVoucher1) + " (refused)", text(kVoucher2),
                                        text(kCopy2), "EncerraDocumento"}));
  EXPECT_EQ(notices(), std::vector<std::string>{kRefusalNotice});
  EXPECT_TRUE(questions().empty());
}

TEST_F(CardVoucherTest, ARefusalInTheLastVoucherPrintsEverythingAgainInANewReport) {
  printer().refuseNth(3, "ImprimeTexto");  // the second voucher
  op().answerNext(true);

  EXPECT_TRUE(imprimeTef({kVoucher1, kVoucher2}, {kCopy1, kCopy2}));

  EXPECT_EQ(sentSteps(),
            steps(kStart, {text(kVoucher1), text(kCopy1), text(kVoucher2) + " (refused)",
                           "EncerraDocumento", "AbreGerencial", text(kVoucher1), text(kCopy1),
                           text(kVoucher2), text(kCopy2), "EncerraDocumento"}));
  EXPECT_EQ(questions(), std::vector<std::string>{kQuestion});
  EXPECT_EQ(op().messages()[1].scheme, kScheme);
  EXPECT_EQ(op().messages()[1].kind, 3);
  EXPECT_EQ(openDocument(), "none");
}

TEST_F(CardVoucherTest, ADeclinedReprintLeavesTheReportOpenAndFails) {
  struct Case {
    std::string why;
    int mode;
    std::string coo;
    std::vector<std::string> start;
  };
  const std::vector<Case> cases = {
      {"the COO read from the printer", kReadCoo, "", kStart},
      {"no COO given", kGivenCoo, "", {"LeInteiro EstadoFiscal", "AbreGerencial"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    forgetWhatHappened();
    printer().refuseNext("ImprimeTexto");
    op().answerNext(false);

    EXPECT_FALSE(imprimeTef({kVoucher1}, {kCopy1}, c.mode, c.coo));

    EXPECT_EQ(sentSteps(), steps(c.start, {text(kVoucher1) + " (refused)"}));
    EXPECT_EQ(questions(), std::vector<std::string>{kQuestion});
    // What becomes of the card transactions is the host's to say, from the catalogue.
    EXPECT_EQ(notices(), std::vector<std::string>{kRefusalNotice});
    EXPECT_EQ(openDocument(), "report");
    ASSERT_TRUE(FechRelatGerenc("", true, false));
  }
  EXPECT_EQ(dtmEcf01600->msgPadrao.Msg("CancelaTEF"),
            "Os comprovantes de transação TEF não foram impressos corretamente e serão "
            "cancelados. Efetue as transações manuais ou cancele o cupom fiscal.");
}

TEST_F(CardVoucherTest, ARefusedCloseAsksAgainAndTheNextPassSkipsItsFirstVoucher) {
  printer().refuseNext("EncerraDocumento");
  op().answerNext(true);

  EXPECT_TRUE(imprimeTef({kVoucher1, kVoucher2}, {kCopy1, kCopy2}));

  // The report the refused close left open refuses the new opening: the second pass
  // skips the first voucher, which the open report already holds, and closes it.
  EXPECT_EQ(sentSteps(),
            steps(kStart, {text(kVoucher1), text(kCopy1), text(kVoucher2), text(kCopy2),
                           "EncerraDocumento (refused)", "AbreGerencial (refused)",
                           text(kVoucher2), text(kCopy2), "EncerraDocumento"}));
  EXPECT_EQ(questions(), std::vector<std::string>{kQuestion});
  EXPECT_EQ(openDocument(), "none");
}

TEST_F(CardVoucherTest, ThePrinterIsCheckedUntilItAnswersOrTheOperatorGivesUp) {
  printer().setOffline(true);
  onNextQuestion([this] { printer().setOffline(false); });
  op().answerNext(true);

  EXPECT_TRUE(imprimeTef({kVoucher1}, {}));

  EXPECT_EQ(sentSteps(), steps({"LeInteiro EstadoFiscal (refused)"},
                               steps(kStart, {text(kVoucher1), "EncerraDocumento"})));
  EXPECT_EQ(op().texts(), (std::vector<std::string>{
                              "10: ImpressoraNaoResponde A impressora não responde.", kQuestion}));

  forgetWhatHappened();
  printer().setOffline(true);
  op().answerNext(false);
  EXPECT_FALSE(imprimeTef({kVoucher1}, {}));
  EXPECT_EQ(sentSteps(), std::vector<std::string>{"LeInteiro EstadoFiscal (refused)"});
}

TEST_F(CardVoucherTest, ARefusedOpeningIsRetriedWithoutReadingTheCooAgain) {
  printer().refuseNext("AbreGerencial");
  op().answerNext(true);
  EXPECT_TRUE(imprimeTef({kVoucher1}, {}));
  EXPECT_EQ(sentSteps(), (std::vector<std::string>{"LeInteiro EstadoFiscal", "LeInteiro COO",
                                                   "AbreGerencial (refused)", "AbreGerencial",
                                                   text(kVoucher1), "EncerraDocumento"}));

  forgetWhatHappened();
  printer().refuseNext("AbreGerencial");
  op().answerNext(false);
  EXPECT_FALSE(imprimeTef({kVoucher1}, {}));
  EXPECT_EQ(sentSteps(), steps({"LeInteiro EstadoFiscal", "LeInteiro COO"},
                               {"AbreGerencial (refused)"}));
  EXPECT_EQ(questions(), std::vector<std::string>{kQuestion});
}

}  // namespace
}  // namespace ecftest

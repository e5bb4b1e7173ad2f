// The cash closing on the virtual printer: the two copies of the withdrawal receipt and
// their line count, the closing report's surplus or shortage, the order of the reports,
// the counter handed back, the reprint, and the questions that decide how far it goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/cash_closing_fixture.h"

namespace ecftest {
namespace {

const std::string kRule(48, '-');

std::vector<std::string> repeated(const std::string& name, std::size_t times) {
  return std::vector<std::string>(times, name);
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const std::vector<std::string>& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The money of a shift: 300 in cash and 200 by card (kinds 1 and 5), change vouchers
// issued 10 and received 20, two supplies of which only the last (100) counts, and a
// kind the report ignores.
ecf::Dataset shiftMoney() {
  return movementTable({{"3", "Suprimento", 50},
                        {"1", "Dinheiro", 300},
                        {"5", "Cartão de débito", 200},
                        {"2", "Contra-vale", 10},
                        {"3", "Suprimento", 100},
                        {"4", "Contra-vale", 20},
                        {"9", "Outro", 999}});
}

const std::string kClosingTotalsBefore =
    "CONTRA-VALE RECEBIDO(+)                    20,00\n"
    "CONTRA-VALE EMITIDO(-)                     10,00\n"
    "SUPRIMENTO(-)                             100,00\n" +
    kRule +
    "\n"
    "TOTAL SANGRIAS                            410,00\n"
    "\n";

TEST_F(CashClosingTest, AWithdrawalPrintsTwoCopiesOfTheCountedAmountsAndEndsThere) {
  ClosingCall call;
  call.withdrawalOnly = true;
  call.envelopes =
      envelopeTable({{"000101", "Dinheiro", 350, 340},
                     {"000102", "Cartão de crédito Visa Internacional", 1234.56, 1200}});
  call.people = peopleTable("12", "Carlos Pereira da Silva Albuquerque Neto", "7", "Ana Souza");
  call.motive = "Troco para o caixa 2";
  call.observation = "Conferido às 18h";

  EXPECT_FALSE(call.run());

  const std::string heading = kRule +
                              "\n"
                              "Motivo: Troco para o caixa 2\n"
                              "Observacao: Conferido às 18h\n" +
                              kRule +
                              "\n"
                              "NR.ENV MODALIDADE                          VALOR\n";
  const std::string envelope1 = "000101 Dinheiro                           350,00\n";
  const std::string envelope2 = "000102 Cartão de crédito Visa In         1234,56\n";
  const std::string total = "TOTAL SANGRIAS                     1584,56\n\n" + kRule + "\n";
  const std::vector<std::string> expected = {
      "\n             RECIBO SAIDA NUMERARIO             \n" + heading,
      envelope1,
      envelope2,
      total + "Supervisor : 12 Carlos Pereira da Silva Albuquer\n",
      "          SAIDA DE NUMERARIO - SANGRIA          \n" + heading,
      envelope1,
      envelope2,
      total + "Operador : 7 Ana Souza\n",
  };
  EXPECT_EQ(printedTexts(), expected);
  EXPECT_EQ(
      sentNames(),
      joined({{"AbreGerencial", "LeInteiro"}, repeated("ImprimeTexto", 8), {"EncerraDocumento"}}));
  EXPECT_TRUE(op().messages().empty());  // no question after a withdrawal
  EXPECT_EQ(call.coo, printerCoo());
  EXPECT_FALSE(call.zSaved);
  EXPECT_NE(printer().tape().find("Operador : 7 Ana Souza"), std::string::npos);
}

TEST_F(CashClosingTest, OneMoreEmptyLineFollowsATotalWhenTheLineCountLessThreeIsAMultipleOfTen) {
  struct Case {
    int envelopes;
    std::string total;
    bool firstCopyExtra;
    bool secondCopyExtra;
  };
  for (const Case& c : {Case{7, "TOTAL SANGRIAS                       70,00", true, false},
                        Case{5, "TOTAL SANGRIAS                       50,00", false, true},
                        Case{0, "TOTAL SANGRIAS                        0,00", false, true}}) {
    SCOPED_TRACE(c.envelopes);
    forgetWhatHappened();
    ClosingCall call;
    call.withdrawalOnly = true;
    call.envelopeColumn = "N";
    call.envelopes = envelopesOfTen(c.envelopes);
    call.run();

    const std::vector<std::string> texts = printedTexts();
    const std::size_t perCopy = static_cast<std::size_t>(c.envelopes) + 2;
    ASSERT_EQ(texts.size(), 2 * perCopy);
    const auto totalBlock = [&](bool extra, const std::string& signature) {
      return c.total + "\n\n" + (extra ? "\n" : "") + kRule + "\n" + signature + "\n";
    };
    EXPECT_EQ(texts[perCopy - 1], totalBlock(c.firstCopyExtra, "Supervisor : 12 Carlos Pereira"));
    EXPECT_EQ(texts[2 * perCopy - 1], totalBlock(c.secondCopyExtra, "Operador : 7 Ana Souza"));
    // Without the envelope column the heading has none, but each line keeps its number.
    EXPECT_EQ(texts[0].substr(texts[0].size() - 42), "MODALIDADE                          VALOR\n");
    if (c.envelopes > 0) {
      EXPECT_EQ(texts[1], "000001 Dinheiro                            10,00\n");
    }
  }
}

TEST_F(CashClosingTest, TheShiftClosingSetsTheMoneyHandedOverAgainstTheSales) {
  struct Case {
    double secondProduct;
    std::string sales;
    std::string result;
  };
  for (const Case& c : {Case{150, "TOTAL VENDAS                              400,00",
                             "SOBRA                                      10,00\n"},
                        Case{170, "TOTAL VENDAS                              420,00",
                             "FALTA                                     -10,00\n"}}) {
    SCOPED_TRACE(c.sales);
    forgetWhatHappened();
    ClosingCall call;
    call.shiftProducts =
        soldTable({{"1001", "Pão de queijo", 50, 250}, {"1002", "Café", 30, c.secondProduct}});
    call.shiftMovements = shiftMoney();
    call.dayMovements = shiftMoney();
    call.reductionAllowed2 = false;  // ends after the opening question

    EXPECT_FALSE(call.run());

    const std::vector<std::string> texts = printedTexts();
    ASSERT_GE(texts.size(), 4u);
    const std::vector<std::string> report(texts.end() - 4, texts.end());
    const std::vector<std::string> expected = {
        "            RELATORIO DE FECHAMENTO            \n\n" + c.sales + "\n" + kRule + "\n",
        "Dinheiro                                  300,00\n",
        "Cartão de débito                          200,00\n",
        kClosingTotalsBefore + c.result,
    };
    EXPECT_EQ(report, expected);

    // The withdrawal report, closed by the product report before its own; then the
    // closing report in a report of its own.
    const std::vector<std::string> withdrawal = {"AbreGerencial", "LeInteiro"};
    const std::vector<std::string> ownReport = {"EncerraDocumento", "AbreGerencial", "LeInteiro"};
    EXPECT_EQ(sentNames(), joined({withdrawal,
                                   repeated("ImprimeTexto", 6),
                                   ownReport,
                                   repeated("ImprimeTexto", 4),
                                   ownReport,
                                   repeated("ImprimeTexto", 4),
                                   {"EncerraDocumento"}}));
    EXPECT_EQ(questions(), std::vector<std::string>{kOpenCash});
    EXPECT_EQ(printer().state()["open"]["kind"], "none");
  }
}

TEST_F(CashClosingTest, WithoutTheProductReportTheClosingReportGoesIntoTheWithdrawalReport) {
  ClosingCall call;
  call.productConfirmation = "X";  // the product report does nothing at all
  call.shiftMovements =
      movementTable({{"1", "Dinheiro", 80}, {"3", "Suprimento", 50}, {"3", "Suprimento", 30}});
  call.dayMovements = call.shiftMovements;
  call.reductionAllowed1 = false;

  call.run();

  EXPECT_EQ(sentNames(), joined({{"AbreGerencial", "LeInteiro"},
                                 repeated("ImprimeTexto", 6 + 3),
                                 {"EncerraDocumento"}}));
  const std::vector<std::string> texts = printedTexts();
  EXPECT_EQ(texts[6],
            "            RELATORIO DE FECHAMENTO            \n\n"
            "TOTAL VENDAS                                0,00\n" +
                kRule + "\n");
  EXPECT_NE(texts[8].find("SUPRIMENTO(-)                              30,00\n"), std::string::npos);
  EXPECT_NE(texts[8].find("TOTAL SANGRIAS                             50,00\n"), std::string::npos);
  EXPECT_NE(texts[8].find("SOBRA                                      50,00\n"), std::string::npos);
  EXPECT_EQ(call.coo, printerCoo());
}

TEST_F(CashClosingTest, WithoutTheDaysMovementsNoClosingReportIsPrintedAndNothingIsLeftOpen) {
  // The product report closes the withdrawal report as it starts.
  ClosingCall call;
  call.shiftProducts = soldTable({{"1001", "Pão de queijo", 2, 9}});
  call.shiftMovements = movementTable({{"1", "Dinheiro", 9}});
  call.reductionAllowed1 = false;
  call.run();
  EXPECT_EQ(printer().commandsNamed("AbreGerencial").size(), 2u);
  EXPECT_EQ(printer().state()["open"]["kind"], "none");

  // Without the product report the withdrawal report is closed all the same, so the day
  // can go on to its Z reduction.
  forgetWhatHappened();
  call.productConfirmation = "S";
  op().answerNext(false);  // no product report
  call.run();
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_EQ(printer().commandsNamed("AbreGerencial").size(), 1u);
  EXPECT_EQ(printer().state()["open"]["kind"], "none");
  EXPECT_EQ(questions(),
            (std::vector<std::string>{"Confirma impressão do Relatório de Produtos?", kOpenCash}));
}

TEST_F(CashClosingTest, TheCounterIsWrittenOnlyWhileEmptyExceptByTheXReading) {
  ClosingCall kept;
  kept.withdrawalOnly = true;
  kept.coo = "999999";
  kept.run();
  EXPECT_EQ(kept.coo, "999999");

  for (const char* before : {"", "999999"}) {
    SCOPED_TRACE(before);
    ASSERT_TRUE(Suprimento("", 10));  // a day open, so the X reading has something to show
    forgetWhatHappened();
    ClosingCall withReading;
    withReading.withdrawalOnly = true;
    withReading.xReading = "S";
    withReading.coo = before;
    withReading.run();

    const std::vector<std::string> names = sentNames();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"EmiteLeituraX", "LeInteiro", "AbreGerencial"}));
    // The X reading's own counter, not the withdrawal report's after it.
    const std::string xCounter = printer().commandsNamed("LeInteiro").front().returned;
    ASSERT_EQ(xCounter.rfind("ValorInteiro=", 0), 0u);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%06d", std::stoi(xCounter.substr(13)));
    EXPECT_EQ(withReading.coo, expected);
    EXPECT_EQ(std::stoi(printerCoo()), std::stoi(withReading.coo) + 1);
  }
}

TEST_F(CashClosingTest, TheQuestionsDecideHowFarTheClosingGoes) {
  // Opening the cash register again: true, and nothing more is asked or exported.
  {
    ClosingCall call;
    op().answerNext(true);
    EXPECT_TRUE(call.run());
    EXPECT_EQ(questions(), std::vector<std::string>{kOpenCash});
    EXPECT_FALSE(call.zSaved);
    EXPECT_FALSE(call.zDay.active());
  }
  // Either of the host's conditions for the Z reduction missing: no Z question, no day
  // report, no export.
  for (int condition = 0; condition < 2; ++condition) {
    SCOPED_TRACE(condition);
    forgetWhatHappened();
    ClosingCall call;
    call.printReceipt = false;
    (condition == 0 ? call.reductionAllowed1 : call.reductionAllowed2) = false;
    EXPECT_FALSE(call.run());
    EXPECT_EQ(questions(), std::vector<std::string>{kOpenCash});
    EXPECT_TRUE(printer().commands().empty());
    EXPECT_FALSE(call.zSaved);
    EXPECT_FALSE(call.zDay.active());
  }
  // The Z reduction refused by the operator: nothing after it.
  forgetWhatHappened();
  ClosingCall refused;
  refused.printReceipt = false;
  refused.dayMovements = shiftMoney();
  op().answerNext(false);
  op().answerNext(false);
  EXPECT_FALSE(refused.run());
  EXPECT_EQ(questions(), (std::vector<std::string>{kOpenCash, kConfirmReduction}));
  EXPECT_TRUE(printer().commands().empty());
  for (const ecf::OperatorMessage& question : op().messages()) {
    EXPECT_EQ(question.kind, 1);
    EXPECT_EQ(question.letter1, "N");
    EXPECT_EQ(question.scheme, "azul");
  }
}

TEST_F(CashClosingTest, TheDaysReportsFollowTheZQuestionWithoutClosingAnythingFirst) {
  ClosingCall call;
  call.printReceipt = false;
  call.dayProducts = soldTable({{"1001", "Pão de queijo", 40, 180}, {"1002", "Café", 20, 60}});
  call.dayMovements = movementTable({{"1", "Dinheiro", 190}, {"5", "Cartão", 50}});
  op().answerNext(false);  // the cash register stays closed
  op().answerNext(true);   // the Z reduction
  op().answerNext(true);   // the closing reports

  EXPECT_FALSE(call.run());

  EXPECT_EQ(questions(),
            (std::vector<std::string>{kOpenCash, kConfirmReduction, kConfirmClosingReports}));
  const std::vector<std::string> names = sentNames();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "AbreGerencial");  // the product report, with nothing to close first
  const std::vector<std::string> texts = printedTexts();
  ASSERT_EQ(texts.size(), 4u + 4u);
  EXPECT_EQ(texts[1], "1001        Pão de queijo        40,00    180,00\n");
  EXPECT_EQ(texts[4],
            "         RELATORIO DE FECHAMENTO GERAL         \n\n"
            "TOTAL VENDAS                              240,00\n" +
                kRule + "\n");
  EXPECT_EQ(texts[6], "Cartão                                     50,00\n");
  EXPECT_NE(texts[7].find("SOBRA                                       0,00\n"), std::string::npos);
  EXPECT_EQ(printer().commandsNamed("AbreGerencial").size(), 2u);
  EXPECT_EQ(printer().state()["open"]["kind"], "none");
  EXPECT_EQ(call.coo.size(), 6u);  // the day's product report was the first to read one
}

TEST_F(CashClosingTest, AReprintUsesThePreviousCallsTablesAndAsksOnlyForTheReports) {
  ClosingCall first;
  first.withdrawalOnly = true;
  first.envelopes = envelopeTable({{"000777", "Vale refeição", 45.5, 45.5}});
  first.people = peopleTable("3", "Bruna Lima", "9", "João Araújo");
  first.run();
  const std::vector<std::string> original = printedTexts();

  forgetWhatHappened();
  ClosingCall again;
  again.envelopes = envelopeTable({});
  again.people = ecf::Dataset("vazio");
  again.shiftMovements = movementTable({});
  again.dayMovements = movementTable({});
  again.withdrawalOnly = true;
  again.reprint = true;
  again.run();
  EXPECT_EQ(printedTexts(), original);

  // A closing reprinted: the day's reports may be asked for, never the opening or the Z.
  forgetWhatHappened();
  again.withdrawalOnly = false;
  again.productConfirmation = "X";
  EXPECT_FALSE(again.run());
  EXPECT_EQ(questions(), std::vector<std::string>{kConfirmClosingReports});
  EXPECT_FALSE(again.zSaved);
  EXPECT_FALSE(again.zDay.active());
  EXPECT_NE(printedTexts().front().find("RECIBO SAIDA NUMERARIO"), std::string::npos);
  EXPECT_EQ(printedTexts()[1], "000777 Vale refeição                       45,50\n");
}

TEST_F(CashClosingTest, RefusalsInsideTheReceiptAreShownAndTheClosingGoesOn) {
  ClosingCall call;
  call.withdrawalOnly = true;
  printer().refuseNth(2, "ImprimeTexto");
  call.run();
  EXPECT_EQ(printer().commandsNamed("ImprimeTexto").size(), 6u);
  EXPECT_EQ(sentNames().back(), "EncerraDocumento");
  EXPECT_GT(printer().commandsNamed("ImprimeTexto")[1].errorCode, 0);
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(op().messages()[0].kind, 3);
  EXPECT_EQ(op().messages()[0].scheme, "azul");
  EXPECT_TRUE(logContains(kNthRefusalLogLine));

  // A refused opening skips both copies; the closing goes on with its reports.
  forgetWhatHappened();
  ClosingCall closing;
  closing.shiftProducts = soldTable({{"1001", "Pão de queijo", 2, 9}});
  closing.reductionAllowed1 = false;
  printer().refuseNext("AbreGerencial");
  closing.run();
  const std::vector<std::string> names = sentNames();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
            (std::vector<std::string>{"AbreGerencial", "LeInteiro", "EncerraDocumento",
                                      "AbreGerencial"}));
  EXPECT_EQ(printedTexts().size(), 3u);  // the product report alone
  EXPECT_EQ(questions(), std::vector<std::string>{kOpenCash});
}

TEST_F(CashClosingTest, TablesOfAnotherLayoutAreRefusedBeforeAnythingIsPrinted) {
  ClosingCall call;
  call.envelopes = table("envelopes", {{"NRENVELOPE", ecf::FieldType::Text, 6},
                                       {"NMTIPORECE", ecf::FieldType::Text, 40},
                                       {"VRFECHADIG", ecf::FieldType::Real, 0}});
  call.envelopes.append();
  call.envelopes.setValue("NRENVELOPE", "000001");
  call.envelopes.post();

  EXPECT_FALSE(call.run());
  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_NE(op().messages()[0].text.find("Campo 'VRFECHAINF' não encontrado em cdsMovFecha"),
            std::string::npos);
  EXPECT_EQ(op().messages()[0].scheme, "azul");
  EXPECT_FALSE(call.zSaved);

  forgetWhatHappened();
  ClosingCall products;
  products.shiftProducts = table("produtos", {{"VRTOTAL", ecf::FieldType::Real, 0}});
  products.shiftProducts.append();
  products.shiftProducts.setValue("VRTOTAL", 5.0);
  products.shiftProducts.post();
  EXPECT_FALSE(products.run());
  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_NE(op().messages()[0].text.find("Campo 'CDPRODUTO' não encontrado em produtos"),
            std::string::npos);
}

}  // namespace
}  // namespace ecftest

// Closing a receipt: the subtotal adjustment, the consolidated payments in time order,
// the retries that never resend what the printer accepted, and the result array.
#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

using ClosingTest = ReceiptTest;

const std::string kRefusalLine = "99: Erro simulado - Recusa injetada pelo teste";

ecf::Variant untouchedResult() {
  return ecf::Variant(ecf::Variant::Array{ecf::Variant("a"), ecf::Variant("b"), ecf::Variant("c")});
}

ecf::Variant::Array filledResult(int retried) {
  return {ecf::Variant(retried), ecf::Variant("ECO42"), ecf::Variant("")};
}

TEST_F(ClosingTest, ADiscountIsNegatedAndCutToCentsAndWinsOverASurchargeUnderBothSeparators) {
  struct Case {
    double discount;
    double surcharge;
    std::string comma;
    std::string point;
    long long adjustment;
  };
  for (const Case& c :
       {Case{1.5, 0, "-1,50", "-1.50", -150}, Case{2.5, 1.0, "-2,50", "-2.50", -250},
        Case{2.999, 0, "-2,99", "-2.99", -299}}) {
    for (const bool point : {false, true}) {
      point ? useDecimalPoint() : useDecimalComma();
      openAndSell(20.0);
      Closing closing;
      closing[6] = c.discount;
      closing[8] = c.surcharge;
      closing.payments({{"E", 1, "001", 20.0}});
      forget();
      ASSERT_TRUE(close(closing));
      const std::string value = point ? c.point : c.comma;
      ASSERT_EQ(1u, printer().commandsNamed("AcresceSubtotal").size());
      EXPECT_EQ((std::vector<SentParam>{{"Cancelar", "", PARAMETRO_INDICADOR},
                                        {"ValorAcrescimo", value, PARAMETRO_MONEY},
                                        {"ValorPercentual", "", PARAMETRO_MONEY}}),
                sentParams(printer().commandsNamed("AcresceSubtotal")[0]));
      EXPECT_EQ("Comando Executado: AcresceSubtotal - Desconto - " + value, newDebugLines().at(0));
      EXPECT_EQ(c.adjustment, state()["lastFiscal"]["adjustment"].get<long long>());
    }
  }
}

TEST_F(ClosingTest, ASurchargeIsCutToCentsAndTheDaySurchargeTotalReadsIt) {
  for (const bool point : {false, true}) {
    point ? useDecimalPoint() : useDecimalComma();
    openAndSell(10.0);
    Closing closing;
    closing[8] = 3.456;
    closing.payments({{"E", 1, "001", 13.45}});
    forget();
    ASSERT_TRUE(close(closing));
    const std::string value = point ? "3.45" : "3,45";
    EXPECT_EQ(value, printer().commandsNamed("AcresceSubtotal").at(0).value("ValorAcrescimo"));
    EXPECT_EQ("Comando Executado: AcresceSubtotal - Acrescimo - " + value, newDebugLines().at(0));
    EXPECT_EQ(345, state()["lastFiscal"]["adjustment"].get<long long>());
  }

  // The printer answers with a decimal comma, whatever the host's settings.
  markLog();
  std::string total = "untouched";
  ASSERT_TRUE(Acrescimo_Imp(kScheme, total));
  EXPECT_EQ("6,90", total);
  EXPECT_EQ((std::vector<SentParam>{{"NomeDadoMonetario", "TotalDiaAcrescimos", PARAMETRO_STRING}}),
            sentParams(printer().commands().back()));
  EXPECT_EQ((std::vector<std::string>{"Comando Executado: LeMoeda - NomeDadoMonetario",
                                      "Retorno Impressora: 6,90"}),
            newDebugLines());

  printer().refuseNext("LeMoeda");
  total = "untouched";
  EXPECT_FALSE(Acrescimo_Imp(kScheme, total));
  EXPECT_EQ("untouched", total);
}

TEST_F(ClosingTest, WithoutAdjustmentThePaymentsFollowAtOnceRoundedNotCut) {
  for (const bool point : {false, true}) {
    point ? useDecimalPoint() : useDecimalComma();
    openAndSell(21.0);
    Closing closing;
    closing.payments({{"E", 1, "001", 20.996}});
    forget();
    ecf::Variant result = untouchedResult();
    ASSERT_TRUE(close(closing, result));
    EXPECT_EQ((std::vector<std::string>{"PagaCupom", "EncerraDocumento"}),
              printer().commandNames());
    const std::string value = point ? "21.00" : "21,00";
    EXPECT_EQ((std::vector<SentParam>{{"NomeMeioPagamento", "Dinheiro", PARAMETRO_STRING},
                                      {"TextoAdicional", "", PARAMETRO_STRING},
                                      {"Valor", value, PARAMETRO_MONEY}}),
              sentParams(printer().commandsNamed("PagaCupom").at(0)));
    EXPECT_EQ("Comando Executado: PagaCupom - Dinheiro - " + value, newDebugLines().at(0));
    EXPECT_EQ(filledResult(0), result.asArray());
    EXPECT_EQ("none", state()["open"]["kind"]);
  }
}

TEST_F(ClosingTest, InTefRetryModePaymentsOfOneTypeBecomeOneAndOutsideItStayApart) {
  const std::vector<Movement> movements = {{"E", 1, "001", 10.0}, {"E", 2, "001", 5.0}};
  for (const bool tef : {true, false}) {
    openAndSell(15.0);
    Closing closing;
    closing.payments(movements);
    if (tef) closing.tefRetryMode();
    forget();
    ASSERT_TRUE(close(closing)) << tef;
    const std::vector<std::string> expected =
        tef ? std::vector<std::string>{"15,00"} : std::vector<std::string>{"10,00", "5,00"};
    EXPECT_EQ(expected, sentValues("PagaCupom", "Valor"));
  }

  // "T" rows join the type's "E" line once it exists; before that each stays its own.
  openAndSell(9.0);
  Closing closing;
  closing.tefRetryMode();
  closing.payments({{"T", 1, "002", 3.0}, {"E", 2, "002", 4.0}, {"T", 3, "002", 2.0}});
  forget();
  ASSERT_TRUE(close(closing));
  EXPECT_EQ((std::vector<std::string>{"3,00", "6,00"}), sentValues("PagaCupom", "Valor"));
  EXPECT_EQ((std::vector<std::string>{"Cartao Debito", "Cartao Debito"}),
            sentValues("PagaCupom", "NomeMeioPagamento"));
}

TEST_F(ClosingTest, PaymentsGoInTimeOrderNamedByTheirTypeAndOtherMovementsAreNeverPaid) {
  openAndSell(16.0);
  Closing closing;
  closing.payments({{"E", 30, "003", 3.0},
                    {"S", 5, "001", 50.0},  // a withdrawal: never paid
                    {"E", 10, "001", 1.0},
                    {"E", 40, "010", 4.0, "VISA", "003"},  // card: named after its original type
                    {"E", 20, "002", 2.0, "", "006"},      // no card: its own type
                    {"C", 25, "001", 7.0},
                    {"T", 50, "004", 6.0}});
  forget();
  ASSERT_TRUE(close(closing));
  EXPECT_EQ((std::vector<std::string>{"Dinheiro", "Cartao Debito", "Cartao Credito",
                                      "Cartao Credito", "Vale Alimentação"}),
            sentValues("PagaCupom", "NomeMeioPagamento"));
  EXPECT_EQ((std::vector<std::string>{"1,00", "2,00", "3,00", "4,00", "6,00"}),
            sentValues("PagaCupom", "Valor"));
  EXPECT_TRUE(logContains("Comando Executado: PagaCupom - Vale Alimentação - 6,00"));
}

TEST_F(ClosingTest, APacketMissingAFieldEndsWithFalseAndANoticeNeverACrash) {
  // Movements without the amount, or without the field their default order needs.
  for (const char* missing : {"VRMOVIVEND", "NRORDTROCO", "CDBANCARTCR"}) {
    openAndSell(10.0);
    Closing closing;
    closing[13] = movementPacket({{"E", 1, "001", 10.0}}, missing);
    forget();
    EXPECT_FALSE(close(closing)) << missing;
    EXPECT_TRUE(printer().commandsNamed("PagaCupom").empty()) << missing;
    ASSERT_EQ(1u, notices().size()) << missing;
    EXPECT_NE(std::string::npos, notices()[0].find(missing)) << notices()[0];
    ASSERT_TRUE(Cancela_UltimoItem(kScheme));
    ecf::Variant unused;
    ecf::Variant::Array positions{ecf::Variant(kScheme)};
    ASSERT_TRUE(Cancela_Cupom_Imp(positions.data(), 0, unused));
  }

  // Payment types without their kind: found while paying, so the result array is filled.
  openAndSell(10.0);
  Closing closing;
  closing.payments({{"E", 1, "001", 10.0}});
  closing[14] = paymentTypePacket(standardPaymentTypes(), "IDTIPORECE");
  forget();
  ecf::Variant result = untouchedResult();
  EXPECT_FALSE(close(closing, result));
  EXPECT_EQ(filledResult(0), result.asArray());
  ASSERT_EQ(1u, notices().size());
  EXPECT_NE(std::string::npos, notices()[0].find("IDTIPORECE"));
  EXPECT_TRUE(printer().commandsNamed("PagaCupom").empty());
}

TEST_F(ClosingTest, APaymentTypeTheHostDidNotHandOverIsNeverPaidUnderAnotherName) {
  openAndSell(10.0);
  Closing closing;
  closing.payments({{"E", 1, "001", 4.0}, {"E", 2, "099", 6.0}});
  forget();
  ecf::Variant result = untouchedResult();
  EXPECT_FALSE(close(closing, result));
  EXPECT_EQ(std::vector<std::string>{"Dinheiro"}, sentValues("PagaCupom", "NomeMeioPagamento"));
  EXPECT_TRUE(printer().commandsNamed("EncerraDocumento").empty());
  ASSERT_EQ(1u, notices().size());
  EXPECT_NE(std::string::npos, notices()[0].find("099"));
  EXPECT_EQ(filledResult(0), result.asArray());
}

TEST_F(ClosingTest, ARefusedSecondPaymentAnsweredYesIsResentAloneAndMarksTheRetry) {
  openAndSell(10.0);
  Closing closing;
  closing.tefRetryMode();
  closing[6] = 1.0;
  closing.payments({{"E", 1, "001", 4.0}, {"E", 2, "002", 5.0}});
  forget();
  printer().refuseNth(2, "PagaCupom");
  answerAfterRefusals({true});
  ecf::Variant result = untouchedResult();
  ASSERT_TRUE(close(closing, result));
  EXPECT_EQ((std::vector<std::string>{"AcresceSubtotal", "PagaCupom", "PagaCupom", "PagaCupom",
                                      "EncerraDocumento"}),
            printer().commandNames());
  EXPECT_EQ((std::vector<std::string>{"4,00", "5,00", "5,00"}), sentValues("PagaCupom", "Valor"));
  EXPECT_EQ(std::vector<std::string>{kNotResponding}, questions());
  EXPECT_EQ(filledResult(1), result.asArray());
  EXPECT_EQ(900, state()["lastFiscal"]["payments"][0]["value"].get<long long>() +
                     state()["lastFiscal"]["payments"][1]["value"].get<long long>());
}

TEST_F(ClosingTest, ARefusalAnsweredNoOrOutsideTefModeLeavesTheReceiptOpenAndTheResultAlone) {
  for (const bool tef : {true, false}) {
    openAndSell(10.0);
    Closing closing;
    if (tef) closing.tefRetryMode();
    closing[4] = true;  // no change voucher either: nothing after the refusal is sent
    closing.payments({{"E", 1, "001", 10.0}});
    forget();
    printer().refuseNext("PagaCupom");
    answerAfterRefusals({false});
    ecf::Variant result = untouchedResult();
    EXPECT_FALSE(close(closing, result)) << tef;
    EXPECT_EQ(std::vector<std::string>{"PagaCupom"}, printer().commandNames()) << tef;
    const std::vector<std::string> expected =
        tef ? std::vector<std::string>{kNotResponding} : std::vector<std::string>{};
    EXPECT_EQ(expected, questions());
    EXPECT_EQ(untouchedResult(), result);
    EXPECT_EQ("fiscal", state()["open"]["kind"]);
    EXPECT_TRUE(logContains(kRefusalLine));
    ASSERT_TRUE(Cancela_UltimoItem(kScheme));
    ecf::Variant unused;
    ecf::Variant::Array positions{ecf::Variant(kScheme)};
    ASSERT_TRUE(Cancela_Cupom_Imp(positions.data(), 0, unused));
  }
}

TEST_F(ClosingTest, RefusedAdjustmentAndClosingAreResentAloneOnYes) {
  openAndSell(10.0);
  Closing closing;
  closing.tefRetryMode();
  closing[8] = 1.0;
  closing.payments({{"E", 1, "001", 11.0}});
  forget();
  printer().refuseNext("AcresceSubtotal");
  printer().refuseNext("EncerraDocumento");
  answerAfterRefusals({true, true});
  ecf::Variant result = untouchedResult();
  ASSERT_TRUE(close(closing, result));
  EXPECT_EQ((std::vector<std::string>{"AcresceSubtotal", "AcresceSubtotal", "PagaCupom",
                                      "EncerraDocumento", "EncerraDocumento"}),
            printer().commandNames());
  const std::vector<std::string> footers = sentValues("EncerraDocumento", "TextoPromocional");
  EXPECT_EQ(footers[0], footers[1]);
  EXPECT_EQ(filledResult(1), result.asArray());
  EXPECT_EQ("none", state()["open"]["kind"]);
  EXPECT_EQ(100, state()["lastFiscal"]["adjustment"].get<long long>());
}

TEST_F(ClosingTest, OnlyACardSaleInModeTAsksThePrinterStateFirst) {
  for (const std::string mode : {"T", "S"}) {
    openAndSell(10.0);
    Closing closing;
    closing[9] = mode;
    closing[11] = true;
    closing.payments({{"E", 1, "001", 10.0}});
    forget();
    ASSERT_TRUE(close(closing));
    const std::vector<std::string> names = printer().commandNames();
    if (mode == "T") {
      ASSERT_EQ((std::vector<std::string>{"LeInteiro", "PagaCupom", "EncerraDocumento"}), names);
      EXPECT_EQ("EstadoFiscal", printer().commands()[0].value("NomeInteiro"));
    } else {
      EXPECT_EQ((std::vector<std::string>{"PagaCupom", "EncerraDocumento"}), names);
    }
  }

  // A printer that does not answer: yes asks again, no gives up before anything is sent.
  openAndSell(10.0);
  Closing closing;
  closing[9] = "T";
  closing[11] = true;
  closing.payments({{"E", 1, "001", 10.0}});
  forget();
  printer().refuseNth(1, "LeInteiro");
  printer().refuseNth(2, "LeInteiro");
  answerAfterRefusals({true, false});
  ecf::Variant result = untouchedResult();
  EXPECT_FALSE(close(closing, result));
  EXPECT_EQ((std::vector<std::string>{"LeInteiro", "LeInteiro"}), printer().commandNames());
  EXPECT_EQ((std::vector<std::string>{kNotResponding, kNotResponding}), questions());
  EXPECT_EQ(untouchedResult(), result);

  forget();
  printer().refuseNext("LeInteiro");
  answerAfterRefusals({true});
  ASSERT_TRUE(close(closing, result));
  EXPECT_EQ(filledResult(1), result.asArray());
}

TEST_F(ClosingTest, WithoutAnyPaymentTheReceiptStaysOpenTheVoucherIsStillSentAndTheCallFails) {
  openAndSell(10.0);
  Closing closing;
  closing[4] = true;
  closing[7] = 2.0;
  closing.payments({{"S", 1, "001", 10.0}});
  forget();
  ecf::Variant result;  // the host passed no array at all
  EXPECT_FALSE(close(closing, result));
  EXPECT_EQ((std::vector<std::string>{"EmiteItemNaoFiscal", "EncerraDocumento"}),
            printer().commandNames());
  EXPECT_TRUE(printer().commandsNamed("EncerraDocumento")[0].params.empty());
  EXPECT_EQ((std::vector<SentParam>{{"CodNaoFiscal", changeVoucherCode_, PARAMETRO_UINT},
                                    {"NomeNaoFiscal", "", PARAMETRO_STRING},
                                    {"Valor", "2,00", PARAMETRO_MONEY}}),
            sentParams(printer().commandsNamed("EmiteItemNaoFiscal")[0]));
  const std::vector<std::string> lines = newDebugLines();
  ASSERT_EQ(2u, lines.size());  // sent blindly: neither is judged
  EXPECT_EQ("Comando Executado: EmiteItemNaoFiscal - " + changeVoucherCode_ + " -  - 2,00",
            lines[0]);
  EXPECT_EQ("Comando Executado: EncerraDocumento", lines[1]);
  ASSERT_TRUE(result.isArray());
  EXPECT_EQ(filledResult(0), result.asArray());
  EXPECT_EQ("fiscal", state()["open"]["kind"]);
}

TEST_F(ClosingTest, AShortResultArrayIsLengthenedAndItsOtherElementsKept) {
  openAndSell(10.0);
  Closing closing;
  closing.payments({{"E", 1, "001", 10.0}});
  ecf::Variant result(ecf::Variant::Array{ecf::Variant("old")});
  ASSERT_TRUE(close(closing, result));
  EXPECT_EQ(filledResult(0), result.asArray());

  openAndSell(10.0);
  ecf::Variant longer(
      ecf::Variant::Array{ecf::Variant(7), ecf::Variant(8), ecf::Variant(9), ecf::Variant("kept")});
  ASSERT_TRUE(close(closing, longer));
  ASSERT_EQ(4u, longer.asArray().size());
  EXPECT_EQ(ecf::Variant("kept"), longer.asArray()[3]);
}

TEST_F(ClosingTest, APositionThatIsNotANumberOrAMissingTailIsHandledWithoutReadingBeyondIt) {
  openAndSell(10.0);
  Closing closing;
  closing.payments({{"E", 1, "001", 10.0}});
  closing[6] = "muito";
  forget();
  EXPECT_FALSE(close(closing));
  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(1u, notices().size());
  EXPECT_NE(std::string::npos, notices()[0].find("Posição 6"));

  // Only positions 0 to 14 given: the rest read as empty, and the sale still closes.
  closing[6] = 0.0;
  std::vector<ecf::Variant> shortInput(closing.data(), closing.data() + 15);
  ecf::Variant result(ecf::Variant::Array(3));
  ecf::StringList unused;
  ASSERT_TRUE(FechaCupom(shortInput.data(), 14, unused, result));
  EXPECT_EQ((ecf::Variant::Array{ecf::Variant(0), ecf::Variant(""), ecf::Variant("")}),
            result.asArray());
  EXPECT_FALSE(FechaCupom(nullptr, 43, unused, result));
}

}  // namespace
}  // namespace ecftest

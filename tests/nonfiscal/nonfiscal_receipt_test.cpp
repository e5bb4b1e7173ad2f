// A non-fiscal receipt from opening to closing: the amount text goes through exactly as
// given, the payment method by name alone, and any refusal stops it and fails it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {
namespace {

using NonFiscalReceiptTest = NonFiscalTest;

const std::string kPaymentMethod = "Dinheiro";
const std::vector<std::string> kReceiptCommands{"AbreCupomNaoFiscal", "EmiteItemNaoFiscal",
                                                "PagaCupom", "EncerraDocumento"};

TEST_F(NonFiscalReceiptTest, SendsTheAmountTextExactlyAndTheMethodByName) {
  // The caller's text is not reformatted, whatever the host's separator.
  useDecimalPoint();

  EXPECT_TRUE(Cupom_NFiscNVinc("azul", IdTotCompCred, "12,50", kPaymentMethod, "ignorado"));

  EXPECT_EQ(sentNames(), kReceiptCommands);
  EXPECT_EQ(sentParams(onlyCommand("AbreCupomNaoFiscal")),
            (std::vector<SentParam>{{"EnderecoConsumidor", "", PARAMETRO_STRING},
                                    {"IdConsumidor", "", PARAMETRO_STRING},
                                    {"NomeConsumidor", "", PARAMETRO_STRING}}));
  EXPECT_EQ(sentParams(onlyCommand("EmiteItemNaoFiscal")),
            (std::vector<SentParam>{{"CodNaoFiscal", IdTotCompCred, PARAMETRO_UINT},
                                    {"NomeNaoFiscal", "", PARAMETRO_STRING},
                                    {"Valor", "12,50", PARAMETRO_MONEY}}));
  EXPECT_EQ(sentParams(onlyCommand("PagaCupom")),
            (std::vector<SentParam>{{"NomeMeioPagamento", kPaymentMethod, PARAMETRO_STRING},
                                    {"TextoAdicional", "", PARAMETRO_STRING},
                                    {"Valor", "12,50", PARAMETRO_MONEY}}));
  EXPECT_TRUE(onlyCommand("EncerraDocumento").params.empty());
  for (const RecordedCommand& command : printer().commands()) {
    EXPECT_EQ(command.errorCode, 0) << command.name;
  }
  EXPECT_EQ(newDebugLines(),
            (std::vector<std::string>{
                "Comando Executado: AbreCupomNaoFiscal",
                "Comando Executado: EmiteItemNaoFiscal - " + IdTotCompCred + " -  - 12,50",
                "Comando Executado: PagaCupom -  - " + kPaymentMethod + " -  - 12,50",
                "Comando Executado: EncerraDocumento"}));
  EXPECT_TRUE(op().messages().empty());

  forgetWhatHappened();
  EXPECT_TRUE(Cupom_NFiscNVinc("azul", IdTotCompCred, "7.5", kPaymentMethod, ""));
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("Valor"), "7.5");
  EXPECT_EQ(onlyCommand("PagaCupom").value("Valor"), "7.5");
}

class NonFiscalReceiptRefusalTest : public NonFiscalTest,
                                    public ::testing::WithParamInterface<std::size_t> {};

TEST_P(NonFiscalReceiptRefusalTest, ReturnsFalseAndCancelsWhatTheRefusedStepLeftOpen) {
  const std::size_t refused = GetParam();
  printer().refuseNext(kReceiptCommands[refused]);

  EXPECT_FALSE(Cupom_NFiscNVinc("verde", IdTotCompCred, "30,00", kPaymentMethod, ""));

  // Past the opening, the receipt it opened is cancelled.
  std::vector<std::string> sent(kReceiptCommands.begin(), kReceiptCommands.begin() + refused + 1);
  if (refused > 0) sent.push_back("CancelaCupom");
  EXPECT_EQ(sentNames(), sent);
  expectRefusalShown("verde");
  const std::vector<std::string> log = newDebugLines();
  ASSERT_EQ(log.size(), sent.size() + 1);
  EXPECT_EQ(log[refused + 1], kRefusalLogLine);
  if (refused > 0) {
    EXPECT_EQ(log.back(), "Comando Executado: CancelaCupom");
  }
}

INSTANTIATE_TEST_SUITE_P(EachStep, NonFiscalReceiptRefusalTest, ::testing::Values(0u, 1u, 2u, 3u));

}  // namespace
}  // namespace ecftest

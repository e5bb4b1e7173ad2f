// The linked credit/debit voucher: one AbreCreditoDebito for the first payment item in one
// instalment, accepted by the printer only for a card payment of a paid receipt of the day.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/voucher_fixture.h"

namespace ecftest {
namespace {

using LinkedVoucherTest = VoucherTest;

TEST_F(LinkedVoucherTest, OpensForTheCardPaymentAndPrintsItsOwnSlip) {
  const std::string coo = ringUpSale("25.00", "5.00");
  ringUpSale("12.00", "0");  // a later sale: the first one still takes its voucher

  EXPECT_TRUE(Abre_Comp_NFiscalVinc("azul", kCard, "25,00", coo));
  EXPECT_TRUE(Usa_CompNFis("azul", "VIA DO CLIENTE\nAUT: 123456\n"));
  EXPECT_TRUE(FechRelatGerenc("azul", true, false));

  EXPECT_EQ(sentParams(onlyCommand("AbreCreditoDebito")),
            (std::vector<SentParam>{{"NomeMeioPagamento", kCard, PARAMETRO_STRING},
                                    {"Valor", "25,00", PARAMETRO_MONEY},
                                    {"COO", coo, PARAMETRO_ULONG},
                                    {"NumItem", "1", PARAMETRO_UINT},
                                    {"NumParcelas", "1", PARAMETRO_UINT}}));
  EXPECT_EQ(newDebugLines(),
            (std::vector<std::string>{
                "Comando Executado: AbreCreditoDebito - " + kCard + " - 25,00 - " + coo,
                "Comando Executado: ImprimeTexto - TextoLivre - VIA DO CLIENTE\nAUT: 123456\n",
                "Comando Executado: EncerraDocumento"}));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(printer().state()["counters"]["cdc"], 1);
  const std::string tape = printer().tape();
  const std::string slip = tape.substr(tape.rfind(std::string(48, '=')));
  EXPECT_NE(slip.find("         COMPROVANTE CRÉDITO OU DÉBITO\n"
                      "                   CCD:000001\n"
                      "COO do cupom vinculado: " + sixDigits(coo) + "\n"
                      "Meio de pagamento: Cartao Credito\n"
                      "VALOR R$                                   25,00\n"
                      "Parcelas: 1\n"
                      "------------------------------------------------\n"
                      "VIA DO CLIENTE\n"
                      "AUT: 123456\n"),
            std::string::npos)
      << slip;
}

TEST_F(LinkedVoucherTest, TheAmountTextGoesAsTheHostWroteIt) {
  // The host writes the amount; either decimal separator reaches the printer unchanged.
  useDecimalPoint();
  const std::string coo = ringUpSale("30.00", "0");
  EXPECT_TRUE(Abre_Comp_NFiscalVinc("", kCard, "10.50", coo));
  EXPECT_EQ(onlyCommand("AbreCreditoDebito").value("Valor"), "10.50");
  ASSERT_TRUE(FechRelatGerenc("", true, false));
  useDecimalComma();
  forgetWhatHappened();
  EXPECT_TRUE(Abre_Comp_NFiscalVinc("", kCard, "19,50", coo));
  EXPECT_EQ(onlyCommand("AbreCreditoDebito").value("Valor"), "19,50");
  // The two vouchers used the whole payment.
  ASSERT_TRUE(FechRelatGerenc("", true, false));
  EXPECT_EQ(printer().state()["counters"]["cdc"], 2);
}

TEST_F(LinkedVoucherTest, ThePrinterRefusesAVoucherItCannotTieToAPayment) {
  struct Case {
    std::string why;
    std::string method;
    std::string amount;
    std::string coo;  // "" = the sale's
    std::string circumstance;
  };
  const std::vector<Case> cases = {
      {"unknown COO", kCard, "10,00", "99", "O COO 000099 não é um cupom fiscal pago do dia."},
      {"method without linked vouchers", kMealVoucher, "5,00", "",
       "O meio de pagamento Vale Refeicao não permite comprovante vinculado."},
      {"more than the payment", kCard, "20,01", "",
       "Valor 20,01 maior que o saldo do pagamento (20,00)."},
  };
  const std::string coo = ringUpSale("20.00", "5.00", kMealVoucher);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    forgetWhatHappened();
    EXPECT_FALSE(Abre_Comp_NFiscalVinc("verde", c.method, c.amount, c.coo.empty() ? coo : c.coo));
    EXPECT_EQ(sentNames(), std::vector<std::string>{"AbreCreditoDebito"});
    ASSERT_EQ(op().messages().size(), 1u);
    EXPECT_EQ(op().messages()[0].text, "51: VinculadoNaoPermitido " + c.circumstance);
    EXPECT_EQ(op().messages()[0].scheme, "verde");
    EXPECT_EQ(newDebugLines().back(), "51: VinculadoNaoPermitido - " + c.circumstance);
    EXPECT_EQ(openDocument(), "none");
  }
  // The refusals used nothing of the payment.
  EXPECT_TRUE(Abre_Comp_NFiscalVinc("verde", kCard, "20,00", coo));
}

}  // namespace
}  // namespace ecftest

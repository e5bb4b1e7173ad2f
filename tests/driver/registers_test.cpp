// Cutting values out of the printer's answers.
#include "support/module_fixture.h"

namespace ecftest {
namespace {

using RegistersTest = ModuleTest;

TEST_F(RegistersTest, IntegerValuesAreEverythingAfterTheirPrefix) {
  ASSERT_TRUE(start());
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=0");
  EXPECT_EQ("0", LeInteiro("CFC", false));
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=");
  EXPECT_EQ("", LeInteiro("CFC", false));
  EXPECT_EQ(14, inPos);
}

TEST_F(RegistersTest, MoneyValuesLoseTheirThousandsPoints) {
  ASSERT_TRUE(start());
  markLog();
  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=12.345,67");
  EXPECT_EQ("12345,67", LeMoeda("TotalDiaVendaBruta", false));
  EXPECT_EQ((std::vector<std::string>{
                "Comando Executado: LeMoeda - NomeDadoMonetario - TotalDiaVendaBruta",
                "Retorno Impressora: 12345,67"}),
            newDebugLines());
}

TEST_F(RegistersTest, AfterEachReadTheSharedReturnHoldsTheValueItself) {
  ASSERT_TRUE(start());
  const auto shared = [] { return std::string(stRetornoFuncao); };

  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=123");
  EXPECT_EQ("000123", Nr_Cupom("", "001"));
  EXPECT_EQ("123", shared());
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=42");
  EXPECT_EQ("42", LeInteiro("CRZ", false));
  EXPECT_EQ("42", shared());

  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=12.345,67");
  EXPECT_EQ("12345,67", LeMoeda("TotalDiaVendaBruta", false));
  EXPECT_EQ("12345,67", shared());
  std::string total;
  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=1.234,50");
  ASSERT_TRUE(BuscaTotGer("001", total));
  EXPECT_EQ("1234,50", shared());

  // Date and time are cut the same way; the time is read last.
  std::string dateTime;
  printer().scriptNextAnswer("LeHora", 0, 0, "ValorHora=\"103015\"");
  ASSERT_TRUE(Data_Imp("001", dateTime));
  EXPECT_EQ("103015", shared());

  // The identification reads the serial number (a text) last.
  ecf::Variant bag = ecf::makeBag({{"ESQUEMA", "001"}});
  printer().scriptNextAnswer("LeTexto", 0, 0, "ValorTexto=\"  VP0001  \"");
  ASSERT_TRUE(Carrega_Dados_Impressora(bag));
  EXPECT_EQ("VP0001", shared());
}

TEST_F(RegistersTest, FlagSelectorsTestTheirBitFromTheHighestDown) {
  ASSERT_TRUE(start());
  const auto flagOn = [&](const char* value, int selector) {
    printer().scriptNextAnswer("LeInteiro", 0, 0, std::string("ValorInteiro=") + value);
    return LeIndicadores(selector);
  };
  EXPECT_TRUE(flagOn("256", 7));
  EXPECT_FALSE(flagOn("255", 7));
  EXPECT_TRUE(flagOn("1", 15));
  EXPECT_FALSE(flagOn("1", 14));
  EXPECT_TRUE(flagOn("16384", 1));
  EXPECT_TRUE(flagOn("192", 8));  // Z pending with the day open
  EXPECT_TRUE(flagOn("192", 9));
  EXPECT_FALSE(flagOn("192", 10));
  // An answer that is not a number, or no answer at all, sets no flag.
  EXPECT_FALSE(flagOn("abc", 8));
  EXPECT_FALSE(flagOn("", 8));
  printer().refuseNext("LeInteiro");
  EXPECT_FALSE(LeIndicadores(8));
}

TEST_F(RegistersTest, TheIndicatorsOfAFreshPrinterMatchItsState) {
  ASSERT_TRUE(start());
  EXPECT_TRUE(LeIndicadores(2));    // on line
  EXPECT_FALSE(LeIndicadores(7));   // paper present
  EXPECT_FALSE(LeIndicadores(8));   // no Z pending
  printer().setPaperOut(true);
  EXPECT_TRUE(LeIndicadores(7));
}

TEST_F(RegistersTest, AmountsHaveTwoImpliedDecimalsUnderEitherSeparator) {
  useDecimalComma();
  EXPECT_DOUBLE_EQ(1234.56, GetValue("1.234,56"));
  EXPECT_DOUBLE_EQ(1234.56, GetValue("123456"));
  EXPECT_DOUBLE_EQ(0.5, GetValue("5"));
  EXPECT_DOUBLE_EQ(0.0, GetValue(" 0,00 "));
  useDecimalPoint();
  EXPECT_DOUBLE_EQ(1234.56, GetValue("1.234,56"));
  EXPECT_DOUBLE_EQ(12.3, GetValue("12,30"));
}

TEST_F(RegistersTest, AnAmountWithoutDigitsIsReportedNotCrashed) {
  op().clear();
  EXPECT_DOUBLE_EQ(0.0, GetValue(""));
  EXPECT_DOUBLE_EQ(0.0, GetValue("R$"));
  EXPECT_EQ(2u, op().messages().size());
}

TEST_F(RegistersTest, TheGrandTotalIsWrittenAsAGeneralNumber) {
  ASSERT_TRUE(start());
  std::string total = "unchanged";
  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=0,00");
  ASSERT_TRUE(BuscaTotGer("001", total));
  EXPECT_EQ("0", total);
  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=1.234,50");
  ASSERT_TRUE(BuscaTotGer("001", total));
  EXPECT_EQ("1234,5", total);
  useDecimalPoint();
  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=1.234,50");
  ASSERT_TRUE(BuscaTotGer("001", total));
  EXPECT_EQ("1234.5", total);

  total = "unchanged";
  printer().refuseNext("LeMoeda");
  EXPECT_FALSE(BuscaTotGer("001", total));
  EXPECT_EQ("unchanged", total);
}

}  // namespace
}  // namespace ecftest

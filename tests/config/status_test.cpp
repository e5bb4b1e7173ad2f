// The printer's identity, state and counters.
#include <gmock/gmock.h>

#include "config/config_fixture.h"

namespace ecftest {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

using StatusTest = ConfigTest;

std::string bagField(const ecf::Variant& bag, const char* name) {
  const ecf::Variant* value = ecf::findBagField(bag, name);
  return value == nullptr ? "<missing>" : value->toText();
}

TEST_F(StatusTest, TheReceiptCounterIsSixDigitsAndEmptyWithoutAMessageWhenOffLine) {
  const int coo = printer().state()["counters"]["coo"];
  char expected[16];
  std::snprintf(expected, sizeof expected, "%06d", coo);
  EXPECT_EQ(expected, Nr_Cupom("", "007"));
  EXPECT_EQ(newDebugLines(),
            (std::vector<std::string>{"Comando Executado: LeInteiro - NomeInteiro - COO",
                                      std::string("Retorna Impressora: ") + expected}));
  EXPECT_THAT(sentParams(printer().commands().back()),
              ElementsAre(SentParam{"NomeInteiro", "COO", PARAMETRO_STRING}));

  // Counters above six digits keep their low-order digits.
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=1234567");
  EXPECT_EQ("234567", Nr_Cupom("", "007"));

  // An answer that is no counter is no COO, never "000000".
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=");
  EXPECT_EQ("", Nr_Cupom("", "007"));
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=12a");
  EXPECT_EQ("", Nr_Cupom("", "007"));

  printer().setOffline(true);
  markLog();
  EXPECT_EQ("", Nr_Cupom("", "007"));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(newDebugLines().size(), 2u);  // the command and the printer's error
}

TEST_F(StatusTest, TheFiscalStateIsLoggedWholeAndARefusalIsShown) {
  EXPECT_TRUE(Estado_Imp("007", false, false));
  const std::string returned = printer().commands().back().returned;
  ASSERT_THAT(returned, StartsWith("ValorInteiro="));
  EXPECT_EQ(newDebugLines(),
            (std::vector<std::string>{"Comando Executado: LeInteiro - NomeInteiro - EstadoFiscal",
                                      "Retorna Impressora: " + returned}));

  printer().refuseNext("LeInteiro");
  EXPECT_FALSE(Estado_Imp("007", false, false));
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
  EXPECT_EQ(op().messages()[0].scheme, "007");
}

TEST_F(StatusTest, TheDrawerSensorIsThe24thCharacterOfTheAnswer) {
  printer().setDrawerOpen(true);
  EXPECT_EQ("01", Estado_Gaveta_Imp("007"));
  EXPECT_EQ(inRetorno, 1);
  EXPECT_THAT(newDebugLines(),
              ElementsAre("Comando Executado: LeIndicador - NomeIndicador - SensorGaveta",
                          "Retorno Impressora: TRUE"));
  EXPECT_THAT(sentParams(printer().commands().back()),
              ElementsAre(SentParam{"NomeIndicador", "SensorGaveta", PARAMETRO_STRING}));

  printer().setDrawerOpen(false);
  markLog();
  EXPECT_EQ("00", Estado_Gaveta_Imp("007"));
  EXPECT_THAT(newDebugLines(), ElementsAre(StartsWith("Comando Executado"),
                                           "Retorno Impressora: FALSE"));

  // Anything but "1" there, or an answer too short to have it, is off.
  printer().scriptNextAnswer("LeIndicador", 0, 0, "ValorIndicador=abcdefghi2");
  EXPECT_EQ("00", Estado_Gaveta_Imp("007"));
  printer().scriptNextAnswer("LeIndicador", 0, 0, "12345678901234567890123");
  EXPECT_EQ("00", Estado_Gaveta_Imp("007"));
  printer().scriptNextAnswer("LeIndicador", 0, 0, "000000000000000000000001");
  EXPECT_EQ("01", Estado_Gaveta_Imp("007"));
  EXPECT_TRUE(op().messages().empty());

  printer().refuseNext("LeIndicador");
  EXPECT_EQ("", Estado_Gaveta_Imp("007"));
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
}

TEST_F(StatusTest, TheCancelledReceiptCounterIsFourDigitsAndUntouchedOnFailure) {
  std::string counter = "unchanged";
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=7");
  EXPECT_TRUE(InfImpTerm("007", "", "", "", counter));
  EXPECT_EQ("0007", counter);
  EXPECT_THAT(newDebugLines(),
              ElementsAre("Comando Executado: LeInteiro - CFC", "Retorno Impressora: 7"));
  EXPECT_THAT(sentParams(printer().commands().back()),
              ElementsAre(SentParam{"NomeInteiro", "CFC", PARAMETRO_STRING}));

  counter = "unchanged";
  printer().refuseNext("LeInteiro");
  EXPECT_FALSE(InfImpTerm("007", "", "", "", counter));
  EXPECT_EQ("unchanged", counter);
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=");
  EXPECT_FALSE(InfImpTerm("007", "", "", "", counter));
  EXPECT_EQ("unchanged", counter);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(StatusTest, TheNationalCodeDependsOnModel23AndItsFirmware) {
  EXPECT_EQ("091601", Codigo_Nacional_ECF(23, "010000"));
  EXPECT_EQ("091602", Codigo_Nacional_ECF(23, "010001"));
  EXPECT_EQ("091603", Codigo_Nacional_ECF(23, "010015"));
  EXPECT_EQ("091604", Codigo_Nacional_ECF(23, "010016"));
  EXPECT_EQ("091604", Codigo_Nacional_ECF(23, "020000"));
  EXPECT_EQ("091604", Codigo_Nacional_ECF(23, ""));
  EXPECT_EQ("000000", Codigo_Nacional_ECF(24, "010015"));
  EXPECT_EQ("000000", Codigo_Nacional_ECF(-23, "010000"));
}

// The fixture's clock, module's and printer's, stands at 08/12/2026 10:00:00.
class PrinterDataTest : public ConfigTest {
 protected:
  ecf::Variant bag() {
    return ecf::makeBag({{"ESQUEMA", "007"},
                         {"DATAIMP", "stale"},
                         {"REDIMP", "stale"},
                         {"DATAATUIMP", "stale"},
                         {"ECFIMP", "stale"},
                         {"SERIEIMP", "stale"}});
  }

  std::vector<std::string> answers(const ecf::Variant& bag) {
    return {bagField(bag, "DATAIMP"), bagField(bag, "REDIMP"), bagField(bag, "DATAATUIMP"),
            bagField(bag, "ECFIMP"), bagField(bag, "SERIEIMP")};
  }
};

TEST_F(PrinterDataTest, WithNoDayOpenTheOpeningDateIsTodayAndEverythingGoesBackInTheBag) {
  ecf::Variant data = bag();
  ASSERT_TRUE(Carrega_Dados_Impressora(data));
  const std::string serial = printer().state()["identity"]["serial"];
  EXPECT_EQ(answers(data),
            (std::vector<std::string>{"081226", "", "081226100000", "1", serial}));
  EXPECT_THAT(newDebugLines(),
              ElementsAre("Comando Executado: LeData - NomeData - DataAbertura",
                          "Retorno da Impressora : 000000",
                          "Comando Executado: LeInteiro - NomeInteiro - Indicadores",
                          StartsWith("Retorno Impressora: "),
                          "Comando Executado: LeData - Data - NomeData",
                          "Comando Executado: LeHora - Hora - NomeHora",
                          "Retorno da Impressora : 081226100000",
                          "Comando Executado: LeInteiro - NomeInteiro - ECF",
                          "Retorno da Impressora : 1",
                          "Comando Executado: LeTexto - NomeTexto - NumeroSerieECF",
                          "Retorno da Impressora : " + serial));
  EXPECT_THAT(printer().commandNames(),
              ElementsAre("LeData", "LeInteiro", "LeData", "LeHora", "LeInteiro", "LeTexto"));
  EXPECT_EQ(sentValues("LeData", "NomeData"), (std::vector<std::string>{"DataAbertura", "Data"}));
  EXPECT_EQ(sentValues("LeHora", "NomeHora"), (std::vector<std::string>{"hora"}));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(PrinterDataTest, AnOpenDayFromYesterdayIsAPendingReduction) {
  // The day opened yesterday; the indicators carry the Z pending flag (128) with the day
  // open (64).
  printer().scriptNextAnswer("LeData", 0, 0, "ValorData=\"071226\"");
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=192");
  ecf::Variant data = bag();
  ASSERT_TRUE(Carrega_Dados_Impressora(data));
  EXPECT_EQ(bagField(data, "DATAIMP"), "071226");
  EXPECT_EQ(bagField(data, "REDIMP"), "F");

  printer().scriptNextAnswer("LeData", 0, 0, "ValorData=\"081226\"");
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=64");
  ASSERT_TRUE(Carrega_Dados_Impressora(data));
  EXPECT_EQ(bagField(data, "DATAIMP"), "081226");
  EXPECT_EQ(bagField(data, "REDIMP"), "");
}

TEST_F(PrinterDataTest, AFailedReadStopsTheReadingAndAnswersWhatWasRead) {
  ecf::Variant data = bag();
  printer().refuseNext("LeData");
  EXPECT_FALSE(Carrega_Dados_Impressora(data));
  EXPECT_THAT(printer().commandNames(), ElementsAre("LeData"));
  EXPECT_EQ(answers(data), (std::vector<std::string>{"", "", "", "", ""}));
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
  EXPECT_EQ(op().messages()[0].scheme, "007");

  forgetWhatHappened();
  data = bag();
  printer().refuseNext("LeTexto");
  EXPECT_FALSE(Carrega_Dados_Impressora(data));
  EXPECT_EQ(answers(data), (std::vector<std::string>{"081226", "", "081226100000", "1", ""}));

  forgetWhatHappened();
  data = bag();
  printer().refuseNth(2, "LeInteiro");  // the indicators pass, the printer number is refused
  EXPECT_FALSE(Carrega_Dados_Impressora(data));
  EXPECT_THAT(printer().commandNames(),
              ElementsAre("LeData", "LeInteiro", "LeData", "LeHora", "LeInteiro"));
}

TEST_F(PrinterDataTest, ABagWithoutTheSchemeIsReportedAndTheReadingGoesOn) {
  ecf::Variant data = ecf::makeBag({{"CDFILIAL", "1"}});
  EXPECT_TRUE(Carrega_Dados_Impressora(data));
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_THAT(op().messages()[0].text,
              StartsWith("Erro no recebimento dos parâmetros da função: "
                         "Carrega_Dados_Impressora - Zul_00100.bpl\r"));
  EXPECT_EQ(op().messages()[0].scheme, "001");
  EXPECT_EQ(bagField(data, "DATAIMP"), "081226");
  EXPECT_EQ(bagField(data, "CDFILIAL"), "1");

  // Something that is no bag at all is reported the same way and never written to.
  op().clear();
  ecf::Variant notABag("texto");
  EXPECT_TRUE(Carrega_Dados_Impressora(notABag));
  EXPECT_EQ(op().messages().size(), 1u);
  EXPECT_EQ(notABag.toText(), "texto");
}

}  // namespace
}  // namespace ecftest

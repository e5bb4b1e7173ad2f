// The detail-memory reading: the range as the printer gets it, the documents it
// reprints, and kinds and ranges that are refused.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "dayclose/dayclose_fixture.h"

namespace ecftest {
namespace {

using MemoryReading = DayCloseTest;

// The counters (COO) of the documents reprinted in a detail reading, its own excluded.
std::vector<std::string> reprintedCounters(const std::string& reading) {
  static const std::regex header(R"((?:^|\n)\d\d/\d\d/\d{4} \d\d:\d\d:\d\d .*COO:(\d{6}))");
  std::vector<std::string> counters;
  for (auto it = std::sregex_iterator(reading.begin(), reading.end(), header);
       it != std::sregex_iterator(); ++it) {
    counters.push_back((*it)[1].str());
  }
  if (!counters.empty()) counters.erase(counters.begin());
  return counters;
}

TEST_F(MemoryReading, TheRangeReachesThePrinterEndFirstAndIsLoggedAsGiven) {
  struct Case {
    const char* kind;
    const char* start;
    const char* end;
    std::vector<SentParam> sent;
  };
  const std::vector<Case> cases = {
      {"D", "010524", "310524",
       {{"DataFinal", "31/05/24", PARAMETRO_DATA},
        {"DataInicial", "01/05/24", PARAMETRO_DATA},
        {"Destino", "I", PARAMETRO_STRING}}},
      {"D", "01052024", "31052024",
       {{"DataFinal", "31/05/20", PARAMETRO_DATA},
        {"DataInicial", "01/05/20", PARAMETRO_DATA},
        {"Destino", "I", PARAMETRO_STRING}}},
      {"R", "100", "250",
       {{"COOFinal", "250", PARAMETRO_ULONG},
        {"COOInicial", "100", PARAMETRO_ULONG},
        {"Destino", "I", PARAMETRO_STRING}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + c.start + " " + c.end);
    forget();
    // A new printer holds no document of these periods: it refuses, and the operator
    // reads why.
    EXPECT_FALSE(Memoria_Fiscal_Imp(kScheme, c.kind, c.start, c.end, "ignored"));
    ASSERT_EQ(printer().commandNames(), std::vector<std::string>{"EmiteLeituraFitaDetalhe"});
    EXPECT_EQ(sentParams(printer().commands()[0]), c.sent);
    EXPECT_EQ(newDebugLines(),
              (std::vector<std::string>{
                  std::string("Comando Executado: EmiteLeituraFitaDetalhe - ") + c.start + " - " +
                      c.end,
                  "5: ValorForaDaFaixa - Nenhum documento no intervalo."}));
    ASSERT_EQ(op().texts(),
              std::vector<std::string>{"5: ValorForaDaFaixa Nenhum documento no intervalo."});
    EXPECT_EQ(op().messages()[0].scheme, kScheme);
  }
}

TEST_F(MemoryReading, AnUnknownKindSendsNothing) {
  for (const char* kind : {"d", "r", "", "X", "DR"}) {
    SCOPED_TRACE(kind);
    forget();
    EXPECT_FALSE(Memoria_Fiscal_Imp(kScheme, kind, "081226", "081226", ""));
    EXPECT_TRUE(printer().commands().empty());
    const std::string text = std::string("Tipo de leitura da memória fiscal \"") + kind +
                             "\" desconhecido: use D (datas) ou R (COO).";
    EXPECT_EQ(op().texts(), std::vector<std::string>{text});
    EXPECT_EQ(newDebugLines(), std::vector<std::string>{"Memoria_Fiscal_Imp: " + text});
  }
}

TEST_F(MemoryReading, ThePrinterReprintsTheDocumentsOfTheRange) {
  ASSERT_TRUE(Suprimento("", 50.00));  // COO 1
  openReceipt();                       // COO 2
  sell("0", "12,00");
  pay("Dinheiro", "12,00");
  closeReceipt();
  ecf::Dataset unused;
  ASSERT_TRUE(Sangria("", "", 20.00, unused));  // COO 3

  ASSERT_TRUE(Memoria_Fiscal_Imp(kScheme, "D", "081226", "081226", ""));
  std::string reading = lastDocument();
  EXPECT_NE(reading.find("LEITURA DA MEMÓRIA FITA-DETALHE\nPERÍODO: 08/12/2026 A 08/12/2026\n"),
            std::string::npos);
  EXPECT_EQ(reprintedCounters(reading), (std::vector<std::string>{"000001", "000002", "000003"}));
  EXPECT_NE(reading.find("TOTAL R$                                   12,00"), std::string::npos);
  EXPECT_EQ(std::string(stRetornoFuncao), printer().commands().back().returned);

  ASSERT_TRUE(Memoria_Fiscal_Imp(kScheme, "R", "2", "3", ""));
  reading = lastDocument();
  EXPECT_NE(reading.find("COO: 000002 A 000003"), std::string::npos);
  EXPECT_EQ(reprintedCounters(reading), (std::vector<std::string>{"000002", "000003"}));
  EXPECT_NE(reading.find("FIM DA LEITURA"), std::string::npos);

  // A reversed range: refused, shown, nothing printed.
  const nlohmann::json before = printer().state();
  const std::string tapeBefore = printer().tape();
  forget();
  EXPECT_FALSE(Memoria_Fiscal_Imp(kScheme, "R", "3", "2", ""));
  EXPECT_EQ(op().texts(), std::vector<std::string>{"5: ValorForaDaFaixa Intervalo de COO inválido."});
  EXPECT_EQ(printer().tape(), tapeBefore);
  EXPECT_EQ(printer().state()["counters"], before["counters"]);
}

}  // namespace
}  // namespace ecftest

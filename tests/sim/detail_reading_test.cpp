// The detail-tape reading: the documents of a period of dates or of counters reprinted
// from the tape, and periods the printer refuses without printing anything.
#include "sim_fixture.h"

#include <string>
#include <vector>

#include "core/tape.h"

namespace simtest {
namespace {

using DetailReading = SimTest;

std::vector<P> byDates(const std::string& from, const std::string& to) {
  return {{"DataInicial", from, kDate}, {"DataFinal", to, kDate}, {"Destino", "I", kText}};
}

std::vector<P> byCounters(const std::string& from, const std::string& to) {
  return {{"COOInicial", from, kULong}, {"COOFinal", to, kULong}, {"Destino", "I", kText}};
}

TEST_F(DetailReading, ReprintsTheDocumentsOfThePeriodOnly) {
  openReceipt();  // COO 1, 15/03/2024
  ASSERT_EQ(sell("1", "Cafe", "0", "4.00", "1").code, 0);
  ASSERT_EQ(pay("Dinheiro", "4.00").code, 0);
  ASSERT_EQ(close().code, 0);
  ASSERT_EQ(send("EmiteReducaoZ").code, 0);  // COO 2
  ASSERT_EQ(ecfsim_set_clock(kPort, "2024-03-16 09:00:00"), 0);
  ASSERT_EQ(send("EmiteLeituraX").code, 0);  // COO 3, 16/03/2024

  ASSERT_EQ(send("EmiteLeituraFitaDetalhe", byDates("16/03/24", "16/03/2024")).code, 0);
  auto documents = ecfsim::splitDocuments(tape());
  std::string reading;
  for (const std::string& line : documents.back()) reading += line + "\n";
  EXPECT_NE(reading.find("PERÍODO: 16/03/2024 A 16/03/2024"), std::string::npos);
  EXPECT_NE(reading.find("COO:000003"), std::string::npos);
  EXPECT_EQ(reading.find("COO:000001"), std::string::npos);
  EXPECT_NE(reading.find("FIM DA LEITURA"), std::string::npos);

  ASSERT_EQ(send("EmiteLeituraFitaDetalhe", byCounters("1", "2")).code, 0);
  documents = ecfsim::splitDocuments(tape());
  reading.clear();
  for (const std::string& line : documents.back()) reading += line + "\n";
  EXPECT_NE(reading.find("COO: 000001 A 000002"), std::string::npos);
  EXPECT_NE(reading.find("COO:000001"), std::string::npos);
  EXPECT_NE(reading.find("REDUÇÃO Z"), std::string::npos);
  EXPECT_EQ(reading.find("LEITURA X"), std::string::npos);
  EXPECT_EQ(readInteger("COO"), "5");
}

TEST_F(DetailReading, EmptyOrReversedPeriodsAreRefusedAndPrintNothing) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "4.00", "1").code, 0);
  ASSERT_EQ(pay("Dinheiro", "4.00").code, 0);
  ASSERT_EQ(close().code, 0);
  const std::string paper = tape();
  struct Case {
    std::vector<P> params;
    int code;
    std::string circumstance;
  };
  const std::vector<Case> cases = {
      {byDates("01/03/24", "14/03/24"), 5, "Nenhum documento no intervalo."},
      {byCounters("2", "9"), 5, "Nenhum documento no intervalo."},
      {byDates("16/03/24", "15/03/24"), 5, "Data inicial posterior à data final."},
      {byCounters("2", "1"), 5, "Intervalo de COO inválido."},
      {byCounters("", "1"), 2, "Parâmetro obrigatório ausente: DataInicial ou COOInicial."},
  };
  for (const Case& c : cases) {
    const Answer answer = send("EmiteLeituraFitaDetalhe", c.params);
    EXPECT_EQ(answer.code, c.code) << c.circumstance;
    EXPECT_EQ(answer.circumstance, c.circumstance);
  }
  EXPECT_EQ(tape(), paper);
  EXPECT_EQ(readInteger("COO"), "1");
  EXPECT_EQ(readInteger("GNF"), "0");
}

}  // namespace
}  // namespace simtest

// The X reading and the Z reduction: one command each, nothing left over from earlier
// commands, and the Z reduction really closes the printer's fiscal day.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {
namespace {

using DayReadingsTest = NonFiscalTest;

// A parameter someone else left in the driver's pending list.
void leaveAParameterBehind() {
  ASSERT_EQ(Ecf_DLLG2_AdicionaParam(inCanalSerial, "Destino", "Arquivo", PARAMETRO_STRING), 0);
}

TEST_F(DayReadingsTest, TheXReadingAsksForTheReadingOnPaperAndKeepsTheDayOpen) {
  ASSERT_TRUE(Suprimento("", 10));  // opens the fiscal day
  const int cooBefore = printer().state()["counters"]["coo"];
  forgetWhatHappened();
  leaveAParameterBehind();

  EXPECT_TRUE(Leitura_X_Imp("ignored", "azul", "ignored"));

  EXPECT_EQ(sentNames(), std::vector<std::string>{"EmiteLeituraX"});
  const RecordedCommand reading = onlyCommand("EmiteLeituraX");
  EXPECT_EQ(sentParams(reading), (std::vector<SentParam>{{"Destino", "", PARAMETRO_STRING}}));
  EXPECT_EQ(std::string(stRetornoFuncao), reading.returned);
  EXPECT_EQ(newDebugLines(), std::vector<std::string>{"Comando Executado: EmiteLeituraX"});
  const nlohmann::json state = printer().state();
  EXPECT_EQ(state["counters"]["coo"], cooBefore + 1);
  EXPECT_EQ(state["counters"]["crz"], 0);
  EXPECT_TRUE(state["day"]["open"].get<bool>());
  // The day goes on: another supply is still taken.
  EXPECT_TRUE(Suprimento("", 5));
}

TEST_F(DayReadingsTest, TheZReductionSendsNoParametersAndClosesTheDay) {
  ASSERT_TRUE(Suprimento("", 10));
  const nlohmann::json before = printer().state();
  forgetWhatHappened();
  leaveAParameterBehind();

  EXPECT_TRUE(Reducao_Z_Imp("ignored", "azul", "ignored"));

  const RecordedCommand reduction = onlyCommand("EmiteReducaoZ");
  EXPECT_TRUE(reduction.params.empty());
  EXPECT_EQ(std::string(stRetornoFuncao), reduction.returned);
  EXPECT_EQ(newDebugLines(), std::vector<std::string>{"Comando Executado: EmiteReducaoZ"});
  EXPECT_TRUE(op().messages().empty());

  const nlohmann::json after = printer().state();
  EXPECT_EQ(after["counters"]["crz"], before["counters"]["crz"].get<int>() + 1);
  EXPECT_GT(after["counters"]["coo"].get<int>(), before["counters"]["coo"].get<int>());
  EXPECT_EQ(after["fiscalMemory"].size(), before["fiscalMemory"].size() + 1);
  EXPECT_EQ(after["totals"]["nonFiscal"], nlohmann::json(std::vector<long long>(15, 0)));

  // Nothing more that day; on the next date the first document opens a new day.
  EXPECT_FALSE(Suprimento("", 3));
  setClock(clock().addDays(1));
  forgetWhatHappened();
  EXPECT_TRUE(Suprimento("", 3));
  const nlohmann::json nextDay = printer().state();
  EXPECT_TRUE(nextDay["day"]["open"].get<bool>());
  EXPECT_NE(nextDay["day"]["openDate"], before["day"]["openDate"]);
}

TEST_F(DayReadingsTest, RefusedReadingsReturnFalseAfterTheMessage) {
  printer().refuseNext("EmiteLeituraX");
  EXPECT_FALSE(Leitura_X_Imp("", "verde", ""));
  expectRefusalShown("verde");
  EXPECT_EQ(newDebugLines(),
            (std::vector<std::string>{"Comando Executado: EmiteLeituraX", kRefusalLogLine}));

  forgetWhatHappened();
  const int reductions = printer().state()["counters"]["crz"];
  printer().refuseNext("EmiteReducaoZ");
  EXPECT_FALSE(Reducao_Z_Imp("", "verde", ""));
  expectRefusalShown("verde");
  EXPECT_EQ(sentNames(), std::vector<std::string>{"EmiteReducaoZ"});
  EXPECT_EQ(printer().state()["counters"]["crz"], reductions);
}

TEST_F(DayReadingsTest, TheLastReductionsDataIsNotOfferedAndNothingIsTouched) {
  const ecf::Variant values[] = {ecf::Variant("a"), ecf::Variant(1)};
  ecf::Variant packet("kept");
  ecf::Dataset dataset("cdsReducaoZ");
  dataset.setFieldDefs({ecf::FieldDef{"CRZ", ecf::FieldType::Integer, 0}});
  dataset.createDataSet();
  dataset.append();
  dataset.setValue("CRZ", ecf::Variant(7));
  dataset.post();

  EXPECT_FALSE(DadosUltimaRedZ(values, 1, packet, dataset));

  EXPECT_EQ(packet, ecf::Variant("kept"));
  EXPECT_EQ(dataset.recordCount(), 1);
  EXPECT_EQ(dataset.asText("CRZ"), "7");
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_TRUE(newDebugLines().empty());
}

}  // namespace
}  // namespace ecftest

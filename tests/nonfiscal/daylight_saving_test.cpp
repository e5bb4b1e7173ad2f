// The daylight-saving indicator as the printer answers it, and entering daylight-saving
// time, which always asks for entry whatever the printer's state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dayclose/daylight_indicator.h"
#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {
namespace {

using DaylightSavingTest = NonFiscalTest;

const std::string kReadLine = "Comando Executado: LeIndicador - NomeIndicador - HorarioVerao";

TEST(DaylightIndicator, OnlyA1AtThe24thCharacterMeansDaylightSaving) {
  EXPECT_TRUE(ecf::indicatesDaylightSaving("ValorIndicador=000000001"));
  EXPECT_TRUE(ecf::indicatesDaylightSaving("ValorIndicador=000000001 and more"));
  EXPECT_FALSE(ecf::indicatesDaylightSaving("ValorIndicador=000000000"));
  EXPECT_FALSE(ecf::indicatesDaylightSaving("ValorIndicador=00000000S"));
  EXPECT_FALSE(ecf::indicatesDaylightSaving("ValorIndicador=00000000T"));
  EXPECT_FALSE(ecf::indicatesDaylightSaving("ValorIndicador=0000001"));  // 22 characters
  EXPECT_FALSE(ecf::indicatesDaylightSaving("ValorIndicador=00000000"));  // 23 characters
  EXPECT_FALSE(ecf::indicatesDaylightSaving(""));
  // Characters, not bytes: with two accented letters the 24th character is still the 1.
  EXPECT_TRUE(ecf::indicatesDaylightSaving("ValorIndicadôr=0000000ç1"));
  EXPECT_FALSE(ecf::indicatesDaylightSaving("ValorIndicadôr=0000000ç0"));
}

TEST_F(DaylightSavingTest, TheReadFollowsThePrintersIndicator) {
  EXPECT_FALSE(Estado_HorVerao("azul"));
  const RecordedCommand read = onlyCommand("LeIndicador");
  EXPECT_EQ(sentParams(read),
            (std::vector<SentParam>{{"NomeIndicador", "HorarioVerao", PARAMETRO_STRING}}));
  EXPECT_EQ(newDebugLines(), (std::vector<std::string>{kReadLine, kReadLine + " - FALSE"}));

  printer().configure({{"daylightSaving", true}});
  forgetWhatHappened();
  EXPECT_TRUE(Estado_HorVerao("azul"));
  EXPECT_EQ(newDebugLines(), (std::vector<std::string>{kReadLine, kReadLine + " - TRUE"}));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(DaylightSavingTest, ARefusedReadIsNotDaylightSavingAndLogsNoVerdict) {
  printer().configure({{"daylightSaving", true}});
  printer().refuseNext("LeIndicador");

  EXPECT_FALSE(Estado_HorVerao("verde"));

  expectRefusalShown("verde");
  EXPECT_EQ(newDebugLines(), (std::vector<std::string>{kReadLine, kRefusalLogLine}));
}

TEST_F(DaylightSavingTest, EnteringAlwaysSendsTrueAsAnUnsignedInteger) {
  EXPECT_TRUE(Muda_Horario("azul"));
  EXPECT_EQ(sentParams(onlyCommand("AcertaHorarioVerao")),
            (std::vector<SentParam>{{"EntradaHV", "TRUE", PARAMETRO_UINT}}));
  EXPECT_EQ(newDebugLines(),
            std::vector<std::string>{"Comando Executado: AcertaHorarioVerao - EntradaHV - TRUE"});
  EXPECT_TRUE(printer().state()["conditions"]["daylightSaving"].get<bool>());
  EXPECT_TRUE(Estado_HorVerao("azul"));

  // Already in daylight-saving time: the same entry is sent, and the printer refuses it.
  forgetWhatHappened();
  EXPECT_FALSE(Muda_Horario("azul"));
  const RecordedCommand again = onlyCommand("AcertaHorarioVerao");
  EXPECT_EQ(sentParams(again), (std::vector<SentParam>{{"EntradaHV", "TRUE", PARAMETRO_UINT}}));
  EXPECT_GT(again.errorCode, 0);
  EXPECT_EQ(op().messages().size(), 1u);
}

}  // namespace
}  // namespace ecftest

// The fiscal date of the day being closed, as the printer writes its opening date, and a
// day opened before midnight and closed after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dayclose/dayclose_fixture.h"

namespace ecftest {
namespace {

using MovementDate = DayCloseTest;

TEST_F(MovementDate, TheOpeningDateInEveryLayoutOrToday) {
  const ecf::DateTime today = ecf::DateTime::fromParts(2026, 12, 8);
  const ecf::DateTime march15 = ecf::DateTime::fromParts(2026, 3, 15);
  struct Case {
    const char* returned;  // nullptr: the read is refused
    ecf::DateTime expected;
    const char* logged;    // the value line, nullptr when none
  };
  const std::vector<Case> cases = {
      {"ValorData=\"150326\"", march15, "150326"},
      {"ValorData=\"15/03/2026\"", march15, "15/03/2026"},
      {"ValorData=\"15/03/26\"", march15, "15/03/26"},
      {"ValorData=\"000000\"", today, "000000"},
      {"ValorData=", today, "000000"},
      {"ValorData=\"310226\"", today, "310226"},
      {"ValorData=\"15-03-26\"", today, "15-03-26"},
      {nullptr, today, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.returned ? c.returned : "refused");
    if (c.returned) {
      printer().scriptNextAnswer("LeData", 0, 0, c.returned);
    } else {
      printer().refuseNext("LeData");
    }
    markLog();
    EXPECT_EQ(DataMoviFiscal(kScheme), c.expected);
    std::vector<std::string> expectedLog = {"Comando Executado: LeData - DataAbertura"};
    if (c.logged) {
      expectedLog.push_back(std::string("Retorno da Impressora : ") + c.logged);
    } else {
      expectedLog.push_back(kRefusalLogLine);
    }
    EXPECT_EQ(newDebugLines(), expectedLog);
  }
  EXPECT_TRUE(op().messages().empty());
  const RecordedCommand read = printer().commandsNamed("LeData").back();
  EXPECT_EQ(sentParams(read), (std::vector<SentParam>{{"NomeData", "DataAbertura", PARAMETRO_STRING}}));
  // The value cut out replaces the printer's answer in the returns buffer.
  printer().scriptNextAnswer("LeData", 0, 0, "ValorData=\"150326\"");
  DataMoviFiscal(kScheme);
  EXPECT_STREQ(stRetornoFuncao, "150326");
}

TEST_F(MovementDate, ADayOpenedBeforeMidnightKeepsItsDateAfterIt) {
  setClock(ecf::DateTime::fromParts(2026, 12, 8, 23, 50, 0));
  ASSERT_TRUE(Suprimento("", 20.00));
  setClock(ecf::DateTime::fromParts(2026, 12, 9, 0, 10, 0));

  const ecf::DateTime opened = ecf::DateTime::fromParts(2026, 12, 8);
  EXPECT_EQ(DataMoviFiscal(kScheme), opened);
  ZDatasets z;
  ASSERT_TRUE(exportDay(z));
  for (const ecf::Dataset* dataset : {&z.day, &z.payments, &z.taxes, &z.nonFiscal}) {
    const ecf::DataPacket packet = dataset->data();
    ASSERT_GT(packet.rowCount(), 0u);
    for (std::size_t r = 0; r < packet.rowCount(); ++r) {
      EXPECT_EQ(packet.row(r)[1].toDateTime(), opened) << dataset->name();
    }
  }
  ASSERT_TRUE(Reducao_Z_Imp("", kScheme, ""));
  EXPECT_NE(lastDocument().find("MOVIMENTO DO DIA: 08/12/2026"), std::string::npos);
  // With the day closed, the next day to close is today's.
  EXPECT_EQ(DataMoviFiscal(kScheme), ecf::DateTime::fromParts(2026, 12, 9));
}

}  // namespace
}  // namespace ecftest

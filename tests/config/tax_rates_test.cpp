// The printer's tax rates as the host's table of ICMS rates.
#include <gmock/gmock.h>

#include "config/config_fixture.h"

namespace ecftest {
namespace {

using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::StartsWith;

struct RateRow {
  std::string code;
  double percentage;
  std::string kind;
  bool operator==(const RateRow&) const = default;
};

void PrintTo(const RateRow& row, std::ostream* out) {
  *out << "{" << row.code << ", " << row.percentage << ", " << row.kind << "}";
}

class TaxRatesTest : public ConfigTest {
 protected:
  // The table in the order of its active index.
  std::vector<RateRow> rateTable() {
    ecf::Dataset& table = dtmEcf01600->cdsAliqImpFis;
    std::vector<RateRow> rows;
    for (table.first(); !table.eof(); table.next()) {
      rows.push_back({table.asText("CDALIQIMPFIS"), table.asNumber("VRALIQIMPFIS"),
                      table.asText("IDALIQIMPFIS")});
    }
    return rows;
  }

  void load() {
    ecf::Dataset unused;
    CarregaAliquota("007", unused);
  }

  const RateRow kSubstitution{"-2", 0, "F"};
  const RateRow kExempt{"-3", 0, "I"};
  const RateRow kNotLevied{"-4", 0, "N"};
};

TEST_F(TaxRatesTest, APrinterWithoutRatesGivesOnlyTheThreeFixedRows) {
  setTaxRates({});
  load();
  EXPECT_EQ(dtmEcf01600->cdsAliqImpFis.indexName(), "IdxIdAliqVrAliq");
  EXPECT_THAT(rateTable(), ElementsAre(kSubstitution, kExempt, kNotLevied));
  // Code 0 is refused at once: nothing more is asked.
  EXPECT_EQ(sentValues("LeAliquota", "CodAliquotaProgramavel"), (std::vector<std::string>{"0"}));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(TaxRatesTest, OnlyIcmsRatesBecomeRowsOrderedByKindAndPercentage) {
  setTaxRates({{true, 1800}, {true, 700}, {false, 500}, {true, 1250}, {false, 1800}});
  for (const bool point : {false, true}) {
    if (point) useDecimalPoint();
    forgetWhatHappened();
    load();
    EXPECT_THAT(rateTable(), ElementsAre(kSubstitution, kExempt, kNotLevied, RateRow{"01", 7, "T"},
                                         RateRow{"03", 12.5, "T"}, RateRow{"00", 18, "T"}));
  }
  EXPECT_EQ(sentValues("LeAliquota", "CodAliquotaProgramavel"),
            (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
  EXPECT_THAT(sentParams(printer().commands().front()),
              ElementsAre(SentParam{"CodAliquotaProgramavel", "0", PARAMETRO_UINT}));
  const std::vector<std::string> lines = newDebugLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Comando Executado: LeAliquota - CodAliquotaProgramavel - 0");
  EXPECT_EQ(lines[5], "Comando Executado: LeAliquota - CodAliquotaProgramavel - 5");
}

TEST_F(TaxRatesTest, ARefusedReadEndsTheTableWithoutAMessage) {
  setTaxRates({{true, 1800}, {true, 1200}, {true, 700}, {true, 2500}});
  printer().refuseNth(3, "LeAliquota");
  load();
  EXPECT_THAT(rateTable(), ElementsAre(kSubstitution, kExempt, kNotLevied, RateRow{"01", 12, "T"},
                                       RateRow{"00", 18, "T"}));
  EXPECT_EQ(sentValues("LeAliquota", "CodAliquotaProgramavel"),
            (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(newDebugLines().back(), kNthRefusalLogLine);
}

TEST_F(TaxRatesTest, AnswersAreCutAtTheirKeysAndAGarbledOneIsLeftOut) {
  printer().scriptNextAnswer("LeAliquota", 0, 0,
                             "AliquotaICMS=Y CodAliquotaProgramavel=01 PercentualAliquota=7,00");
  printer().scriptNextAnswer("LeAliquota", 0, 0,
                             "AliquotaICMS=Y CodAliquotaProgramavel=02 PercentualAliquota=");
  printer().scriptNextAnswer("LeAliquota", 0, 0, "lixo");
  printer().scriptNextAnswer("LeAliquota", 0, 0,
                             "AliquotaICMS=N CodAliquotaProgramavel=04 PercentualAliquota=7,00");
  printer().refuseNext("LeAliquota");
  load();
  EXPECT_THAT(rateTable(), ElementsAre(kSubstitution, kExempt, kNotLevied, RateRow{"01", 7, "T"}));
}

TEST_F(TaxRatesTest, AnIcmsRateIsMarkedByARateOfTheOtherKindNeverAcrossTwoOfThem) {
  // Non-ICMS entries "0305,00" and "0402,00" run together as "...,000402...", which
  // holds "0004" without any rate being code 00 at 04 %.
  setTaxRates({{true, 400}, {true, 1800}, {true, 1200}, {false, 500}, {false, 200}});
  load();
  EXPECT_THAT(rateTable(), ElementsAre(kSubstitution, kExempt, kNotLevied, RateRow{"00", 4, "T"},
                                       RateRow{"02", 12, "T"}, RateRow{"01", 18, "T"}));

  // The same code answered as both kinds is the one real match.
  forgetWhatHappened();
  printer().scriptNextAnswer("LeAliquota", 0, 0,
                             "AliquotaICMS=Y CodAliquotaProgramavel=00 PercentualAliquota=18,00");
  printer().scriptNextAnswer("LeAliquota", 0, 0,
                             "AliquotaICMS=N CodAliquotaProgramavel=00 PercentualAliquota=18,50");
  printer().refuseNext("LeAliquota");
  load();
  EXPECT_THAT(rateTable(), ElementsAre(kSubstitution, kExempt, kNotLevied, RateRow{"00", 18, "S"}));
}

TEST_F(TaxRatesTest, CheckingTheRatesReadsThemAllQuietlyAndKeepsNothing) {
  setTaxRates({{true, 1800}, {true, 700}});
  load();
  const std::vector<RateRow> before = rateTable();
  setTaxRates({{true, 2500}});
  forgetWhatHappened();
  EXPECT_FALSE(Retorno_Aliquotas_Imp("007"));
  EXPECT_EQ(sentValues("LeAliquota", "CodAliquotaProgramavel"),
            (std::vector<std::string>{"0", "1"}));
  // No command lines: only the printer's refusal of code 1.
  EXPECT_THAT(newDebugLines(), ElementsAre(Not(StartsWith("Comando Executado"))));
  EXPECT_EQ(rateTable(), before);
  EXPECT_TRUE(op().messages().empty());
}

}  // namespace
}  // namespace ecftest

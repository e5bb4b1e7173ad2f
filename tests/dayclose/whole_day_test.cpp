// A day of sales exported before its Z reduction: every field of the four datasets
// against the amounts rung up and against what the Z reduction then prints, under a
// host writing decimal commas and one writing decimal points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dayclose/dayclose_fixture.h"

namespace ecftest {
namespace {

class WholeDayExport : public DayCloseTest, public ::testing::WithParamInterface<bool> {
 protected:
  // Supply, four receipts (one cancelled), withdrawal. Amounts in the comments.
  void ringUpTheDay() {
    ASSERT_TRUE(Suprimento("", 150.00));
    // 2 x 10,00 at 18 % + 15,50 at 7 %, discount 0,50 (0,29 / 0,21): 35,00.
    openReceipt();
    sell("0", "10,00", "2");
    sell("2", "15,50");
    adjust("-0,50");
    pay("Cartao", "20,00");
    pay("Dinheiro", "20,00");  // change 5,00
    closeReceipt();
    // 8,90 at 12 % + 4,00 exempt, surcharge 1,00 (0,69 / 0,31): 13,90.
    openReceipt();
    sell("1", "8,90");
    sell("-3", "4,00");
    adjust("1,00");
    pay("Cartão", "13,90");
    closeReceipt();
    // 12,00 of service at 5 % ISSQN, by cheque.
    openReceipt();
    sell("4", "12,00", "1", false);
    pay("Cheque", "12,00");
    closeReceipt();
    // 30,00 paid in cash, then cancelled.
    openReceipt();
    sell("0", "30,00");
    pay("Dinheiro", "30,00");
    closeReceipt();
    ASSERT_EQ(send("CancelaCupom"), 0);
    ecf::Dataset unused;
    ASSERT_TRUE(Sangria("", "", 50.00, unused));
  }
};

TEST_P(WholeDayExport, EveryFieldMatchesTheDayAndTheZReductionThatFollows) {
  if (GetParam()) useDecimalPoint();
  ringUpTheDay();
  const nlohmann::json before = printer().state();
  ASSERT_EQ(before["counters"]["coo"], 7);
  forget();

  ZDatasets z;
  ASSERT_TRUE(exportDay(z));

  // The day's record.
  const std::vector<std::string> counters = {"NRECFREDZ",    "NRREINIREDZ", "NRREDREDZ",
                                             "NRLEITREDZ",   "NRGERCNFREDZ", "NRCANCFREDZ",
                                             "NRPRIMCFREDZ", "NRULTCFREDZ"};
  EXPECT_EQ(rows(z.day, counters),
            (std::vector<std::vector<std::string>>{{"0007", "1", "0000000000", "", "000002", "1",
                                                    "0000000001", "0000000008"}}));
  EXPECT_EQ(z.day.data().row(0)[1].toDateTime(), ecf::DateTime::fromParts(2026, 12, 8));
  struct Amount {
    const char* field;
    double value;
    const char* printedLabel;  // the Z reduction's line, when it prints this amount
  };
  const std::vector<Amount> amounts = {
      {"VRVENBRUREDZ", 91.40, "VENDA BRUTA DIÁRIA"},  {"VRTOTCANREDZ", 30.00, "CANCELAMENTO ICMS"},
      {"VRTOTDESREDZ", 0.50, "DESCONTO ICMS"},        {"VRTOTACRREDZ", 1.00, "ACRÉSCIMO ICMS"},
      {"VRVENLIQREDZ", 60.90, "VENDA LÍQUIDA"},       {"VRGTREDZ", 91.40, "GRANDE TOTAL"},
      {"VRISSREDZ", 0.60, nullptr},                   {"VRSTRIBREDZ", 0.00, "F1 SUBSTITUIÇÃO TRIBUTÁRIA"},
      {"VRISENCREDZ", 4.31, "I1 ISENÇÃO"},            {"VRNINCIDREDZ", 0.00, "N1 NÃO INCIDÊNCIA"}};
  for (const Amount& amount : amounts) {
    EXPECT_DOUBLE_EQ(number(z.day, 0, amount.field), amount.value) << amount.field;
  }

  // Payment types: cash, both card methods in one row, the cheque; the host's ticket and
  // the printer's meal voucher have nothing in common.
  EXPECT_EQ(rows(z.payments, {"NRECFREDZ", "CDTIPORECE", "CDTPRECEORIG"}),
            (std::vector<std::vector<std::string>>{
                {"0007", "001", "001"}, {"0007", "002", "002"}, {"0007", "003", "003"}}));
  EXPECT_DOUBLE_EQ(number(z.payments, 0, "VRFORMPGTORZ"), 115.00);  // 150 + 15 - 50
  EXPECT_DOUBLE_EQ(number(z.payments, 1, "VRFORMPGTORZ"), 33.90);   // 20,00 + 13,90
  EXPECT_DOUBLE_EQ(number(z.payments, 2, "VRFORMPGTORZ"), 12.00);

  // Taxes: every programmed rate, in slot order, the base brought back from the tax.
  EXPECT_EQ(rows(z.taxes, {"CDALIQIMPRZ", "IDTPIMPREDZ"}),
            (std::vector<std::vector<std::string>>{
                {"00", "T"}, {"01", "T"}, {"02", "T"}, {"03", "T"}, {"04", "T"}}));
  const std::vector<std::vector<double>> taxes = {
      {18.00, 3.55}, {12.00, 1.15}, {7.00, 1.07}, {25.00, 0.00}, {5.00, 0.60}};
  for (std::size_t r = 0; r < taxes.size(); ++r) {
    EXPECT_DOUBLE_EQ(number(z.taxes, r, "VRALIQIMPRZ"), taxes[r][0]) << r;
    EXPECT_DOUBLE_EQ(number(z.taxes, r, "VRIMPOSTORZ"), taxes[r][1]) << r;
    EXPECT_DOUBLE_EQ(number(z.taxes, r, "VRBCALCIMPRZ"), taxes[r][1] * 100 / taxes[r][0]) << r;
  }

  // The module's totalizers, with the day's supply and withdrawal.
  const auto totalizers = rows(z.nonFiscal, {"NRTOTNFISCRZ", "DSTOTNFISCRZ", "NRCONTOTNFIS"});
  ASSERT_GE(totalizers.size(), 2u);
  EXPECT_EQ(totalizers[0], (std::vector<std::string>{"00", "Suprimento", ""}));
  EXPECT_EQ(totalizers[1], (std::vector<std::string>{"01", "Sangria", ""}));
  EXPECT_DOUBLE_EQ(number(z.nonFiscal, 0, "VRACUTOTNFIS"), 150.00);
  EXPECT_DOUBLE_EQ(number(z.nonFiscal, 1, "VRACUTOTNFIS"), 50.00);
  for (std::size_t r = 2; r < totalizers.size(); ++r) {
    EXPECT_DOUBLE_EQ(number(z.nonFiscal, r, "VRACUTOTNFIS"), 0.0) << totalizers[r][1];
  }
  for (const std::string& name : printer().commandNames()) {
    EXPECT_EQ(name.rfind("Le", 0), 0u) << name << ": the export only reads";
  }
  EXPECT_TRUE(op().messages().empty());

  // The Z reduction that follows prints the same day.
  ASSERT_TRUE(Reducao_Z_Imp("", kScheme, ""));
  const std::string zReduction = lastDocument();
  ASSERT_NE(zReduction.find("REDUÇÃO Z"), std::string::npos);
  EXPECT_NE(zReduction.find("COO:000008"), std::string::npos) << zReduction;
  EXPECT_NE(zReduction.find("MOVIMENTO DO DIA: 08/12/2026"), std::string::npos);
  for (const Amount& amount : amounts) {
    if (amount.printedLabel == nullptr) continue;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", amount.value);
    std::string expected = text;
    expected.replace(expected.find('.'), 1, ",");
    EXPECT_EQ(printedAmount(zReduction, amount.printedLabel), expected) << amount.printedLabel;
  }
  EXPECT_EQ(printedAmount(zReduction, "Dinheiro"), "115,00");
  EXPECT_EQ(printedAmount(zReduction, "Cartao"), "20,00");
  EXPECT_EQ(printedAmount(zReduction, "Cartão"), "13,90");
  EXPECT_EQ(printedAmount(zReduction, "Cheque"), "12,00");
  EXPECT_EQ(printedAmount(zReduction, "00 Suprimento"), "150,00");
  EXPECT_EQ(printedAmount(zReduction, "01 Sangria"), "50,00");
  for (const char* rate : {"T00 18,00%                       19,71  IMP 3,55",
                           "T01 12,00%                        9,59  IMP 1,15",
                           "T02 7,00%                        15,29  IMP 1,07",
                           "S04 5,00%                        12,00  IMP 0,60"}) {
    EXPECT_NE(zReduction.find(rate), std::string::npos) << rate;
  }
  const nlohmann::json recorded = printer().state()["fiscalMemory"].back();
  EXPECT_EQ(recorded["coo"], 8);
  EXPECT_EQ(recorded["cooStartOfDay"], 1);
  EXPECT_EQ(recorded["grandTotal"], 9140);
  EXPECT_EQ(recorded["totals"]["cash"], 11500);
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, WholeDayExport, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Point" : "Comma"; });

}  // namespace
}  // namespace ecftest

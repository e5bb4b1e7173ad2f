// The printer's value texts: money and quantities, typed parameters, port names.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/money.h"
#include "core/params.h"
#include "core/state_store.h"

namespace {

using ecfsim::Param;

TEST(Money, DecimalTextsWithACommaOrAPoint) {
  EXPECT_EQ(ecfsim::parseDecimal("12,5"), 12500);
  EXPECT_EQ(ecfsim::parseDecimal("12.50"), 12500);
  EXPECT_EQ(ecfsim::parseDecimal("-0,125"), -125);
  EXPECT_EQ(ecfsim::parseDecimal(",5"), 500);
  EXPECT_EQ(ecfsim::parseDecimal("7"), 7000);
  for (const char* bad : {"", "-", "5,", "1.000,00", "1,2345", "1 000", "+1", "abc", "1e3",
                          "1234567890123"}) {
    EXPECT_FALSE(ecfsim::parseDecimal(bad).has_value()) << bad;
  }
  EXPECT_EQ(ecfsim::wholeCents(12340), 1234);
  EXPECT_FALSE(ecfsim::wholeCents(12345).has_value());
}

TEST(Money, TotalsTruncateTaxRoundsAndTextsKeepTwoDecimals) {
  EXPECT_EQ(ecfsim::itemTotal(2000, 3335), 667);          // 2 × 3,335 = 6,67
  EXPECT_EQ(ecfsim::itemTotal(3000, 3335), 1000);         // 10,005 → 10,00
  EXPECT_EQ(ecfsim::itemTotal(99'999'999, 9'999'999'999), 99'999'998'990'000);
  EXPECT_EQ(ecfsim::percentOf(650, 1800), 117);           // 1,17
  EXPECT_EQ(ecfsim::percentOf(5, 5000), 3);               // 2,5 cents → 3
  EXPECT_EQ(ecfsim::percentOf(-5, 5000), -3);
  EXPECT_EQ(ecfsim::formatCents(0), "0,00");
  EXPECT_EQ(ecfsim::formatCents(123456), "1.234,56");
  EXPECT_EQ(ecfsim::formatCents(123456, false), "1234,56");
  EXPECT_EQ(ecfsim::formatCents(-5), "-0,05");
  EXPECT_EQ(ecfsim::formatCents(100'000'000'00), "100.000.000,00");
  EXPECT_EQ(ecfsim::formatQuantity(500), "0,500");
  EXPECT_EQ(ecfsim::formatUnitPrice(3500), "3,50");
  EXPECT_EQ(ecfsim::formatUnitPrice(3335), "3,335");
  EXPECT_EQ(ecfsim::formatPercent(700), "7,00");
}

int refusal(const std::vector<Param>& params) {
  try {
    ecfsim::validateParams(params);
    return 0;
  } catch (const ecfsim::CommandError& e) {
    return static_cast<int>(e.code());
  }
}

TEST(Params, ValuesAreCheckedAgainstTheirTypeCodes) {
  for (const char* yes : {"Y", "y", "S", "T", "t"}) {
    EXPECT_EQ(refusal({{"X", yes, 0}}), 0) << yes;
    EXPECT_TRUE(*ecfsim::parseIndicator(yes));
  }
  for (const char* no : {"N", "F", "f"}) EXPECT_FALSE(*ecfsim::parseIndicator(no));
  EXPECT_EQ(refusal({{"X", "Sim", 0}}), 3);
  EXPECT_EQ(refusal({{"X", "15/03/24", 2}}), 0);
  EXPECT_EQ(refusal({{"X", "29/02/2024", 2}}), 0);
  EXPECT_EQ(refusal({{"X", "29/02/2023", 2}}), 3);
  EXPECT_EQ(refusal({{"X", "2024-03-15", 2}}), 3);
  EXPECT_EQ(refusal({{"X", "10:30", 3}}), 0);
  EXPECT_EQ(refusal({{"X", "23:59:59", 3}}), 0);
  EXPECT_EQ(refusal({{"X", "24:00", 3}}), 3);
  EXPECT_EQ(refusal({{"X", "-2147483648", 4}}), 0);
  EXPECT_EQ(refusal({{"X", "2147483648", 5}}), 3);
  EXPECT_EQ(refusal({{"X", "4294967295", 10}}), 0);
  EXPECT_EQ(refusal({{"X", "4294967296", 9}}), 3);
  EXPECT_EQ(refusal({{"X", "-1", 9}}), 3);
  EXPECT_EQ(refusal({{"X", "1,5", 6}}), 0);
  EXPECT_EQ(refusal({{"X", "1,5", 4}}), 3);
  EXPECT_EQ(refusal({{"X", "", 9}}), 0);  // empty: an absent optional parameter
  EXPECT_EQ(refusal({{"X", "1", 8}}), 4);
  EXPECT_EQ(refusal({{"X", "1", 1}}), 4);
}

TEST(Params, TheModulesOwnUnsignedExceptionsAreAcceptedWhereItSendsThem) {
  EXPECT_EQ(refusal({{"CodMeioPagamentoProgram", "-2", 9}}), 0);
  EXPECT_EQ(refusal({{"codmeiopagamento", "-2", 9}}), 0);
  EXPECT_EQ(refusal({{"CodMeioPagamento", "-3", 9}}), 3);
  EXPECT_EQ(refusal({{"CodAliquota", "-4", 9}}), 0);
  EXPECT_EQ(refusal({{"CodNaoFiscal", "-2", 9}}), 3);
  EXPECT_EQ(refusal({{"EntradaHV", "TRUE", 9}}), 0);
  EXPECT_EQ(refusal({{"EntradaHV", "false", 9}}), 0);
  EXPECT_EQ(refusal({{"Quantidade", "TRUE", 9}}), 3);
  const std::vector<Param> hv = {{"EntradaHV", "TRUE", 9}};
  EXPECT_TRUE(*ecfsim::Args(hv).indicator("entradahv"));
}

TEST(StateRoot, PortTextsBecomePlainDirectoryNames) {
  const bool plain = false;
  EXPECT_EQ(ecfsim::sanitizePortName("COM1", plain), "COM1");
  EXPECT_EQ(ecfsim::sanitizePortName("", plain), "default");
  EXPECT_EQ(ecfsim::sanitizePortName("/dev/ttyS0", plain), "_dev_ttyS0");
  EXPECT_EQ(ecfsim::sanitizePortName("..", plain), "_.");
  EXPECT_EQ(ecfsim::sanitizePortName("../../etc", plain), "_.__._etc");
  EXPECT_EQ(ecfsim::sanitizePortName("a...b", plain), "a__.b");
  EXPECT_EQ(ecfsim::sanitizePortName(std::string(100, 'x'), plain).size(), 64u);
}

// Where device names are reserved, a port text that would name a device gets a leading
// "_"; anything merely close to one keeps its name.
TEST(StateRoot, PortTextsNamingADeviceGetALeadingUnderscoreWhereDevicesAreReserved) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"COM1", "_COM1"},     {"com9", "_com9"},   {"LPT0", "_LPT0"},     {"nul", "_nul"},
      {"CON.txt", "_CON.txt"}, {"Aux.", "_Aux."}, {"PRN", "_PRN"},       {"COM1:", "COM1_"},
      {"COM10", "COM10"},    {"CONSOLE", "CONSOLE"}, {"ECF1", "ECF1"}, {"", "default"},
      {"/dev/ttyS0", "_dev_ttyS0"}};
  for (const auto& [port, directory] : cases) {
    EXPECT_EQ(ecfsim::sanitizePortName(port, true), directory) << port;
  }
  EXPECT_EQ(ecfsim::sanitizePortName("COM1"), ecfsim::platform::kDeviceNamesReserved ? "_COM1" : "COM1");
}

}  // namespace

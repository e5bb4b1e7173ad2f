// Every number path runs under a decimal comma and a decimal point. Expected texts are
// written the Brazilian way and swapped for the decimal-point host.
#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <stdexcept>

#include "base/numberformat.h"

namespace ecf {

// Names the settings in failure messages instead of dumping their bytes.
void PrintTo(const HostSettings& settings, std::ostream* out) {
  *out << "decimal separator '" << settings.decimalSeparator << "'";
}

namespace {

class NumberFormat : public ::testing::TestWithParam<HostSettings> {
 protected:
  const HostSettings& settings() const { return GetParam(); }
  // "1.234,50" as this host writes it.
  std::string local(std::string brazilian) const {
    if (settings().decimalSeparator == ',') return brazilian;
    for (char& ch : brazilian) {
      if (ch == ',') {
        ch = '.';
      } else if (ch == '.') {
        ch = ',';
      }
    }
    return brazilian;
  }
};

TEST_P(NumberFormat, Patterns) {
  EXPECT_EQ(formatPattern("#0.000", 1.23456, settings()), local("1,235"));
  EXPECT_EQ(formatPattern("0.00", -1.5, settings()), local("-1,50"));
  EXPECT_EQ(formatPattern("0.00", -0.001, settings()), local("0,00")) << "no negative zero";
  EXPECT_EQ(formatPattern("0.00", -0.005, settings()), local("-0,01"));
  EXPECT_EQ(formatPattern("#0.00", 2.675, settings()), local("2,68"));
  EXPECT_EQ(formatPattern("#0.00", 1.005, settings()), local("1,01"));
  EXPECT_EQ(formatPattern("#0.00", 0.0, settings()), local("0,00"));
  EXPECT_EQ(formatPattern("0.00", 1234567.891, settings()), local("1234567,89"));
  EXPECT_EQ(formatPattern("#0.000", 0.0005, settings()), local("0,001"));
  EXPECT_EQ(formatPattern("#,##0.00", 1234567.5, settings()), local("1.234.567,50"));
  EXPECT_EQ(formatPattern("0.##", 2.5, settings()), local("2,5"));
  EXPECT_EQ(formatPattern("0.##", 2.0, settings()), "2");
  EXPECT_EQ(formatPattern("", 2.5, settings()), local("2,5"));
  EXPECT_THROW(formatPattern("0.00%", 1.0, settings()), std::invalid_argument);
}

TEST_P(NumberFormat, FixedWithPrecision) {
  EXPECT_EQ(formatFixed(12.5, 15, 2, settings()), local("12,50"));
  EXPECT_EQ(formatFixed(-3, 15, 2, settings()), local("-3,00"));
  EXPECT_EQ(formatFixed(1234.5, 15, 2, settings()), local("1234,50")) << "no grouping";
  EXPECT_EQ(formatFixed(0.005, 15, 2, settings()), local("0,01"));
  EXPECT_EQ(formatFixed(-0.004, 15, 2, settings()), local("0,00"));
  EXPECT_EQ(formatFixed(1234567890123.456, 15, 2, settings()), local("1234567890123,46"));
  EXPECT_EQ(formatFixed(1234567890123.456, 13, 2, settings()), local("1234567890123,00"))
      << "precision 13 leaves no significant digit for the decimals";
  EXPECT_EQ(formatFixed(1e20, 15, 2, settings()), "1E20");
}

TEST_P(NumberFormat, Currency) {
  EXPECT_EQ(formatCurrency(1234.5, settings()), local("R$ 1.234,50"));
  EXPECT_EQ(formatCurrency(-1234.5, settings()), local("-R$ 1.234,50"));
  EXPECT_EQ(formatCurrency(1234567.891, settings()), local("R$ 1.234.567,89"));
  EXPECT_EQ(formatCurrency(100, settings()), local("R$ 100,00"));
  EXPECT_EQ(formatCurrency(0.005, settings()), local("R$ 0,01"));
  EXPECT_EQ(formatCurrency(-0.001, settings()), local("R$ 0,00"));
  HostSettings other = settings();
  other.currencyFormat = 0;
  EXPECT_EQ(formatCurrency(1234.5, other), local("R$1.234,50"));
  other.currencyFormat = 1;
  EXPECT_EQ(formatCurrency(1234.5, other), local("1.234,50R$"));
  other.currencyFormat = 3;
  EXPECT_EQ(formatCurrency(-1234.5, other), local("-1.234,50 R$"));
}

TEST_P(NumberFormat, GeneralFloatToText) {
  EXPECT_EQ(floatToText(1234.5, settings()), local("1234,5"));
  EXPECT_EQ(floatToText(0.1, settings()), local("0,1"));
  EXPECT_EQ(floatToText(0.1 + 0.2, settings()), local("0,3"));
  EXPECT_EQ(floatToText(-2.5, settings()), local("-2,5"));
  EXPECT_EQ(floatToText(100, settings()), "100");
  EXPECT_EQ(floatToText(0.0, settings()), "0");
  EXPECT_EQ(floatToText(-0.0, settings()), "0");
  EXPECT_EQ(floatToText(1.0 / 3, settings()), local("0,333333333333333"));
  EXPECT_EQ(floatToText(0.00001, settings()), local("0,00001"));
  EXPECT_EQ(floatToText(0.000001, settings()), "1E-6");
  EXPECT_EQ(floatToText(1.5e-7, settings()), local("1,5E-7"));
  EXPECT_EQ(floatToText(123456789012345.0, settings()), "123456789012345");
  EXPECT_EQ(floatToText(1234567890123456.0, settings()), local("1,23456789012346E15"));
  EXPECT_EQ(floatToText(1e20, settings()), "1E20");
  EXPECT_EQ(floatToText(std::numeric_limits<double>::quiet_NaN(), settings()), "NAN");
}

TEST_P(NumberFormat, TextToFloat) {
  EXPECT_EQ(textToFloat(local("1234,5"), settings()), 1234.5);
  EXPECT_EQ(textToFloat(local("  -12,25 "), settings()), -12.25);
  EXPECT_EQ(textToFloat("+3", settings()), 3.0);
  EXPECT_EQ(textToFloat(local(",5"), settings()), 0.5);
  EXPECT_EQ(textToFloat("1E3", settings()), 1000.0);
  EXPECT_EQ(textToFloat(local("2,5e-2"), settings()), 0.025);
  for (const char* bad : {"", "   ", "abc", "1.234,5", "12,5x", ",", "-", "1E", "1e999", "1 2"}) {
    EXPECT_THROW(textToFloat(local(bad), settings()), ConversionError) << bad;
  }
  for (const double value : {1234.5, 0.1, -2.675, 1e20, 1.5e-7}) {
    EXPECT_EQ(textToFloat(floatToText(value, settings()), settings()), value);
  }
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, NumberFormat,
                         ::testing::Values(HostSettings::brazilian(), HostSettings::decimalPoint()),
                         [](const auto& info) {
                           return info.param.decimalSeparator == ',' ? std::string("Comma")
                                                                     : std::string("Point");
                         });

TEST(NumberFormatErrors, MessageQuotesTheText) {
  try {
    textToFloat("doze", HostSettings::brazilian());
    FAIL() << "no ConversionError";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'doze' não é um número válido");
  }
}

}  // namespace
}  // namespace ecf

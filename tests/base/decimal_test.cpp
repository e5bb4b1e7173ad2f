// Amounts are rounded and cut on the value as typed, never on its binary approximation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/decimal.h"

namespace ecf {
namespace {

TEST(Decimal, RoundDecIsHalfAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(roundDec(2.675, 2), 2.68);  // binary 2.67499999...
  EXPECT_EQ(roundDec(1.005, 2), 1.01);  // binary 1.00499999...
  EXPECT_EQ(roundDec(-2.675, 2), -2.68);
  EXPECT_EQ(roundDec(-1.005, 2), -1.01);
  EXPECT_EQ(roundDec(0.125, 2), 0.13);
  EXPECT_EQ(roundDec(2.5, 0), 3.0);
  EXPECT_EQ(roundDec(-0.5, 0), -1.0);
  EXPECT_EQ(roundDec(9.995, 2), 10.0);
  EXPECT_EQ(roundDec(99.9951, 2), 100.0);
  EXPECT_EQ(roundDec(0.1 + 0.2, 2), 0.3);
  EXPECT_EQ(roundDec(1234.5678, -2), 1200.0);
  EXPECT_EQ(roundDec(12.3, 4), 12.3);
  // The double just below 1.005 is a different decimal and rounds down.
  EXPECT_EQ(roundDec(std::nextafter(1.005, 0.0), 2), 1.0);
}

TEST(Decimal, RoundingToZeroHasNoSign) {
  const double rounded = roundDec(-0.004, 2);
  EXPECT_EQ(rounded, 0.0);
  EXPECT_FALSE(std::signbit(rounded));
  EXPECT_FALSE(std::signbit(trunc2(-0.009)));
}

TEST(Decimal, TruncCutsTheDecimalValue) {
  EXPECT_EQ(trunc2(0.29), 0.29);  // 0.29 * 100 is 28.999999999999996 in binary
  EXPECT_EQ(trunc2(1.15), 1.15);
  EXPECT_EQ(trunc2(10.999), 10.99);
  EXPECT_EQ(trunc2(-1.559), -1.55);
  EXPECT_EQ(trunc2(4.35), 4.35);
  EXPECT_EQ(trunc3(1.2345), 1.234);
  EXPECT_EQ(trunc3(0.057), 0.057);
  EXPECT_EQ(trunc3(2.0009), 2.0);
  EXPECT_EQ(trunc2(0.001), 0.0);
  EXPECT_EQ(trunc2(123456789.129), 123456789.12);
}

TEST(Decimal, ExtremesPassThrough) {
  EXPECT_EQ(roundDec(1e20, 2), 1e20);
  EXPECT_EQ(trunc2(1.7e308), 1.7e308);
  EXPECT_EQ(roundDec(5e-324, 2), 0.0);
  EXPECT_TRUE(std::isnan(roundDec(std::numeric_limits<double>::quiet_NaN(), 2)));
  EXPECT_EQ(trunc3(std::numeric_limits<double>::infinity()),
            std::numeric_limits<double>::infinity());
}

TEST(Decimal, PlainFixedText) {
  EXPECT_EQ(plainFixedText(toDecimal(1234.5), 2), "1234.50");
  EXPECT_EQ(plainFixedText(toDecimal(0.0049), 2), "0.00");
  EXPECT_EQ(plainFixedText(toDecimal(-0.001), 2), "0.00");
  EXPECT_EQ(plainFixedText(toDecimal(-0.005), 2), "-0.01");
  EXPECT_EQ(plainFixedText(toDecimal(0.05), 0), "0");
  EXPECT_EQ(plainFixedText(toDecimal(0.5), 0), "1");
  EXPECT_EQ(plainFixedText(toDecimal(1e20), 1), "100000000000000000000.0");
}

}  // namespace
}  // namespace ecf

// Civil dates without time zones: day arithmetic across month, year and leap-day
// boundaries, and dates written and read under the host's settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "base/dateformat.h"
#include "ecf/datetime.h"

namespace ecf {
namespace {

std::string show(const DateTime& value) {
  return formatDateTime("dd/mm/yyyy hh:nn:ss.zzz", value, HostSettings{});
}

TEST(DateTime, ZeroIsThe30thOfDecember1899ASaturday) {
  const DateTime zero;
  EXPECT_EQ(show(zero), "30/12/1899 00:00:00.000");
  EXPECT_EQ(DateTime::fromParts(1899, 12, 30), zero);
  EXPECT_EQ(zero.dayOfWeek(), 7);
  EXPECT_EQ(zero.addDays(1).dayOfWeek(), 1);
  EXPECT_EQ(DateTime::fromParts(2024, 1, 1).dayOfWeek(), 2);  // a Monday
  EXPECT_EQ(DateTime::fromParts(2024, 1, 1).toDays(), 45292.0);
}

TEST(DateTime, ArithmeticCrossesMonthYearAndLeapDays) {
  const DateTime feb28 = DateTime::fromParts(2024, 2, 28, 10, 30);
  EXPECT_EQ(show(feb28.addDays(1)), "29/02/2024 10:30:00.000");
  EXPECT_EQ(show(feb28.addDays(2)), "01/03/2024 10:30:00.000");
  EXPECT_EQ(show(DateTime::fromParts(2023, 2, 28).addDays(1)), "01/03/2023 00:00:00.000");
  EXPECT_EQ(show(DateTime::fromParts(1900, 2, 28).addDays(1)), "01/03/1900 00:00:00.000");
  EXPECT_EQ(show(DateTime::fromParts(2024, 3, 1).addDays(-366)), "01/03/2023 00:00:00.000");
  const DateTime lastMilli = DateTime::fromParts(2023, 12, 31, 23, 59, 59, 999);
  EXPECT_EQ(show(lastMilli.addMillis(1)), "01/01/2024 00:00:00.000");
  EXPECT_EQ(show(DateTime::fromParts(2024, 1, 1).addMinutes(-1)), "31/12/2023 23:59:00.000");
  EXPECT_EQ(lastMilli.date(), DateTime::fromParts(2023, 12, 31));
  EXPECT_EQ(DateTime::fromParts(2024, 1, 1).millisUntil(DateTime::fromParts(2024, 1, 2, 0, 1)),
            86'460'000);
  EXPECT_TRUE(DateTime::isValid(2000, 2, 29));
  EXPECT_FALSE(DateTime::isValid(1900, 2, 29));
  EXPECT_FALSE(DateTime::isValid(2100, 2, 29));
}

TEST(DateTime, DayNumbersAndUnixTime) {
  EXPECT_EQ(show(DateTime::fromDays(45292.5)), "01/01/2024 12:00:00.000");
  EXPECT_EQ(DateTime::fromDays(45292.5).toDays(), 45292.5);
  // Before the zero the time of day is still the unsigned fraction.
  EXPECT_EQ(show(DateTime::fromDays(-1.25)), "29/12/1899 06:00:00.000");
  EXPECT_EQ(DateTime::fromDays(-1.25).toDays(), -1.25);
  EXPECT_EQ(show(DateTime::fromParts(1800, 7, 4, 12, 1, 2, 3)), "04/07/1800 12:01:02.003");
  EXPECT_EQ(show(DateTime::fromUnixMillis(0)), "01/01/1970 00:00:00.000");
  EXPECT_EQ(show(DateTime::fromUnixMillis(1'704'067'200'123)), "01/01/2024 00:00:00.123");
}

TEST(DateTime, ImpossibleValuesAreRefused) {
  EXPECT_THROW(DateTime::fromParts(2024, 13, 1), std::invalid_argument);
  EXPECT_THROW(DateTime::fromParts(2024, 4, 31), std::invalid_argument);
  EXPECT_THROW(DateTime::fromParts(2023, 2, 29), std::invalid_argument);
  EXPECT_THROW(DateTime::fromParts(2024, 1, 1, 24), std::invalid_argument);
  EXPECT_THROW(DateTime::fromParts(2024, 1, 1, 0, 0, 60), std::invalid_argument);
  EXPECT_THROW(DateTime::fromParts(0, 1, 1), std::invalid_argument);
  EXPECT_THROW(DateTime::fromDays(std::nan("")), std::invalid_argument);
  EXPECT_THROW(DateTime::fromDays(1e300), std::invalid_argument);
  EXPECT_THROW(DateTime::fromParts(9999, 12, 31).addDays(1), std::out_of_range);
  EXPECT_THROW(DateTime().addMinutes(INT64_MAX), std::out_of_range);
}

TEST(DateFormat, PatternsTheOperationsUse) {
  const HostSettings settings;
  const DateTime when = DateTime::fromParts(2024, 2, 9, 7, 5, 3, 45);
  EXPECT_EQ(formatDateTime("dd/mm/yyyy hh:nn:ss", when, settings), "09/02/2024 07:05:03");
  EXPECT_EQ(formatDateTime("MMYY", when, settings), "0224");
  EXPECT_EQ(formatDateTime("hhnn", when, settings), "0705");
  EXPECT_EQ(formatDateTime("ddmmyyyy", when, settings), "09022024");
  EXPECT_EQ(formatDateTime("ddmmyy", when, settings), "090224");
  EXPECT_EQ(formatDateTime("hh:mm", when, settings), "07:05") << "m after h is minutes";
  EXPECT_EQ(formatDateTime("mm hh mm", when, settings), "02 07 05");
  EXPECT_EQ(formatDateTime("d/m/yy h:n:s", when, settings), "9/2/24 7:5:3");
  EXPECT_EQ(formatDateTime("z zzz", when, settings), "45 045");
  EXPECT_EQ(formatDateTime("\"Dia:\" dd 'h/m'", when, settings), "Dia: 09 h/m");
  const DateTime early = DateTime::fromParts(987, 11, 23, 14, 59, 58, 7);
  EXPECT_EQ(formatDateTime("yyyy yy", early, settings), "0987 87") << "years to four digits";
  EXPECT_EQ(formatDateTime("dd/mm hh:nn:ss", early, settings), "23/11 14:59:58");
  EXPECT_EQ(formatDateTime("z zzz", early, settings), "7 007");
  EXPECT_EQ(formatDateTime("yy", DateTime::fromParts(2005, 1, 1), settings), "05");
  EXPECT_EQ(shortDate(when, settings), "09/02/2024");
  EXPECT_EQ(longTime(when, settings), "07:05:03");
  EXPECT_EQ(dateTimeText(when, settings), "09/02/2024 07:05:03");

  HostSettings other;
  other.dateSeparator = '-';
  other.timeSeparator = '.';
  EXPECT_EQ(dateTimeText(when, other), "09-02-2024 07.05.03");
}

TEST(DateFormat, ParsesDayMonthYearTexts) {
  const HostSettings settings;
  EXPECT_EQ(parseDateTime("09/02/2024 07:05:03", settings),
            DateTime::fromParts(2024, 2, 9, 7, 5, 3));
  EXPECT_EQ(parseDateTime(" 9/2/24 ", settings), DateTime::fromParts(2024, 2, 9));
  EXPECT_EQ(parseDateTime("31/12/99", settings), DateTime::fromParts(2099, 12, 31));
  EXPECT_EQ(parseDateTime("29/02/2024 7:05", settings), DateTime::fromParts(2024, 2, 29, 7, 5));
  for (const char* bad : {"", "29/02/2023", "32/01/2024", "29/02/2024 25:00", "29-02-2024",
                          "29/02/2024x", "1/1/202", "01/01/2024 10", "01/01/2024 10:5",
                          "abc"}) {
    EXPECT_THROW(parseDateTime(bad, settings), ConversionError) << bad;
  }
  HostSettings dashes;
  dashes.dateSeparator = '-';
  EXPECT_EQ(parseDateTime("29-02-2024", dashes), DateTime::fromParts(2024, 2, 29));
}

}  // namespace
}  // namespace ecf

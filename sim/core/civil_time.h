// Calendar dates and times of the printer's clock, held as plain local date-times
// (no time zone): the printer shows whatever its own clock says.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ecfsim {

struct Date {
  int year = 1970;
  int month = 1;
  int day = 1;
  auto operator<=>(const Date&) const = default;
};

struct DateTime {
  Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

bool isValidDate(int year, int month, int day);

// Seconds since 1970-01-01 00:00:00 of the same plain calendar, and back.
std::int64_t toSeconds(const DateTime& value);
DateTime fromSeconds(std::int64_t seconds);

// The computer's local time, as plain seconds of that calendar.
std::int64_t computerLocalSeconds();

// "15/03/24" or "15/03/2024" (two-digit years are 2000 to 2099).
std::optional<Date> parseSlashDate(std::string_view text);
// "10:30" or "10:30:15": seconds into the day.
std::optional<int> parseClockTime(std::string_view text);
// "2024-03-15 10:30:00".
std::optional<std::int64_t> parseIsoDateTime(std::string_view text);

std::string ddmmyy(const Date& date);              // "150324"
std::string hhmmss(const DateTime& value);         // "103000"
std::string printedDate(const Date& date);         // "15/03/2024"
std::string printedDateTime(const DateTime& value);  // "15/03/2024 10:30:00"
std::string isoDateTime(const DateTime& value);    // "2024-03-15 10:30:00"
std::string isoDate(const Date& date);             // "2024-03-15"

}  // namespace ecfsim

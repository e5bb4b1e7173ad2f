#include "core/civil_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/platform.h"

namespace ecfsim {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 +
                       static_cast<unsigned>(d) - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

Date civilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return Date{static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

// Reads exactly `count` digits at `pos`.
std::optional<int> digitsAt(std::string_view text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::string twoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
  return buffer;
}

}  // namespace

bool isValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = month == 2 && leap ? 29 : kDays[month - 1];
  return day <= last;
}

std::int64_t toSeconds(const DateTime& value) {
  const std::int64_t days = daysFromCivil(value.date.year, value.date.month, value.date.day);
  return days * 86400 + value.hour * 3600 + value.minute * 60 + value.second;
}

DateTime fromSeconds(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  DateTime out;
  out.date = civilFromDays(days);
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest % 3600 / 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

std::int64_t computerLocalSeconds() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  const std::tm local = platform::localTime(now);
  DateTime value;
  value.date = Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  value.hour = local.tm_hour;
  value.minute = local.tm_min;
  value.second = local.tm_sec;
  return toSeconds(value);
}

std::optional<Date> parseSlashDate(std::string_view text) {
  if (text.size() != 8 && text.size() != 10) return std::nullopt;
  if (text[2] != '/' || text[5] != '/') return std::nullopt;
  const auto day = digitsAt(text, 0, 2);
  const auto month = digitsAt(text, 3, 2);
  const auto year = digitsAt(text, 6, text.size() - 6);
  if (!day || !month || !year) return std::nullopt;
  const int fullYear = text.size() == 8 ? 2000 + *year : *year;
  if (!isValidDate(fullYear, *month, *day)) return std::nullopt;
  return Date{fullYear, *month, *day};
}

std::optional<int> parseClockTime(std::string_view text) {
  if (text.size() != 5 && text.size() != 8) return std::nullopt;
  if (text[2] != ':' || (text.size() == 8 && text[5] != ':')) return std::nullopt;
  const auto hour = digitsAt(text, 0, 2);
  const auto minute = digitsAt(text, 3, 2);
  const auto second = text.size() == 8 ? digitsAt(text, 6, 2) : std::optional<int>(0);
  if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  return *hour * 3600 + *minute * 60 + *second;
}

std::optional<std::int64_t> parseIsoDateTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ') {
    return std::nullopt;
  }
  const auto year = digitsAt(text, 0, 4);
  const auto month = digitsAt(text, 5, 2);
  const auto day = digitsAt(text, 8, 2);
  const auto time = parseClockTime(text.substr(11));
  if (!year || !month || !day || !time || !isValidDate(*year, *month, *day)) return std::nullopt;
  DateTime value;
  value.date = Date{*year, *month, *day};
  return toSeconds(value) + *time;
}

std::string ddmmyy(const Date& date) {
  return twoDigits(date.day) + twoDigits(date.month) + twoDigits(date.year);
}

std::string hhmmss(const DateTime& value) {
  return twoDigits(value.hour) + twoDigits(value.minute) + twoDigits(value.second);
}

std::string printedDate(const Date& date) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.day, date.month, date.year);
  return buffer;
}

std::string printedDateTime(const DateTime& value) {
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", value.date.day,
                value.date.month, value.date.year, value.hour, value.minute, value.second);
  return buffer;
}

std::string isoDateTime(const DateTime& value) {
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", value.date.year,
                value.date.month, value.date.day, value.hour, value.minute, value.second);
  return buffer;
}

std::string isoDate(const Date& date) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
  return buffer;
}

}  // namespace ecfsim

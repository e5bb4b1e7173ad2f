#include "ecf/datetime.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

namespace ecf {
namespace {

constexpr std::int64_t kMillisPerDay = 86'400'000;
// Days from 1 January 1970 back to 30 December 1899, the zero of our date values.
constexpr std::int64_t kUnixEpochDay = 25'569;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

struct CivilDate {
  int year;
  int month;
  int day;
};

CivilDate civilFromDays(std::int64_t days) {
  days += 719'468;
  const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
  return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Floor division, so times before 1899 still split into a day and a time of day.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t dayNumber(std::int64_t millis) { return floorDiv(millis, kMillisPerDay); }
std::int64_t timeOfDay(std::int64_t millis) {
  return millis - dayNumber(millis) * kMillisPerDay;
}

// The range of the host platform's dates: years 1 to 9999.
const std::int64_t kMinMillis = (daysFromCivil(1, 1, 1) + kUnixEpochDay) * kMillisPerDay;
const std::int64_t kMaxMillis = (daysFromCivil(10'000, 1, 1) + kUnixEpochDay) * kMillisPerDay - 1;

// base + delta * unit, or nothing when it overflows or leaves the years 1 to 9999.
std::optional<std::int64_t> checkedSum(std::int64_t base, std::int64_t delta, std::int64_t unit) {
  std::int64_t scaled = 0;
  std::int64_t sum = 0;
  if (__builtin_mul_overflow(delta, unit, &scaled) || __builtin_add_overflow(base, scaled, &sum) ||
      sum < kMinMillis || sum > kMaxMillis) {
    return std::nullopt;
  }
  return sum;
}

std::int64_t shifted(std::int64_t base, std::int64_t delta, std::int64_t unit) {
  const auto sum = checkedSum(base, delta, unit);
  if (!sum) throw std::out_of_range("data fora dos anos 1 a 9999");
  return *sum;
}

}  // namespace

bool DateTime::isValid(int year, int month, int day, int hour, int minute, int second,
                       int millisecond) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59 && second >= 0 && second <= 59 && millisecond >= 0 && millisecond <= 999;
}

DateTime DateTime::fromParts(int year, int month, int day, int hour, int minute, int second,
                             int millisecond) {
  if (!isValid(year, month, day, hour, minute, second, millisecond)) {
    throw std::invalid_argument("data ou hora inválida: " + std::to_string(day) + "/" +
                                std::to_string(month) + "/" + std::to_string(year) + " " +
                                std::to_string(hour) + ":" + std::to_string(minute) + ":" +
                                std::to_string(second) + "." + std::to_string(millisecond));
  }
  const std::int64_t days =
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
      kUnixEpochDay;
  const std::int64_t time = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return DateTime(days * kMillisPerDay + time);
}

DateTime DateTime::fromUnixMillis(std::int64_t millis) {
  const auto sum = checkedSum(kUnixEpochDay * kMillisPerDay, millis, 1);
  if (!sum) throw std::invalid_argument("data fora dos anos 1 a 9999");
  return DateTime(*sum);
}

DateTime DateTime::fromDays(double days) {
  const auto invalid = [&] {
    return std::invalid_argument("número de dia inválido: " + std::to_string(days));
  };
  if (!std::isfinite(days) || days < -700'000.0 || days > 3'000'000.0) throw invalid();
  // The host platform keeps the time of day as the unsigned fraction, also before 1899:
  // -1.25 is 29/12/1899 06:00.
  const double wholeDays = std::trunc(days);
  const double fraction = std::fabs(days - wholeDays);
  const auto time = static_cast<std::int64_t>(std::llround(fraction * kMillisPerDay));
  const auto sum = checkedSum(time, static_cast<std::int64_t>(wholeDays), kMillisPerDay);
  if (!sum) throw invalid();
  return DateTime(*sum);
}

int DateTime::year() const { return civilFromDays(dayNumber(millis_) - kUnixEpochDay).year; }
int DateTime::month() const { return civilFromDays(dayNumber(millis_) - kUnixEpochDay).month; }
int DateTime::day() const { return civilFromDays(dayNumber(millis_) - kUnixEpochDay).day; }
int DateTime::hour() const { return static_cast<int>(timeOfDay(millis_) / 3'600'000); }
int DateTime::minute() const { return static_cast<int>(timeOfDay(millis_) / 60'000 % 60); }
int DateTime::second() const { return static_cast<int>(timeOfDay(millis_) / 1000 % 60); }
int DateTime::millisecond() const { return static_cast<int>(timeOfDay(millis_) % 1000); }

int DateTime::dayOfWeek() const {
  // Day 0, 30/12/1899, was a Saturday (7).
  const std::int64_t days = dayNumber(millis_);
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

DateTime DateTime::date() const { return DateTime(dayNumber(millis_) * kMillisPerDay); }

DateTime DateTime::addDays(int days) const {
  return DateTime(shifted(millis_, days, kMillisPerDay));
}

DateTime DateTime::addMinutes(std::int64_t minutes) const {
  return DateTime(shifted(millis_, minutes, 60'000));
}

DateTime DateTime::addMillis(std::int64_t millis) const {
  return DateTime(shifted(millis_, millis, 1));
}

double DateTime::toDays() const {
  const std::int64_t days = dayNumber(millis_);
  const double fraction = static_cast<double>(timeOfDay(millis_)) / kMillisPerDay;
  return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

}  // namespace ecf

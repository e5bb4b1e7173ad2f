// A date and time to the millisecond, with the day arithmetic the module needs.
#pragma once

#include <compare>
#include <cstdint>

#include "ecf/export.h"

namespace ecf {

class ECF_API DateTime {
 public:
  // 30 December 1899 00:00, the zero of the host platform's date values.
  DateTime() = default;

  // Throws std::invalid_argument for an impossible date or time.
  static DateTime fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                            int second = 0, int millisecond = 0);
  static bool isValid(int year, int month, int day, int hour = 0, int minute = 0,
                      int second = 0, int millisecond = 0);
  // Milliseconds since 1 January 1970 UTC read as local civil time.
  static DateTime fromUnixMillis(std::int64_t millis);
  // The host platform's floating-point day number (days since 30/12/1899).
  static DateTime fromDays(double days);

  int year() const;
  int month() const;
  int day() const;
  int hour() const;
  int minute() const;
  int second() const;
  int millisecond() const;
  // 1 = Sunday ... 7 = Saturday, as the host platform counts.
  int dayOfWeek() const;

  DateTime date() const;  // midnight of the same day
  // The arithmetic throws std::out_of_range when the result leaves the years 1 to 9999.
  DateTime addDays(int days) const;
  DateTime addMinutes(std::int64_t minutes) const;
  DateTime addMillis(std::int64_t millis) const;
  std::int64_t millisSinceEpoch() const { return millis_; }  // epoch 30/12/1899
  std::int64_t millisUntil(const DateTime& later) const { return later.millis_ - millis_; }
  double toDays() const;

  auto operator<=>(const DateTime&) const = default;

 private:
  explicit DateTime(std::int64_t millis) : millis_(millis) {}
  std::int64_t millis_ = 0;
};

}  // namespace ecf

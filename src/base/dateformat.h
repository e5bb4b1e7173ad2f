// Dates and times as text under the host's settings, and back.
#pragma once

#include <string>
#include <string_view>

#include "base/conversionerror.h"
#include "ecf/datetime.h"
#include "ecf/settings.h"

namespace ecf {

// The host platform's date-time patterns, letters in either case:
//   d dd      day without / with a leading zero
//   m mm      month (minutes when the previous date-time token was h or hh: "hh:mm")
//   yy yyyy   two- or four-digit year (one or two y give two digits, three or more four)
//   h hh      hour; n nn minutes; s ss seconds; z zzz milliseconds
//   /  :      the settings' date and time separators
//   "text"    or 'text': written as it stands
// Any other character is written as it stands.
std::string formatDateTime(std::string_view pattern, const DateTime& value,
                           const HostSettings& settings);

std::string shortDate(const DateTime& value, const HostSettings& settings);
std::string longTime(const DateTime& value, const HostSettings& settings);
// Short date, a blank and long time.
std::string dateTimeText(const DateTime& value, const HostSettings& settings);

// Reads "dd/mm/yy[yy][ hh:nn[:ss]]" with the settings' separators; day, month and hour
// may have one digit; a two-digit year is 20yy. Throws ConversionError otherwise.
DateTime parseDateTime(std::string_view text, const HostSettings& settings);

}  // namespace ecf

// Texts, numbers and dates as the host writes them: every conversion either refuses the
// text with a ConversionError or gives a value whose own text converts back to it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/conversionerror.h"
#include "base/dateformat.h"
#include "base/decimal.h"
#include "base/numberformat.h"
#include "base/textlayout.h"
#include "base/utf8.h"
#include "ecf/settings.h"

namespace {

void numbers(std::string_view text, const ecf::HostSettings& settings) {
  double value = 0;
  try {
    value = ecf::textToFloat(text, settings);
  } catch (const ecf::ConversionError&) {
    return;
  }
  if (!std::isfinite(value)) return;
  for (const char* pattern : {"0.00", "#0.00", "#0.000", ""}) {
    ecf::formatPattern(pattern, value, settings);
  }
  ecf::formatFixed(value, 15, 2, settings);
  ecf::formatCurrency(value, settings);
  ecf::roundDec(value, 2);
  ecf::trunc2(value);
  ecf::trunc3(value);
  // The general text keeps 15 significant digits: reading it back lands on the value
  // rounded so.
  const double rounded = ecf::toDouble(ecf::roundToSignificant(ecf::toDecimal(value), 15));
  if (!std::isfinite(rounded)) return;  // the largest doubles round up past the range
  if (ecf::textToFloat(ecf::floatToText(value, settings), settings) != rounded) __builtin_trap();
}

void dates(std::string_view text, const ecf::HostSettings& settings) {
  ecf::DateTime when;
  try {
    when = ecf::parseDateTime(text, settings);
  } catch (const ecf::ConversionError&) {
    return;
  }
  for (const char* pattern :
       {"dd/mm/yyyy hh:nn:ss", "MMYY", "yyyymmdd", "d/m/yy h:n:s.zzz", "\"texto\" dd"}) {
    ecf::formatDateTime(pattern, when, settings);
  }
  if (ecf::parseDateTime(ecf::dateTimeText(when, settings), settings) != when) __builtin_trap();
}

void texts(std::string_view text, int width) {
  const std::string repaired = ecf::repairUtf8(text);
  if (!ecf::isValidUtf8(repaired)) __builtin_trap();
  if (ecf::isValidUtf8(text) && repaired != text) __builtin_trap();
  const std::size_t chars = ecf::charCount(repaired);
  if (ecf::charCount(ecf::padRight(repaired, width)) != static_cast<std::size_t>(width)) {
    __builtin_trap();
  }
  if (ecf::charCount(ecf::centre(repaired, width)) != static_cast<std::size_t>(width)) {
    __builtin_trap();
  }
  ecf::fitLeft(repaired, width);
  ecf::charSubstr(repaired, chars / 2, static_cast<std::size_t>(width));
  ecf::trim(repaired);
  ecf::findIgnoreCase(repaired, ecf::upperCase(ecf::charSubstr(repaired, chars / 3, 3)));
  ecf::lowerCase(repaired);
  ecf::cp1252ToUtf8(ecf::utf8ToCp1252(repaired));
  ecf::cp1252ToUtf8(text);
}

}  // namespace

// The first byte picks the host's settings and a width; the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const ecf::HostSettings settings =
      (data[0] & 1) ? ecf::HostSettings::decimalPoint() : ecf::HostSettings::brazilian();
  const int width = data[0] >> 2;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  numbers(text, settings);
  dates(text, settings);
  texts(text, width);
  return 0;
}

#include "base/dateformat.h"

#include <cctype>
#include <charconv>
#include <string>

namespace ecf {
namespace {

// Appends `value` in decimal, with "0" before it up to `width` characters. Written in
// place: every debug log line formats a date and a time.
void appendPadded(std::string& out, int value, std::size_t width) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < width) out.append(width - length, '0');
  out.append(digits, length);
}

// ASCII only, whatever the process locale: pattern letters are ASCII.
char upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

// Length of the run of the same letter (either case) starting at `pos`.
std::size_t runLength(std::string_view pattern, std::size_t pos) {
  std::size_t end = pos;
  while (end < pattern.size() && upper(pattern[end]) == upper(pattern[pos])) ++end;
  return end - pos;
}

}  // namespace

std::string formatDateTime(std::string_view pattern, const DateTime& value,
                           const HostSettings& settings) {
  std::string out;
  out.reserve(pattern.size() + 8);
  bool lastTokenWasHour = false;
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const char ch = pattern[pos];
    const char token = upper(ch);
    const std::size_t run = runLength(pattern, pos);
    std::size_t used = 1;
    switch (token) {
      case 'D':
        used = run >= 2 ? 2 : 1;
        appendPadded(out, value.day(), used);
        break;
      case 'M': {
        used = run >= 2 ? 2 : 1;
        const int number = lastTokenWasHour ? value.minute() : value.month();
        appendPadded(out, number, used);
        break;
      }
      case 'Y':
        used = run;
        if (run <= 2) {
          appendPadded(out, value.year() % 100, 2);
        } else {
          appendPadded(out, value.year(), 4);
        }
        break;
      case 'H':
        used = run >= 2 ? 2 : 1;
        appendPadded(out, value.hour(), used);
        break;
      case 'N':
        used = run >= 2 ? 2 : 1;
        appendPadded(out, value.minute(), used);
        break;
      case 'S':
        used = run >= 2 ? 2 : 1;
        appendPadded(out, value.second(), used);
        break;
      case 'Z':
        used = run >= 3 ? 3 : 1;
        appendPadded(out, value.millisecond(), used);
        break;
      case '/':
        out += settings.dateSeparator;
        break;
      case ':':
        out += settings.timeSeparator;
        break;
      case '"':
      case '\'': {
        const std::size_t close = pattern.find(ch, pos + 1);
        const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
        out += pattern.substr(pos + 1, end - pos - 1);
        used = end - pos + (close == std::string_view::npos ? 0 : 1);
        break;
      }
      default:
        out += ch;
        break;
    }
    // Only date-time tokens decide what a following "m" means; separators and literals don't.
    if (std::string_view("DMYHNSZ").find(token) != std::string_view::npos) {
      lastTokenWasHour = token == 'H';
    }
    pos += used;
  }
  return out;
}

std::string shortDate(const DateTime& value, const HostSettings& settings) {
  return formatDateTime(settings.shortDateFormat, value, settings);
}

std::string longTime(const DateTime& value, const HostSettings& settings) {
  return formatDateTime(settings.longTimeFormat, value, settings);
}

std::string dateTimeText(const DateTime& value, const HostSettings& settings) {
  return shortDate(value, settings) + " " + longTime(value, settings);
}

DateTime parseDateTime(std::string_view text, const HostSettings& settings) {
  const auto fail = [&] {
    return ConversionError("'" + std::string(text) + "' não é uma data e hora válida");
  };
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);

  // Reads 1 to maxDigits digits; returns how many were read (0 when none).
  const auto readNumber = [&](std::size_t maxDigits, int& number) {
    std::size_t count = 0;
    number = 0;
    while (count < maxDigits && count < rest.size() &&
           std::isdigit(static_cast<unsigned char>(rest[count])) != 0) {
      number = number * 10 + (rest[count] - '0');
      ++count;
    }
    rest.remove_prefix(count);
    return count;
  };
  const auto expect = [&](char separator) {
    if (rest.empty() || rest.front() != separator) throw fail();
    rest.remove_prefix(1);
  };

  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (readNumber(2, day) == 0) throw fail();
  expect(settings.dateSeparator);
  if (readNumber(2, month) == 0) throw fail();
  expect(settings.dateSeparator);
  const std::size_t yearDigits = readNumber(4, year);
  if (yearDigits == 2) {
    year += 2000;
  } else if (yearDigits != 4) {
    throw fail();
  }
  if (!rest.empty()) {
    expect(' ');
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (readNumber(2, hour) == 0) throw fail();
    expect(settings.timeSeparator);
    if (readNumber(2, minute) != 2) throw fail();
    if (!rest.empty()) {
      expect(settings.timeSeparator);
      if (readNumber(2, second) != 2) throw fail();
    }
  }
  if (!rest.empty() || !DateTime::isValid(year, month, day, hour, minute, second)) throw fail();
  return DateTime::fromParts(year, month, day, hour, minute, second);
}

}  // namespace ecf

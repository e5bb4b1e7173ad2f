#include "driver/clock_check.h"

#include <cctype>
#include <cstdlib>

#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/module_env.h"
#include "host/operator.h"

namespace ecf {
namespace {

// The number made of `count` digits at `pos`, or -1 when they are not all digits.
int digitsAt(const std::string& text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int currentCentury() { return moduleEnv().now().year() / 100 * 100; }

std::optional<DateTime> makeDateTime(int year, int month, int day, int hour, int minute,
                                     int second = 0) {
  if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0) return std::nullopt;
  if (!DateTime::isValid(year, month, day, hour, minute, second)) return std::nullopt;
  return DateTime::fromParts(year, month, day, hour, minute, second);
}

// Seconds that are missing or unreadable leave the reading to the minute.
std::optional<PrinterClock> makeClock(int year, int month, int day, int hour, int minute,
                                      int second) {
  const bool hasSeconds = second >= 0 && second <= 59;
  const auto time = makeDateTime(year, month, day, hour, minute, hasSeconds ? second : 0);
  if (!time) return std::nullopt;
  return PrinterClock{*time, hasSeconds};
}

// `time` cut to the second, or to the minute.
DateTime cutTime(const DateTime& time, bool keepSeconds) {
  return DateTime::fromParts(time.year(), time.month(), time.day(), time.hour(), time.minute(),
                             keepSeconds ? time.second() : 0);
}

}  // namespace

std::optional<PrinterClock> parsePrinterDateTime(const std::string& text) {
  if (text.size() >= 16 && text[2] == '/' && text[5] == '/') {
    // dd/mm/yyyy followed by hh:mm[:ss]
    return makeClock(digitsAt(text, 6, 4), digitsAt(text, 3, 2), digitsAt(text, 0, 2),
                     digitsAt(text, 10, 2), digitsAt(text, 13, 2), digitsAt(text, 16, 2));
  }
  // ddmmyy followed by hhmm[ss]
  const int year = digitsAt(text, 4, 2);
  return makeClock(year < 0 ? -1 : currentCentury() + year, digitsAt(text, 2, 2),
                   digitsAt(text, 0, 2), digitsAt(text, 6, 2), digitsAt(text, 8, 2),
                   digitsAt(text, 10, 2));
}

bool readPrinterDateTime(const std::string& scheme, std::string& printerDateTime) {
  std::string returned;
  if (!readRegister("LeData", "NomeData", "Data", scheme, true, returned,
                    executedLine("LeData - Data"))) {
    return false;
  }
  const std::string date = delimitedValue(returned);
  printerDateTime = date;
  writeDebugLine("Retorno Impressora: " + date);

  if (!readRegister("LeHora", "NomeHora", "hora", scheme, true, returned,
                    executedLine("LeHora - Hora"))) {
    return false;
  }
  const std::string time = delimitedValue(returned);
  writeDebugLine("Retorno Impressora: " + time);
  printerDateTime += time;
  return true;
}

bool checkPrinterClock(const std::string& scheme, DateTime& movementDate,
                       std::string printerDateTime, const std::string& movementDateText,
                       bool readPrinter) {
  bool result = true;
  if (readPrinter && !readPrinterDateTime(scheme, printerDateTime)) return false;

  const DateTime now = moduleEnv().now();
  if (!printerDateTime.empty()) {
    if (const auto printer = parsePrinterDateTime(printerDateTime)) {
      // The true distance in whole minutes, across days (a clock a day and five minutes
      // off is off, not five minutes off), with both clocks read to the same precision:
      // the computer's seconds against a printer's missing ones would hide a minute.
      const DateTime computer = cutTime(now, printer->hasSeconds);
      const long long minutes = std::llabs(printer->time.millisUntil(computer)) / 60000;
      if (minutes > kClockToleranceMinutes) {
        showNotice(msgPadrao("Datadif"), scheme);
        result = false;
      }
    } else {
      writeDebugLine("Data/hora da impressora ilegivel: " + printerDateTime);
    }
  }

  movementDate = now.date();
  if (!movementDateText.empty()) {
    const int day = digitsAt(movementDateText, 0, 2);
    const int month = digitsAt(movementDateText, 2, 2);
    const int year = digitsAt(movementDateText, 4, 2);
    if (const auto date = makeDateTime(year < 0 ? -1 : currentCentury() + year, month, day, 0, 0)) {
      movementDate = *date;
    }
  }
  return result;
}

}  // namespace ecf

extern "C" {

ECF_API bool VerificaData(const std::string& scheme, ecf::DateTime& movementDate,
                          const std::string& printerDateTime, const std::string& movementDateText,
                          bool readPrinter) {
  return ecf::guarded("VerificaData", scheme, false, [&] {
    return ecf::checkPrinterClock(scheme, movementDate, printerDateTime, movementDateText,
                                  readPrinter);
  });
}

ECF_API bool Data_Imp(const std::string& scheme, std::string& printerDateTime) {
  return ecf::guarded("Data_Imp", scheme, false,
                      [&] { return ecf::readPrinterDateTime(scheme, printerDateTime); });
}

}  // extern "C"

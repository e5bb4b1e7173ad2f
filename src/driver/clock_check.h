// The printer's clock against the computer's, and the movement date.
#pragma once

#include <optional>
#include <string>

#include "ecf/datetime.h"

namespace ecf {

// How far the printer's clock may be from the computer's.
constexpr int kClockToleranceMinutes = 15;

// Reads the printer's date and time joined (ddmmyy + hhmmss, or dd/mm/yyyy + hh:mm:ss).
bool readPrinterDateTime(const std::string& scheme, std::string& printerDateTime);
// The printer's clock as read: to the second when its text carries seconds, otherwise
// to the minute.
struct PrinterClock {
  DateTime time;
  bool hasSeconds = false;
};
// The printer date-time text as a clock reading, or nothing when unreadable.
std::optional<PrinterClock> parsePrinterDateTime(const std::string& text);
// VerificaData without the export boundary.
bool checkPrinterClock(const std::string& scheme, DateTime& movementDate,
                       std::string printerDateTime, const std::string& movementDateText,
                       bool readPrinter);

}  // namespace ecf

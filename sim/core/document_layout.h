// What every printed document shares: the header with the owner's cliché and the
// date, time and counters line, and the footer with the printer's identification.
#pragma once

#include <string>
#include <string_view>

#include "core/civil_time.h"
#include "core/money.h"
#include "core/printer_state.h"
#include "core/tape.h"

namespace ecfsim {

// "000123"
std::string counter6(int value);

// Separator, cliché, registrations, then "dd/mm/yyyy hh:mm:ss" and `counters` (for
// example "CCF:000001 COO:000001") on one line. A tool finds a document's date and COO
// on that line: it starts with the date and time and ends with "COO:" and six digits.
void printHeader(Paper& paper, const PrinterState& state, const DateTime& now,
                 std::string_view counters);

// Reads the date and COO back from a header's date line; false for any other line.
bool parseHeaderLine(std::string_view line, Date& date, int& coo);

// Model, printer number and serial number.
void printFooter(Paper& paper, const PrinterState& state);

// An amount line: `label` on the left, the amount on the right.
void printAmount(Paper& paper, std::string_view label, Cents value);

}  // namespace ecfsim

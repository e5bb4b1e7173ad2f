// The fiscal day: it opens with its first document, waits for a Z reduction once the
// printer's date has passed its opening date, and stays closed for the rest of the date
// its Z reduction was for. Also the day totals every sale moves.
#pragma once

#include "core/civil_time.h"
#include "core/printer_state.h"

namespace ecfsim {

enum class DayStatus {
  NotOpen,   // no document yet since the last Z reduction
  Open,
  ZPending,  // open, and the printer's date has passed the opening date
  Closed,    // a Z reduction for today's date was taken
};

DayStatus dayStatus(const FiscalDay& day, const Date& today);

// A document that belongs to the fiscal day (receipt, report, voucher, X reading) is
// about to take `coo`: opens the day when needed; refused with a Z pending or the day
// closed.
void enterFiscalDay(PrinterState& state, const Date& today, int coo);
// Refused while a Z reduction is pending.
void refuseWhenZPending(const PrinterState& state, const Date& today);

// Moves the net sale of a tax code (negative to take it back).
void addSale(PrinterState& state, int taxCode, Cents value);
// Adds to the cancellations of the code's tax kind.
void addCancellation(PrinterState& state, int taxCode, Cents value);

Cents netSales(const DayTotals& totals);
// Tax of the day at a programmed rate, and summed by kind.
Cents taxAtRate(const PrinterState& state, int slot);
Cents taxOfKind(const PrinterState& state, bool icms);
Cents salesOfKind(const PrinterState& state, bool icms);  // programmed rates only

}  // namespace ecfsim

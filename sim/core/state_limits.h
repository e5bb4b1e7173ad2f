// How far the printer's counters, totals and clock may go. A real ECF prints its counters
// with a fixed number of digits and stops when one is full; so does this one: a command
// that would take a counter or a total past its limit is refused and changes nothing.
// Nothing ever wraps round or overflows.
#pragma once

#include <cstdint>
#include <vector>

#include "core/money.h"
#include "core/printer_state.h"

namespace ecfsim {

// The grand total has 18 digits, as on a real ECF.
constexpr Cents kMaxGrandTotal = 999'999'999'999'999'999;
// A day total (in either direction) keeps 14 digits: far beyond any shop's day, and
// small enough that its tax at any rate is computed without overflowing.
constexpr Cents kMaxDayTotal = 99'999'999'999'999;
// The printer's clock: an offset of two centuries at most; a frozen time in years 1 to 9999.
constexpr std::int64_t kMaxClockOffsetSeconds = 6'311'520'000;
constexpr std::int64_t kMinClockSeconds = -62'135'596'800;  // 0001-01-01 00:00:00
constexpr std::int64_t kMaxClockSeconds = 253'402'300'799;  // 9999-12-31 23:59:59
// Drawer openings and paper cuts, counted for tests.
constexpr int kMaxDeviceCount = 999'999'999;

// One counter of the printer: its name in the state file and in the registers, and its range.
struct CounterLimit {
  const char* key;    // "coo", as in the state file
  const char* label;  // "COO", as the printer names it
  int Counters::*field;
  int min;
  int max;
};

// Every counter of `Counters`. A new counter is added here, and both the state file's
// check and the per-command limit take it in.
const std::vector<CounterLimit>& counterLimits();

// Refuses (CommandError LimiteEsgotado, naming what is full) a state that a command
// would leave with a counter, a total, a device count or the clock beyond its limit.
void refuseBeyondLimits(const PrinterState& state);

}  // namespace ecfsim

#include "core/printer_state.h"

namespace ecfsim {

PrinterState newPrinterState() {
  PrinterState state;
  // Four ICMS rates and one service-tax rate at fixed codes.
  state.tables.taxRates[0] = TaxRate{true, true, 1800};
  state.tables.taxRates[1] = TaxRate{true, true, 1200};
  state.tables.taxRates[2] = TaxRate{true, true, 700};
  state.tables.taxRates[3] = TaxRate{true, true, 2500};
  state.tables.taxRates[4] = TaxRate{true, false, 500};
  return state;
}

DateTime printerNow(const ClockSetting& clock) {
  if (clock.fixed) return fromSeconds(clock.fixedSeconds);
  return fromSeconds(computerLocalSeconds() + clock.offsetSeconds);
}

}  // namespace ecfsim

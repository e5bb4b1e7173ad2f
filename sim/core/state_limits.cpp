#include "core/state_limits.h"

#include <string>

#include "core/errors.h"

namespace ecfsim {
namespace {

[[noreturn]] void full(const std::string& what, const std::string& limit) {
  throw CommandError(ErrorCode::LimiteEsgotado, what + " chegou ao limite (" + limit + ").");
}

void refuseTotalBeyond(Cents value, Cents max, const char* what) {
  if (value > max || value < -max) full(what, formatCents(max));
}

void refuseDayTotalsBeyond(const DayTotals& t) {
  for (const Cents value : {t.grossSales, t.cancelledIcms, t.cancelledIss, t.discountIcms,
                            t.discountIss, t.surchargeIcms, t.surchargeIss, t.substitution,
                            t.exempt, t.notLevied, t.cash, t.nonFiscalCancelled}) {
    refuseTotalBeyond(value, kMaxDayTotal, "Um total do dia");
  }
  for (const Cents value : t.rateSales) refuseTotalBeyond(value, kMaxDayTotal, "Um total do dia");
  for (const Cents value : t.methods) refuseTotalBeyond(value, kMaxDayTotal, "Um total do dia");
  for (const Cents value : t.nonFiscal) refuseTotalBeyond(value, kMaxDayTotal, "Um total do dia");
}

}  // namespace

const std::vector<CounterLimit>& counterLimits() {
  // The widths a real ECF gives its counters on paper.
  static const std::vector<CounterLimit> limits = {
      {"coo", "COO", &Counters::coo, 0, 999'999},
      {"gnf", "GNF", &Counters::gnf, 0, 999'999},
      {"ccf", "CCF", &Counters::ccf, 0, 999'999},
      {"cfc", "CFC", &Counters::cfc, 0, 9'999},
      {"crz", "CRZ", &Counters::crz, 0, 9'999},
      {"cro", "CRO", &Counters::cro, 1, 999},
      {"cdc", "CDC", &Counters::cdc, 0, 9'999},
      {"grg", "GRG", &Counters::grg, 0, 999'999},
      {"cooStartOfDay", "COOInicioDia", &Counters::cooStartOfDay, 0, 999'999},
  };
  return limits;
}

void refuseBeyondLimits(const PrinterState& state) {
  for (const CounterLimit& limit : counterLimits()) {
    if (state.counters.*limit.field > limit.max) {
      full(std::string("O contador ") + limit.label, std::to_string(limit.max));
    }
  }
  refuseTotalBeyond(state.grandTotal, kMaxGrandTotal, "O totalizador geral (GT)");
  refuseDayTotalsBeyond(state.totals);
  if (state.conditions.drawerOpenings > kMaxDeviceCount ||
      state.conditions.paperCuts > kMaxDeviceCount) {
    full("A contagem de acionamentos", std::to_string(kMaxDeviceCount));
  }
  const ClockSetting& clock = state.conditions.clock;
  if (clock.offsetSeconds > kMaxClockOffsetSeconds ||
      clock.offsetSeconds < -kMaxClockOffsetSeconds || clock.fixedSeconds > kMaxClockSeconds ||
      clock.fixedSeconds < kMinClockSeconds) {
    full("O relógio", "anos 1 a 9999, dois séculos de deslocamento");
  }
}

}  // namespace ecfsim

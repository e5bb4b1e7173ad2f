#include "core/fiscal_day.h"

#include "core/errors.h"

namespace ecfsim {

DayStatus dayStatus(const FiscalDay& day, const Date& today) {
  if (day.open) return today > day.openDate ? DayStatus::ZPending : DayStatus::Open;
  if (day.reduced && day.lastReducedDate >= today) return DayStatus::Closed;
  return DayStatus::NotOpen;
}

void refuseWhenZPending(const PrinterState& state, const Date& today) {
  if (dayStatus(state.day, today) == DayStatus::ZPending) {
    throw CommandError(ErrorCode::ReducaoZPendente,
                       "Redução Z pendente do movimento de " + printedDate(state.day.openDate) +
                           ".");
  }
}

void enterFiscalDay(PrinterState& state, const Date& today, int coo) {
  switch (dayStatus(state.day, today)) {
    case DayStatus::Open: return;
    case DayStatus::ZPending: refuseWhenZPending(state, today); return;
    case DayStatus::Closed:
      throw CommandError(ErrorCode::DiaFechado,
                         "Redução Z do dia " + printedDate(today) +
                             " já emitida; o movimento só abre na próxima data.");
    case DayStatus::NotOpen:
      state.day.open = true;
      state.day.openDate = today;
      state.counters.cooStartOfDay = coo;
      return;
  }
}

void addSale(PrinterState& state, int taxCode, Cents value) {
  DayTotals& t = state.totals;
  switch (taxCode) {
    case kTaxSubstitution: t.substitution += value; return;
    case kTaxExempt: t.exempt += value; return;
    case kTaxNotLevied: t.notLevied += value; return;
    default: t.rateSales.at(static_cast<std::size_t>(taxCode)) += value; return;
  }
}

void addCancellation(PrinterState& state, int taxCode, Cents value) {
  if (isIcmsCode(state.tables, taxCode)) {
    state.totals.cancelledIcms += value;
  } else {
    state.totals.cancelledIss += value;
  }
}

Cents netSales(const DayTotals& t) {
  return t.grossSales - t.cancelledIcms - t.cancelledIss - t.discountIcms - t.discountIss;
}

Cents taxAtRate(const PrinterState& state, int slot) {
  const TaxRate& rate = state.tables.taxRates.at(static_cast<std::size_t>(slot));
  return percentOf(state.totals.rateSales.at(static_cast<std::size_t>(slot)), rate.percent);
}

Cents taxOfKind(const PrinterState& state, bool icms) {
  Cents sum = 0;
  for (int slot = 0; slot < kTaxSlots; ++slot) {
    if (state.tables.taxRates[static_cast<std::size_t>(slot)].icms == icms) {
      sum += taxAtRate(state, slot);
    }
  }
  return sum;
}

Cents salesOfKind(const PrinterState& state, bool icms) {
  Cents sum = 0;
  for (int slot = 0; slot < kTaxSlots; ++slot) {
    if (state.tables.taxRates[static_cast<std::size_t>(slot)].icms == icms) {
      sum += state.totals.rateSales[static_cast<std::size_t>(slot)];
    }
  }
  return sum;
}

}  // namespace ecfsim

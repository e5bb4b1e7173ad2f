#include "core/state_json.h"

#include "core/state_ranges.h"

namespace ecfsim {

NLOHMANN_JSON_SERIALIZE_ENUM(DocKind, {{DocKind::None, "none"},
                                       {DocKind::Fiscal, "fiscal"},
                                       {DocKind::NonFiscal, "nonFiscal"},
                                       {DocKind::Report, "report"},
                                       {DocKind::Linked, "linked"}})

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Date, year, month, day)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Identity, serial, ecfNumber, model, firmware,
                                                header, cnpj, ie, im)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(TaxRate, programmed, icms, percent)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PaymentMethod, programmed, name, description,
                                                allowsLinked)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(NonFiscalTotalizer, programmed, name,
                                                description, entry)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Tables, taxRates, cash, methods, nonFiscal)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Counters, coo, gnf, ccf, cfc, crz, cro, cdc,
                                                grg, cooStartOfDay)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DayTotals, grossSales, cancelledIcms,
                                                cancelledIss, discountIcms, discountIss,
                                                surchargeIcms, surchargeIss, rateSales,
                                                substitution, exempt, notLevied, cash, methods,
                                                nonFiscal, nonFiscalCancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(FiscalDay, open, openDate, reduced,
                                                lastReducedDate)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Item, number, code, name, unit, quantity,
                                                unitPrice, total, taxCode, cancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Payment, method, value, extraText, linkedUsed)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(NonFiscalItem, totalizer, value, entry)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Document, kind, coo, consumerId, consumerName,
                                                consumerAddress, items, adjusted, adjustment,
                                                adjustmentCommitted, payments, nonFiscalItems,
                                                reportCode, linkedCoo, linkedMethod,
                                                linkedValue, installments, change, cancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DayReceipt, coo, payments)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ZRecord, crz, cro, coo, cooStartOfDay,
                                                movementDate, issuedAt, grandTotal, totals)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Fault, command, remaining, code, name,
                                                circumstance, scripted, executionResult,
                                                returned)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ClockSetting, offsetSeconds, fixed,
                                                fixedSeconds)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Conditions, offline, paperOut, refuseOpen,
                                                drawerSensor, daylightSaving, clock, faults,
                                                drawerOpenings, paperCuts)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PrinterState, format, identity, tables,
                                                counters, day, totals, grandTotal, open,
                                                hasLastFiscal, lastFiscal, dayReceipts,
                                                fiscalMemory, conditions, tapeBytes)

nlohmann::json stateToJson(const PrinterState& state) { return state; }

PrinterState stateFromJson(const nlohmann::json& json) {
  checkStateRanges(json);
  PrinterState state;
  from_json(json, state);
  checkLoadedExactly(json, stateToJson(state));
  return state;
}

}  // namespace ecfsim

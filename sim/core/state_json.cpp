#include "core/state_json.h"

#include "core/state_ranges.h"

#include <stdexcept>

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
// A document's items as a plain JSON list.
void to_json(nlohmann::json& json, const ItemList& items) {
  json = nlohmann::json::array();
  for (const Item& item : items) json.push_back(item);
}
void from_json(const nlohmann::json& json, ItemList& items) {
  items.clear();
  for (Item& item : json.get<std::vector<Item>>()) items.push_back(std::move(item));
}

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

namespace {

// One top-level field of the state: its name, whether two states differ in it, and its
// value in a change.
struct StateField {
  const char* name;
  bool (*differs)(const PrinterState&, const PrinterState&);
  void (*put)(nlohmann::json&, const PrinterState&);
};

#define ECFSIM_STATE_FIELD(field)                                                            \
  StateField {                                                                               \
    #field, [](const PrinterState& a, const PrinterState& b) { return !(a.field == b.field); }, \
        [](nlohmann::json& set, const PrinterState& s) { set[#field] = s.field; }           \
  }

// The open document travels without its items; they go apart, from the first that
// changed, so that selling an item writes that item and not the whole receipt.
nlohmann::json documentHeader(const Document& document) {
  Document header = document;  // shares the item blocks: no item is copied
  header.items.clear();
  nlohmann::json json = header;
  json.erase("items");
  return json;
}

bool headersDiffer(const PrinterState& a, const PrinterState& b) {
  Document left = a.open;
  Document right = b.open;
  left.items.clear();
  right.items.clear();
  return !(left == right);
}

// A field added to PrinterState is added here too (a test compares this list with the
// state file's fields).
const std::vector<StateField>& stateFields() {
  static const std::vector<StateField> fields = {
      ECFSIM_STATE_FIELD(format),
      ECFSIM_STATE_FIELD(identity),
      ECFSIM_STATE_FIELD(tables),
      ECFSIM_STATE_FIELD(counters),
      ECFSIM_STATE_FIELD(day),
      ECFSIM_STATE_FIELD(totals),
      ECFSIM_STATE_FIELD(grandTotal),
      StateField{"open", headersDiffer,
                 [](nlohmann::json& set, const PrinterState& s) { set["open"] = documentHeader(s.open); }},
      ECFSIM_STATE_FIELD(hasLastFiscal),
      ECFSIM_STATE_FIELD(lastFiscal),
      ECFSIM_STATE_FIELD(dayReceipts),
      ECFSIM_STATE_FIELD(fiscalMemory),
      ECFSIM_STATE_FIELD(conditions),
      ECFSIM_STATE_FIELD(tapeBytes),
  };
  return fields;
}

#undef ECFSIM_STATE_FIELD

}  // namespace

nlohmann::json stateToJson(const PrinterState& state) { return state; }

nlohmann::json stateChangeToJson(const PrinterState& before, const PrinterState& after) {
  nlohmann::json change = nlohmann::json::object();
  for (const StateField& field : stateFields()) {
    if (field.differs(before, after)) field.put(change["set"], after);
  }
  const ItemList& was = before.open.items;
  const ItemList& is = after.open.items;
  const std::size_t from = was.firstDifference(is);
  if (from < was.size() || from < is.size()) {
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t index = from; index < is.size(); ++index) list.push_back(is[index]);
    change["items"] = {{"from", from}, {"list", std::move(list)}};
  }
  return change;
}

void applyStateChange(nlohmann::json& state, const nlohmann::json& change) {
  if (!state.is_object() || !change.is_object()) {
    throw std::invalid_argument("alteração que não é um objeto");
  }
  if (const auto set = change.find("set"); set != change.end()) {
    if (!set->is_object()) throw std::invalid_argument("\"set\" que não é um objeto");
    for (const auto& [key, value] : set->items()) {
      if (key != "open") {
        state[key] = value;
        continue;
      }
      if (!value.is_object()) throw std::invalid_argument("documento que não é um objeto");
      nlohmann::json items = nlohmann::json::array();
      if (const auto open = state.find("open"); open != state.end() && open->is_object()) {
        if (const auto kept = open->find("items"); kept != open->end()) items = std::move(*kept);
      }
      state["open"] = value;
      state["open"]["items"] = std::move(items);
    }
  }
  if (const auto items = change.find("items"); items != change.end()) {
    if (!items->is_object() || !items->contains("from") || !(*items)["from"].is_number_unsigned() ||
        !items->contains("list") || !(*items)["list"].is_array()) {
      throw std::invalid_argument("itens sem \"from\" ou \"list\"");
    }
    nlohmann::json& open = state["open"];
    if (!open.is_object()) throw std::invalid_argument("itens sem documento aberto");
    nlohmann::json& kept = open["items"];
    if (kept.is_null()) kept = nlohmann::json::array();
    const auto from = (*items)["from"].get<std::uint64_t>();
    if (!kept.is_array() || from > kept.size()) {
      throw std::invalid_argument("itens a partir de " + std::to_string(from) +
                                  " num documento de " + std::to_string(kept.size()));
    }
    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(from), kept.end());
    for (const auto& item : (*items)["list"]) kept.push_back(item);
  }
}

std::vector<std::string> stateChangeFields() {
  std::vector<std::string> names;
  for (const StateField& field : stateFields()) names.emplace_back(field.name);
  return names;
}

PrinterState stateFromJson(const nlohmann::json& json) {
  checkStateRanges(json);
  PrinterState state;
  from_json(json, state);
  const nlohmann::json loaded = stateToJson(state);
  checkLoadedExactly(json, loaded);
  // A field left out takes its default, and some defaults are outside their field's range
  // (an item numbered 0): what would be written back must read back too.
  checkStateRanges(loaded);
  return state;
}

}  // namespace ecfsim

#include "core/state_ranges.h"

#include <climits>
#include <string_view>

#include "core/money.h"
#include "core/state_limits.h"
#include "core/tables.h"

namespace ecfsim {
namespace {

using nlohmann::json;

// The state file is a few levels deep; anything deeper is not a state.
constexpr int kMaxDepth = 32;

constexpr std::int64_t kMaxCoo = 999'999;
constexpr std::int64_t kMaxItems = 999;
constexpr Milli kMaxQuantity = 99'999'999;      // 99.999,999
constexpr Milli kMaxUnitPrice = 9'999'999'999;  // 9.999.999,999

void addDate(std::vector<FieldRange>& ranges, const std::string& date) {
  ranges.push_back({date + ".year", 1, 9999});
  ranges.push_back({date + ".month", 1, 12});
  ranges.push_back({date + ".day", 1, 31});
}

void addDayTotals(std::vector<FieldRange>& ranges, const std::string& totals) {
  for (const char* name :
       {"grossSales", "cancelledIcms", "cancelledIss", "discountIcms", "discountIss",
        "surchargeIcms", "surchargeIss", "rateSales[]", "substitution", "exempt", "notLevied",
        "cash", "methods[]", "nonFiscal[]", "nonFiscalCancelled"}) {
    ranges.push_back({totals + "." + name, -kMaxDayTotal, kMaxDayTotal});
  }
}

void addDocument(std::vector<FieldRange>& ranges, const std::string& doc) {
  const std::vector<FieldRange> fields = {
      {"coo", 0, kMaxCoo},
      {"items[].number", 1, kMaxItems},
      {"items[].quantity", 0, kMaxQuantity},
      {"items[].unitPrice", 0, kMaxUnitPrice},
      {"items[].total", 0, kMaxAmount},
      {"items[].taxCode", kTaxNotLevied, kTaxSlots - 1},
      {"adjustment", -kMaxAmount, kMaxAmount},
      {"payments[].method", kCashMethod, kMethodSlots - 1},
      {"payments[].value", 0, kMaxAmount},
      {"payments[].linkedUsed", 0, kMaxAmount},
      {"nonFiscalItems[].totalizer", 0, kNonFiscalSlots - 1},
      {"nonFiscalItems[].value", 0, kMaxAmount},
      {"reportCode", 0, 19},
      {"linkedCoo", 0, kMaxCoo},
      {"linkedMethod", kCashMethod, kMethodSlots - 1},
      {"linkedValue", 0, kMaxAmount},
      {"installments", 0, 99},
      {"change", 0, kMaxAmount},
  };
  for (const FieldRange& field : fields) {
    ranges.push_back({doc + "." + field.path, field.min, field.max});
  }
}

std::vector<FieldRange> buildRanges() {
  std::vector<FieldRange> ranges = {
      {"format", 1, 1},
      {"identity.ecfNumber", 1, 999},
      {"tables.taxRates[].percent", 0, 9999},
      {"grandTotal", 0, kMaxGrandTotal},
      {"fiscalMemory[].grandTotal", 0, kMaxGrandTotal},
      {"conditions.clock.offsetSeconds", -kMaxClockOffsetSeconds, kMaxClockOffsetSeconds},
      {"conditions.clock.fixedSeconds", kMinClockSeconds, kMaxClockSeconds},
      // Planned refusals count down past zero only while others fire first.
      {"conditions.faults[].remaining", INT_MIN / 2, INT_MAX},
      {"conditions.faults[].code", -INT_MAX, INT_MAX},
      {"conditions.faults[].executionResult", INT_MIN, INT_MAX},
      {"conditions.drawerOpenings", 0, kMaxDeviceCount},
      {"conditions.paperCuts", 0, kMaxDeviceCount},
      {"tapeBytes", 0, INT64_MAX},
  };
  for (const CounterLimit& counter : counterLimits()) {
    ranges.push_back({std::string("counters.") + counter.key, counter.min, counter.max});
    // A Z record keeps some of them as they were at its reduction.
    for (const std::string_view kept : {"crz", "cro", "coo", "cooStartOfDay"}) {
      if (kept == counter.key) {
        ranges.push_back({std::string("fiscalMemory[].") + counter.key, 0, counter.max});
      }
    }
  }
  addDate(ranges, "day.openDate");
  addDate(ranges, "day.lastReducedDate");
  addDate(ranges, "fiscalMemory[].movementDate");
  addDayTotals(ranges, "totals");
  addDayTotals(ranges, "fiscalMemory[].totals");
  addDocument(ranges, "open");
  addDocument(ranges, "lastFiscal");
  return ranges;
}

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
  throw StateRangeError("campo " + where + ": " + what);
}

void checkNumber(const json& value, const std::string& where, const FieldRange& range) {
  if (!value.is_number_integer()) refuse(where, value.dump() + " não é um número inteiro");
  // Non-negative numbers are read as unsigned, and may be beyond the signed range.
  const bool fits =
      value.is_number_unsigned()
          ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(INT64_MAX) &&
                value.get<std::int64_t>() >= range.min && value.get<std::int64_t>() <= range.max
          : value.get<std::int64_t>() >= range.min && value.get<std::int64_t>() <= range.max;
  if (!fits) {
    refuse(where, value.dump() + " fora da faixa de " + std::to_string(range.min) + " a " +
                      std::to_string(range.max));
  }
}

// Follows `rest` (the part of the range's path still to go) from `node`.
void checkAt(const json& node, std::string_view rest, const std::string& where,
             const FieldRange& range) {
  if (rest.empty()) {
    checkNumber(node, where, range);
    return;
  }
  const std::size_t dot = rest.find('.');
  std::string_view key = rest.substr(0, dot);
  const std::string_view after = dot == std::string_view::npos ? "" : rest.substr(dot + 1);
  const bool each = key.size() > 2 && key.substr(key.size() - 2) == "[]";
  if (each) key.remove_suffix(2);
  // A node of the wrong kind is the loader's to report; an absent one takes its default.
  if (!node.is_object()) return;
  const auto found = node.find(std::string(key));
  if (found == node.end()) return;
  const std::string here = (where.empty() ? "" : where + ".") + std::string(key);
  if (!each) {
    checkAt(*found, after, here, range);
    return;
  }
  if (!found->is_array()) return;
  for (std::size_t i = 0; i < found->size(); ++i) {
    checkAt((*found)[i], after, here + "[" + std::to_string(i) + "]", range);
  }
}

std::string childPath(const std::string& where, const std::string& key) {
  return where.empty() ? key : where + "." + key;
}

// Every number is a whole one: the printer keeps cents and thousandths, never fractions.
void checkWholeNumbers(const json& node, const std::string& where, int depth) {
  if (depth > kMaxDepth) refuse(where, "estrutura aninhada demais");
  if (node.is_number_float()) refuse(where, node.dump() + " não é um número inteiro");
  if (node.is_object()) {
    for (const auto& [key, value] : node.items()) {
      checkWholeNumbers(value, childPath(where, key), depth + 1);
    }
  } else if (node.is_array()) {
    for (std::size_t i = 0; i < node.size(); ++i) {
      checkWholeNumbers(node[i], where + "[" + std::to_string(i) + "]", depth + 1);
    }
  }
}

void compareNumbers(const json& given, const json& loaded, const std::string& where) {
  if (given.is_number()) {
    if (loaded.is_number() && loaded != given) {
      refuse(where, given.dump() + " não cabe no campo (seria lido como " + loaded.dump() + ")");
    }
    return;
  }
  if (given.is_object() && loaded.is_object()) {
    for (const auto& [key, value] : given.items()) {
      const auto found = loaded.find(key);
      if (found != loaded.end()) compareNumbers(value, *found, childPath(where, key));
    }
  } else if (given.is_array() && loaded.is_array()) {
    for (std::size_t i = 0; i < given.size() && i < loaded.size(); ++i) {
      compareNumbers(given[i], loaded[i], where + "[" + std::to_string(i) + "]");
    }
  }
}

}  // namespace

const std::vector<FieldRange>& stateFieldRanges() {
  static const std::vector<FieldRange> ranges = buildRanges();
  return ranges;
}

void checkStateRanges(const json& state) {
  checkWholeNumbers(state, "", 0);
  for (const FieldRange& range : stateFieldRanges()) checkAt(state, range.path, "", range);
}

void checkLoadedExactly(const json& given, const json& loaded) {
  compareNumbers(given, loaded, "");
}

}  // namespace ecfsim

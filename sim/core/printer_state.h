// Everything the printer remembers between commands: identity, tables, counters, the
// fiscal day and its totals, the open document, the fiscal memory, and the conditions
// set from outside (clock, paper, line, injected faults). One plain value: saved whole
// when a document completes, and command by command in between (state_journal.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/civil_time.h"
#include "core/item_list.h"
#include "core/money.h"
#include "core/tables.h"

namespace ecfsim {

struct Identity {
  std::string serial = "VP000000000000000001";
  int ecfNumber = 1;
  std::string model = "ECF VIRTUAL";
  std::string firmware = "01.00.00";
  std::vector<std::string> header = {"EMPRESA DEMONSTRAÇÃO LTDA", "AV. EXEMPLO, 1000 - CENTRO",
                                     "CIDADE EXEMPLO - UF"};
  std::string cnpj = "11.111.111/0001-11";
  std::string ie = "111.111.111.111";
  std::string im = "12345";
  bool operator==(const Identity&) const = default;
};

struct Counters {
  int coo = 0;  // every document
  int gnf = 0;  // non-fiscal documents (readings, reports, vouchers)
  int ccf = 0;  // fiscal receipts
  int cfc = 0;  // cancelled fiscal receipts
  int crz = 0;  // Z reductions
  int cro = 1;  // restarts of operation
  int cdc = 0;  // linked credit/debit vouchers
  int grg = 0;  // management reports
  int cooStartOfDay = 0;  // COO of the fiscal day's first document; 0 with no day open
  bool operator==(const Counters&) const = default;
};

struct DayTotals {
  Cents grossSales = 0;
  Cents cancelledIcms = 0;
  Cents cancelledIss = 0;
  Cents discountIcms = 0;
  Cents discountIss = 0;
  Cents surchargeIcms = 0;
  Cents surchargeIss = 0;
  std::array<Cents, kTaxSlots> rateSales{};  // net sales under each programmed rate
  Cents substitution = 0;  // F
  Cents exempt = 0;        // I
  Cents notLevied = 0;     // N
  Cents cash = 0;
  std::array<Cents, kMethodSlots> methods{};
  std::array<Cents, kNonFiscalSlots> nonFiscal{};
  Cents nonFiscalCancelled = 0;
  bool operator==(const DayTotals&) const = default;
};

struct FiscalDay {
  bool open = false;
  Date openDate;
  // Movement date of the last Z reduction: a day reduced is closed until the clock
  // reaches the next date.
  bool reduced = false;
  Date lastReducedDate;
  bool operator==(const FiscalDay&) const = default;
};

enum class DocKind { None, Fiscal, NonFiscal, Report, Linked };

struct Payment {
  int method = 0;
  Cents value = 0;
  std::string extraText;
  Cents linkedUsed = 0;  // already covered by linked vouchers
  bool operator==(const Payment&) const = default;
};

struct NonFiscalItem {
  int totalizer = 0;
  Cents value = 0;
  bool entry = true;
  bool operator==(const NonFiscalItem&) const = default;
};

struct Document {
  DocKind kind = DocKind::None;
  int coo = 0;
  std::string consumerId;
  std::string consumerName;
  std::string consumerAddress;
  ItemList items;
  bool adjusted = false;
  Cents adjustment = 0;  // negative: discount; positive: surcharge
  bool adjustmentCommitted = false;  // reached the day totals (at the first payment)
  std::vector<Payment> payments;
  std::vector<NonFiscalItem> nonFiscalItems;
  int reportCode = 0;
  int linkedCoo = 0;
  int linkedMethod = 0;
  Cents linkedValue = 0;
  int installments = 1;
  Cents change = 0;
  bool cancelled = false;
  bool operator==(const Document&) const = default;
};

// A fiscal receipt closed during the open fiscal day, as its linked vouchers see it: its
// COO and its payments, each with what vouchers have already covered of it.
struct DayReceipt {
  int coo = 0;
  std::vector<Payment> payments;
  bool operator==(const DayReceipt&) const = default;
};

// One Z reduction as the fiscal memory keeps it.
struct ZRecord {
  int crz = 0;
  int cro = 0;
  int coo = 0;
  int cooStartOfDay = 0;
  Date movementDate;
  std::string issuedAt;
  Cents grandTotal = 0;
  DayTotals totals;
  bool operator==(const ZRecord&) const = default;
};

// An answer planned from outside: the `remaining`-th next command (of that name, when
// one is given) is not carried out and gets this answer instead: a refusal with this
// error, or, when scripted, exactly the execution result, error code and returned text
// given. Answers due on the same command wait their turn, one per command, in the order
// they were planned.
struct Fault {
  std::string command;
  int remaining = 1;
  int code = 1;
  std::string name;
  std::string circumstance;
  bool scripted = false;
  int executionResult = 0;
  std::string returned;
  bool operator==(const Fault&) const = default;
};

struct ClockSetting {
  std::int64_t offsetSeconds = 0;  // added to the computer's clock
  bool fixed = false;              // frozen at fixedSeconds
  std::int64_t fixedSeconds = 0;
  bool operator==(const ClockSetting&) const = default;
};

struct Conditions {
  bool offline = false;
  bool paperOut = false;
  bool refuseOpen = false;
  bool drawerSensor = false;
  bool daylightSaving = false;
  ClockSetting clock;
  std::vector<Fault> faults;
  int drawerOpenings = 0;
  int paperCuts = 0;
  bool operator==(const Conditions&) const = default;
};

struct PrinterState {
  int format = 1;
  Identity identity;
  Tables tables;
  Counters counters;
  FiscalDay day;
  DayTotals totals;
  Cents grandTotal = 0;
  Document open;
  bool hasLastFiscal = false;
  Document lastFiscal;  // the last fiscal receipt closed or cancelled
  std::vector<DayReceipt> dayReceipts;  // closed and not cancelled, until the Z reduction
  std::vector<ZRecord> fiscalMemory;
  Conditions conditions;
  std::int64_t tapeBytes = 0;  // tape length after the last command kept
  bool operator==(const PrinterState&) const = default;
};

// A new printer: the documented default configuration.
PrinterState newPrinterState();

// The printer's clock now.
DateTime printerNow(const ClockSetting& clock);

}  // namespace ecfsim

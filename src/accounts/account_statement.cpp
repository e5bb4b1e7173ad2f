// The statement of consumers' family accounts: per family the balance carried forward,
// the movements grouped by date with the running balance and the items of each sale,
// then the total balance of the families. Summary mode walks the families and their
// movements; detail mode walks one dataset ordered by family and date.
#include <memory>
#include <string>
#include <utility>

#include "accounts/account_data.h"
#include "accounts/account_heading.h"
#include "base/dateformat.h"
#include "base/numberformat.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"

namespace ecf {
namespace {

// The datasets the host hands in, by their role.
struct StatementData {
  const Dataset& configuration;
  Dataset& families;
  Dataset& movements;
  Dataset& saleItems;
  Dataset& familyBalances;
  Dataset& detailMovements;
};

// Where the amount and the balance after it are read: the two modes' datasets name
// them differently.
struct MovementFields {
  const char* amount;
  const char* balance;
};
constexpr MovementFields kSummaryFields{"VRMOVEXTCONS", "VRSALDCONEXT"};
constexpr MovementFields kDetailFields{"VALOR", "SALDO"};

std::string dateLine(const Dataset& rows) {
  return shortDate(rows.asDateTime("DATA"), hostSettings());
}

std::string movementLine(const Dataset& rows, const MovementFields& fields) {
  return TamFixo(" ", 1) + TamFixo(fieldText(rows, "HORA"), 6) +
         TamFixo(fieldText(rows, "DSOPEEXTCONS"), 15) + "  " +
         TamFixoR(movementAmount(fieldNumber(rows, fields.amount)), 7) + "  " +
         TamFixoR(movementAmount(fieldNumber(rows, fields.balance)), 7);
}

std::string saleItemLine(const Dataset& items) {
  return TamFixo(" ", 12) + TamFixo(floatToText(fieldNumber(items, "QTDE"), hostSettings()), 4) +
         " " + TamFixo(fieldText(items, "NMPRODUTO"), 11) + " " +
         TamFixoR(fixed2(fieldNumber(items, "VRTOTAL")), 6);
}

// Summary mode keeps the family being printed in a private copy of its movements,
// published in cdsAuxExtSimp; making the next family's copy releases the previous one.
Dataset& keepPrivateCopy(const Dataset& familyMovements) {
  static std::unique_ptr<Dataset> current;
  auto fresh = std::make_unique<Dataset>(familyMovements);
  cdsAuxExtSimp = fresh.get();
  current = std::move(fresh);
  return *current;
}

// Goes back to the row at `position` (as recNo counts), or past the end when `atEnd`.
void restorePosition(Dataset& dataset, int position, bool atEnd) {
  dataset.first();
  while (!dataset.eof() && dataset.recNo() < position) dataset.next();
  if (atEnd) {
    dataset.last();
    dataset.next();
  }
}

// The family's balance carried forward, from its row in the detail movements; the
// dataset is left where it was. A family with no row there carries nothing forward:
// the balance of whatever row was current would belong to another family.
double carriedForward(Dataset& detailMovements, const Variant& family) {
  if (detailMovements.isEmpty()) return 0;
  const int position = detailMovements.recNo();
  const bool atEnd = detailMovements.eof();
  const bool found = detailMovements.locate("CDFAMILISALD", family);
  const double balance = found ? fieldNumber(detailMovements, "SALDANT") : 0;
  restorePosition(detailMovements, position, atEnd);
  return balance;
}

class StatementWriter {
 public:
  StatementWriter(const std::string& scheme, const StatementData& data, std::string title,
                  std::string cashRegister, std::string headingLine)
      : report_(scheme),
        data_(data),
        title_(std::move(title)),
        cashRegister_(std::move(cashRegister)),
        headingLine_(std::move(headingLine)) {}

  bool printSummary() {
    Dataset& families = data_.families;
    Dataset& movements = data_.movements;
    // The heading comes as soon as there are families and movements at all, before any
    // family is looked at.
    movements.setFiltered(false);
    if (!families.isEmpty() && !movements.isEmpty()) printHeading();

    for (toFirstRow(families); !families.eof(); families.next()) {
      const std::string family = keyText(families, "CDFAMILISALD");
      showOnly(movements, fieldEquals("CDFAMILISALD", family));
      if (movements.isEmpty()) continue;  // no header for a family without movements
      Dataset& familyMovements = keepPrivateCopy(movements);
      printFamilyHeader(fieldText(families, "NMFAMILISALD"),
                        carriedForward(data_.detailMovements, families.value("CDFAMILISALD")));
      toFirstRow(familyMovements);
      printMovementsOfFamily(familyMovements, kSummaryFields, family);
    }
    return finish();
  }

  // The detail movements are walked from their current row, ordered by family and date.
  bool printDetail() {
    Dataset& rows = data_.detailMovements;
    if (!rows.eof()) printHeading();
    while (!rows.eof()) {
      const std::string family = keyText(rows, "CDFAMILISALD");
      printFamilyHeader(fieldText(rows, "NMFAMILISALD"), fieldNumber(rows, "SALDANT"));
      printMovementsOfFamily(rows, kDetailFields, family);
    }
    return finish();
  }

 private:
  void printHeading() {
    printAccountHeading(report_, title_, cashRegister_);
    headingPrinted_ = true;
    pending_.line(headingLine_);
  }

  void printFamilyHeader(const std::string& name, double balance) {
    pending_.dashes()
        .line(TamFixo("SALDO ANTERIOR - " + name, 29) + TamFixoR(fixed2(balance), 11))
        .dashes()
        .line(TamFixo("Data", 6) + TamFixo("Operacao", 19) + TamFixo("Valor", 8) +
              TamFixo("Saldo", 7));
    report_.print(pending_);
  }

  // From the current row while the rows are the family's: one date line for each run of
  // movements on the same date, printed with the first of them.
  void printMovementsOfFamily(Dataset& rows, const MovementFields& fields,
                              const std::string& family) {
    const auto ofFamily = [&] { return !rows.eof() && keyText(rows, "CDFAMILISALD") == family; };
    while (ofFamily()) {
      const std::string date = dateLine(rows);
      pending_.line(date);
      for (; ofFamily() && dateLine(rows) == date; rows.next()) {
        printMovement(rows, fields, family);
      }
    }
  }

  void printMovement(const Dataset& rows, const MovementFields& fields,
                     const std::string& family) {
    pending_.line(movementLine(rows, fields));
    report_.print(pending_);
    printedMovement_ = true;
    const std::string sale = keyText(rows, "NRSEQVENDA");
    if (!EmptyString(sale) && keyText(rows, "IDTPMOVEXT") == "V") printSaleItems(sale, family);
  }

  void printSaleItems(const std::string& sale, const std::string& family) {
    Dataset& items = data_.saleItems;
    showOnly(items, fieldEquals("NRSEQVENDA", sale) + "AND " + fieldEquals("CDFAMILISALD", family));
    for (toFirstRow(items); !items.eof(); items.next()) {
      ReportBlock item;
      item.line(saleItemLine(items));
      report_.print(item);
    }
  }

  // The total of the family balances from their current row on, then the closing.
  // With no movement printed there is no total; a report that was opened for the
  // heading is closed all the same, never left open on the printer.
  bool finish() {
    if (!printedMovement_) {
      if (headingPrinted_) report_.close();
      return false;
    }
    Dataset& balances = data_.familyBalances;
    double total = 0;
    for (; !balances.eof(); balances.next()) total += fieldNumber(balances, "SALDOFAM");
    ReportBlock totals;
    totals.dashes().line(TamFixo("Saldo Total", 12) + TamFixoR(fixed2(total), 28));
    report_.print(totals);
    report_.close();
    return true;
  }

  ReportInProgress report_;
  const StatementData& data_;
  std::string title_;
  std::string cashRegister_;
  std::string headingLine_;
  ReportBlock pending_;
  bool headingPrinted_ = false;
  bool printedMovement_ = false;
};

}  // namespace
}  // namespace ecf

extern "C" {

// The pass-through text goes to the report opening, which does not use it.
ECF_API bool Extrato(const std::string& /*passThrough*/, const std::string& scheme,
                     const ecf::Dataset& configuration, ecf::Dataset& families,
                     ecf::Dataset& movements, ecf::Dataset& saleItems,
                     ecf::Dataset& familyBalances, const std::string& /*unused8*/,
                     const std::string& title, const std::string& cashRegister,
                     const std::string& headingText1, const std::string& headingText2,
                     ecf::Dataset& detailMovements) {
  return ecf::guarded("Extrato", scheme, false, [&] {
    const ecf::StatementData data{configuration, families,       movements,
                                  saleItems,     familyBalances, detailMovements};
    ecf::StatementWriter writer(scheme, data, title, cashRegister,
                                headingText1 + "-" + headingText2);
    if (ecf::keyText(configuration, "IDEMISEXTRSIMPL") == "S") return writer.printSummary();
    return writer.printDetail();
  });
}

}  // extern "C"

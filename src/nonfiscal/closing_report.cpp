#include "nonfiscal/closing_report.h"

#include <vector>

#include "base/utf8.h"
#include "config/status.h"
#include "host/datamodule.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/report_in_progress.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

std::string amountLine(const std::string& label, double value) {
  return TamFixo(label, 33) + TamFixoR(fixed2(value), 15);
}

struct Movement {
  std::string kind;
  std::string paymentType;
  double amount = 0;
};

// What the drawer held against what was sold. Money is summed over its rows; of the
// change vouchers and the supply only the last row of each kind counts.
struct CashCount {
  double money = 0;
  double vouchersIssued = 0;
  double vouchersReceived = 0;
  double supply = 0;

  double handedOver() const { return money + vouchersReceived - supply - vouchersIssued; }
};

std::vector<Movement> readMovements(Dataset& movements) {
  std::vector<Movement> read;
  movements.open();
  for (movements.first(); !movements.eof(); movements.next()) {
    read.push_back(Movement{fieldText(movements, "IDTIPOREG"), fieldText(movements, "NMTIPORECE"),
                            fieldNumber(movements, "VRSAIDA")});
  }
  return read;
}

double salesOf(const Dataset& products) {
  const DataPacket rows = products.data();
  const int total = rows.fieldIndex("VRTOTAL");
  double sales = 0;
  for (std::size_t r = 0; r < rows.rowCount() && total >= 0; ++r) {
    sales += rows.row(r)[static_cast<std::size_t>(total)].toNumber(hostSettings());
  }
  return sales;
}

void addHeading(ReportBlock& block, const std::string& title, double sales) {
  block.line(Centraliza(title, kReportLineWidth - 1))
      .blankLine()
      .line(TamFixo(msgPadrao("Vendas"), 35) + TamFixoR(fixed2(sales), 13))
      .dashes();
}

void addTotals(ReportBlock& block, const CashCount& count, double sales) {
  // Rounded to the cent first, so a difference of a fraction of a cent left by the sums
  // is neither a surplus nor a shortage.
  const double difference = RoundDec(count.handedOver() - sales, 2);
  block.line(amountLine(msgPadrao("CV-RECEBIDO") + "(+)", count.vouchersReceived))
      .line(amountLine(msgPadrao("CV-EMITIDO") + "(-)", count.vouchersIssued))
      .line(amountLine(upperCase(msgPadrao("Suprimento")) + "(-)", count.supply))
      .dashes()
      .line(amountLine(msgPadrao("Sangrias"), count.handedOver()))
      .blankLine()
      .line(amountLine(msgPadrao(difference >= 0 ? "Sobra" : "Falta"), difference));
}

}  // namespace

void requireMovementFields(const Dataset& movements) {
  requireFields(movements, {"IDTIPOREG", "NMTIPORECE", "VRSAIDA"});
}

std::string printClosingReport(const ClosingReport& report, bool reportSeries,
                               const std::string& scheme) {
  const std::vector<Movement> movements = readMovements(report.movements);
  const double sales = salesOf(report.products);

  ReportInProgress printing(scheme);
  std::string counter;
  if (reportSeries) {
    printing.open();
    counter = readReceiptCounter(scheme);
  }
  ReportBlock block;
  addHeading(block, report.title, sales);
  printing.print(block);
  CashCount count;
  for (const Movement& movement : movements) {
    if (movement.kind == "1" || movement.kind == "5") {
      if (report.printMovementLines) {
        block.line(amountLine(movement.paymentType, movement.amount));
        printing.print(block);
      }
      count.money += movement.amount;
    } else if (movement.kind == "2") {
      count.vouchersIssued = movement.amount;
    } else if (movement.kind == "3") {
      count.supply = movement.amount;
    } else if (movement.kind == "4") {
      count.vouchersReceived = movement.amount;
    }
  }
  addTotals(block, count, sales);
  printing.print(block);
  printing.close();
  return counter;
}

}  // namespace ecf

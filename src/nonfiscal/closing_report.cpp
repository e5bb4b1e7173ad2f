#include "nonfiscal/closing_report.h"

#include <vector>

#include "base/utf8.h"
#include "config/status.h"
#include "host/datamodule.h"
#include "host/dataset_fields.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {
namespace {

std::string amount(double value) { return fixedAmount(value, hostSettings()); }

std::string amountLine(const std::string& label, double value) {
  return TamFixo(label, 33) + TamFixoR(amount(value), 15);
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
  const HostSettings& settings = hostSettings();
  std::vector<Movement> read;
  movements.open();
  for (movements.first(); !movements.eof(); movements.next()) {
    read.push_back(Movement{movements.asText("IDTIPOREG", settings),
                            movements.asText("NMTIPORECE", settings),
                            movements.asNumber("VRSAIDA", settings)});
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

std::string heading(const std::string& title, double sales) {
  return LineBlock()
      .line(Centraliza(title, kClosingLineWidth - 1))
      .emptyLine()
      .line(TamFixo(msgPadrao("Vendas"), 35) + TamFixoR(amount(sales), 13))
      .line(Replicate("-", kClosingLineWidth))
      .text();
}

std::string totals(const CashCount& count, double sales) {
  // Rounded to the cent first, so a difference of a fraction of a cent left by the sums
  // is neither a surplus nor a shortage.
  const double difference = RoundDec(count.handedOver() - sales, 2);
  return LineBlock()
      .line(amountLine(msgPadrao("CV-RECEBIDO") + "(+)", count.vouchersReceived))
      .line(amountLine(msgPadrao("CV-EMITIDO") + "(-)", count.vouchersIssued))
      .line(amountLine(upperCase(msgPadrao("Suprimento")) + "(-)", count.supply))
      .line(Replicate("-", kClosingLineWidth))
      .line(amountLine(msgPadrao("Sangrias"), count.handedOver()))
      .emptyLine()
      .line(amountLine(msgPadrao(difference >= 0 ? "Sobra" : "Falta"), difference))
      .text();
}

}  // namespace

void requireMovementFields(const Dataset& movements, std::string_view what) {
  requireHostFields(movements, {"IDTIPOREG", "NMTIPORECE", "VRSAIDA"}, what);
}

std::string printClosingReport(const ClosingReport& report, bool reportSeries,
                               const std::string& scheme) {
  const std::vector<Movement> movements = readMovements(report.movements);
  const double sales = salesOf(report.products);

  std::string counter;
  if (reportSeries) {
    openManagementReport(scheme);
    counter = readReceiptCounter(scheme);
  }
  printCutBlock(scheme, heading(report.title, sales));
  CashCount count;
  for (const Movement& movement : movements) {
    if (movement.kind == "1" || movement.kind == "5") {
      if (report.printMovementLines) {
        printCutBlock(scheme,
                      LineBlock().line(amountLine(movement.paymentType, movement.amount)).text());
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
  printCutBlock(scheme, totals(count, sales));
  closeDocument(scheme);
  return counter;
}

}  // namespace ecf

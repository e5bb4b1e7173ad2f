#include "reports/product_lines.h"

#include "host/datamodule.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/report_blocks.h"

namespace ecf {
namespace {

std::string amount(double value) { return fixedAmount(value, hostSettings()); }

}  // namespace

void ProductTotals::add(const SoldProduct& product) {
  sales += product.total;
  surcharge += product.surcharge;
  discount += product.discount;
  quantity += product.quantity;
}

std::string productReportHeading() {
  return LineBlock()
      .emptyLine()
      .line(Centraliza(msgPadrao("RelProdutos"), kClosingLineWidth - 1))
      .emptyLine()
      .line(TamFixo(msgPadrao("Codigo"), 12) + TamFixo(msgPadrao("Nome"), 20) +
            TamFixoR(msgPadrao("Qtde_"), 6) + TamFixoR(msgPadrao("Valor2"), 10))
      .text();
}

std::string productLine(const SoldProduct& product) {
  return LineBlock()
      .line(TamFixo(product.code, 11) + " " + TamFixo(product.name, 19) + " " +
            TamFixoR(amount(product.quantity), 6) + TamFixoR(amount(product.total), 10))
      .text();
}

std::string productTotalsLines(const ProductTotals& totals) {
  return LineBlock()
      .line(TamFixo(msgPadrao("Tot_Acre"), 35) + TamFixoR(amount(totals.surcharge), 13))
      .emptyLine()
      .line(TamFixo(msgPadrao("Tot_Desc"), 35) + TamFixoR(amount(totals.discount), 13))
      .emptyLine()
      .line(TamFixo(msgPadrao("Tot_Valor"), 29) + TamFixoR(amount(totals.quantity), 9) +
            TamFixoR(amount(totals.sales), 10))
      .emptyLine()
      .emptyLine()
      .text();
}

std::string groupedValueLines(const ProductTotals& totals) {
  return LineBlock()
      .line(TamFixo(msgPadrao("Valor_"), 29) + TamFixoR(amount(totals.quantity), 9) +
            TamFixoR(amount(totals.sales), 10))
      .emptyLine()
      .text();
}

std::string taxedHeadingLine() {
  return LineBlock().line(TamFixo(msgPadrao("TRIBUTADOS"), 35)).text();
}

std::string taxSummaryLine(const std::string& label, double total) {
  return LineBlock().line(TamFixo(label, 35) + TamFixoR(amount(total), 13)).text();
}

std::string untaxedLabel(const std::string& situation) {
  if (situation == "F") return msgPadrao("SubTrib");
  if (situation == "N") return msgPadrao("NIncide");
  if (situation == "I") return msgPadrao("Isento");
  return "";
}

}  // namespace ecf

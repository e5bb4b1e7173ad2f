#include "reports/product_lines.h"

#include "host/datamodule.h"
#include "host/hostlib.h"
#include "reports/report_values.h"

namespace ecf {

void ProductTotals::add(const SoldProduct& product) {
  sales += product.total;
  surcharge += product.surcharge;
  discount += product.discount;
  quantity += product.quantity;
}

void addProductReportHeading(ReportBlock& block) {
  block.blankLine()
      .line(Centraliza(msgPadrao("RelProdutos"), kReportLineWidth - 1))
      .blankLine()
      .line(TamFixo(msgPadrao("Codigo"), 12) + TamFixo(msgPadrao("Nome"), 20) +
            TamFixoR(msgPadrao("Qtde_"), 6) + TamFixoR(msgPadrao("Valor2"), 10));
}

void addProductLine(ReportBlock& block, const SoldProduct& product) {
  block.line(TamFixo(product.code, 11) + " " + TamFixo(product.name, 19) + " " +
             TamFixoR(fixed2(product.quantity), 6) + TamFixoR(fixed2(product.total), 10));
}

void addProductTotals(ReportBlock& block, const ProductTotals& totals) {
  block.line(TamFixo(msgPadrao("Tot_Acre"), 35) + TamFixoR(fixed2(totals.surcharge), 13))
      .blankLine()
      .line(TamFixo(msgPadrao("Tot_Desc"), 35) + TamFixoR(fixed2(totals.discount), 13))
      .blankLine()
      .line(TamFixo(msgPadrao("Tot_Valor"), 29) + TamFixoR(fixed2(totals.quantity), 9) +
            TamFixoR(fixed2(totals.sales), 10))
      .blankLine()
      .blankLine();
}

void addGroupedValue(ReportBlock& block, const ProductTotals& totals) {
  block
      .line(TamFixo(msgPadrao("Valor_"), 29) + TamFixoR(fixed2(totals.quantity), 9) +
            TamFixoR(fixed2(totals.sales), 10))
      .blankLine();
}

void addTaxedHeading(ReportBlock& block) { block.line(TamFixo(msgPadrao("TRIBUTADOS"), 35)); }

void addTaxSummaryLine(ReportBlock& block, const std::string& label, double total) {
  block.line(TamFixo(label, 35) + TamFixoR(fixed2(total), 13));
}

std::string untaxedLabel(const std::string& situation) {
  if (situation == "F") return msgPadrao("SubTrib");
  if (situation == "N") return msgPadrao("NIncide");
  if (situation == "I") return msgPadrao("Isento");
  return "";
}

}  // namespace ecf

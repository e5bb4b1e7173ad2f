#include "reports/product_report.h"

#include <optional>
#include <vector>

#include "config/status.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/operator.h"
#include "nonfiscal/report_in_progress.h"
#include "nonfiscal/report_primitives.h"
#include "reports/product_datasets.h"
#include "reports/product_lines.h"
#include "reports/product_tax_groups.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

SoldProduct readProduct(const Dataset& sold) {
  SoldProduct product;
  product.code = fieldText(sold, "CDPRODUTO");
  product.name = fieldText(sold, "NMPRODUTO");
  product.quantity = fieldNumber(sold, "QTPRODVEND");
  product.total = fieldNumber(sold, "VRTOTAL");
  product.surcharge = fieldNumber(sold, "VRACRE");
  product.discount = fieldNumber(sold, "VRDESC");
  product.situation = fieldText(sold, "IDTPIMPOSFIS");
  product.rate = fieldNumber(sold, "VRPEALIMPFIS");
  product.rateText = fieldText(sold, "VRPEALIMPFIS");
  return product;
}

// Every row is read before the report opens, so a value that cannot be read refuses the
// list instead of leaving a half-printed report open.
std::vector<SoldProduct> readSoldProducts(Dataset& sold, bool grouped) {
  sold.setIndexName(grouped ? kProductsByTaxation : "");
  std::vector<SoldProduct> products;
  for (sold.first(); !sold.eof(); sold.next()) products.push_back(readProduct(sold));
  sold.close();
  return products;
}

bool confirmed(const ProductReportRequest& request) {
  if (request.confirmation == "N") return true;
  if (request.confirmation == "S") {
    return askConfirmation(msgPadrao("ConfRelProds"), request.scheme);
  }
  return false;
}

void printPlainList(const std::vector<SoldProduct>& products, ReportInProgress& report) {
  ProductTotals totals;
  ReportBlock block;
  for (const SoldProduct& product : products) {
    addProductLine(block, product);
    report.print(block);
    totals.add(product);
  }
  addProductTotals(block.blankLine(), totals);
  report.print(block);
}

void printGroupedList(const std::vector<SoldProduct>& products, TaxSummary& summary,
                      ReportInProgress& report) {
  ProductTotals totals;
  TaxGroupHeadings headings;
  ReportBlock block;
  for (const SoldProduct& product : products) {
    if (const std::optional<std::string> heading = headings.before(product)) {
      if (!heading->empty()) block.line(*heading);
      report.print(block);
    }
    addProductLine(block, product);
    report.print(block);
    totals.add(product);
    summary.add(product);
  }
  addGroupedValue(block, totals);
  report.print(block);
  addTaxedHeading(block);
  report.print(block);
  summary.addLines(block);
  report.print(block);
  addProductTotals(block, totals);
  report.print(block);
}

}  // namespace

void requireProductFields(const Dataset& products) {
  requireFields(products, {"CDPRODUTO", "NMPRODUTO", "QTPRODVEND", "VRTOTAL", "VRACRE", "VRDESC",
                           "IDTPIMPOSFIS", "VRPEALIMPFIS"});
}

void printProductReport(const Dataset& products, const ProductReportRequest& request,
                        std::string& coo, bool& reportSeries) {
  TdtmEcf01600& module = ensureDataModule();
  Dataset& sold = module.cdsProdVend;
  // The host's list may lack the indexed fields; the index is chosen once it is checked.
  sold.setIndexName("");
  sold.setFiltered(false);
  sold.setData(products.data());

  if (!confirmed(request)) return;
  // Whatever the caller left open (a withdrawal receipt, say) ends here, whatever the
  // printer says about it.
  if (!reportSeries) closeDocument(request.scheme);
  reportSeries = true;
  if (sold.isEmpty()) return;

  requireProductFields(sold);
  const bool grouped = request.layout == "S";
  const std::vector<SoldProduct> list = readSoldProducts(sold, grouped);

  // The report's own results are not judged: each refusal has been shown already.
  ReportInProgress report(request.scheme);
  report.open();
  coo = readReceiptCounter(request.scheme);
  std::optional<TaxSummary> summary;
  if (grouped) summary.emplace(module.cdsAliqProduto);
  ReportBlock heading;
  addProductReportHeading(heading);
  report.print(heading);
  if (summary) {
    printGroupedList(list, *summary, report);
  } else {
    printPlainList(list, report);
  }
  report.close();
}

}  // namespace ecf

extern "C" {

// The first three texts are kept for existing hosts; the fourth and fifth would go to the
// report's opening, which reads neither.
ECF_API void Relatorio_Produto(const std::string& /*unused1*/, const std::string& /*unused2*/,
                               const std::string& /*unused3*/, const std::string& /*openText4*/,
                               const std::string& /*openText5*/, std::string& coo,
                               const ecf::Dataset& products, const std::string& confirmation,
                               const std::string& layout, const std::string& scheme,
                               bool& reportSeries) {
  ecf::guardedVoid("Relatorio_Produto", scheme, [&] {
    ecf::printProductReport(products, ecf::ProductReportRequest{confirmation, layout, scheme}, coo,
                            reportSeries);
  });
}

}  // extern "C"

#include "reports/product_report.h"

#include <optional>
#include <vector>

#include "config/status.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/dataset_fields.h"
#include "host/export_guard.h"
#include "host/module_env.h"
#include "host/operator.h"
#include "nonfiscal/report_primitives.h"
#include "reports/product_datasets.h"
#include "reports/product_lines.h"
#include "reports/product_tax_groups.h"

namespace ecf {
namespace {

SoldProduct readProduct(const Dataset& sold) {
  const HostSettings& settings = hostSettings();
  SoldProduct product;
  product.code = sold.asText("CDPRODUTO", settings);
  product.name = sold.asText("NMPRODUTO", settings);
  product.quantity = sold.asNumber("QTPRODVEND", settings);
  product.total = sold.asNumber("VRTOTAL", settings);
  product.surcharge = sold.asNumber("VRACRE", settings);
  product.discount = sold.asNumber("VRDESC", settings);
  product.situation = sold.asText("IDTPIMPOSFIS", settings);
  product.rate = sold.asNumber("VRPEALIMPFIS", settings);
  product.rateText = sold.asText("VRPEALIMPFIS", settings);
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

void printPlainList(const std::vector<SoldProduct>& products, const std::string& scheme) {
  ProductTotals totals;
  for (const SoldProduct& product : products) {
    printCutBlock(scheme, productLine(product));
    totals.add(product);
  }
  printCutBlock(scheme, "\n" + productTotalsLines(totals));
}

void printGroupedList(const std::vector<SoldProduct>& products, TaxSummary& summary,
                      const std::string& scheme) {
  ProductTotals totals;
  TaxGroupHeadings headings;
  for (const SoldProduct& product : products) {
    if (const std::optional<std::string> heading = headings.before(product)) {
      printCutBlock(scheme, *heading);
    }
    printCutBlock(scheme, productLine(product));
    totals.add(product);
    summary.add(product);
  }
  printCutBlock(scheme, groupedValueLines(totals));
  printCutBlock(scheme, taxedHeadingLine());
  printCutBlock(scheme, summary.lines());
  printCutBlock(scheme, productTotalsLines(totals));
}

}  // namespace

void requireProductFields(const Dataset& products) {
  requireHostFields(products,
                    {"CDPRODUTO", "NMPRODUTO", "QTPRODVEND", "VRTOTAL", "VRACRE", "VRDESC",
                     "IDTPIMPOSFIS", "VRPEALIMPFIS"},
                    "Produtos vendidos");
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
  openManagementReport(request.scheme);
  coo = readReceiptCounter(request.scheme);
  if (grouped) {
    TaxSummary summary(module.cdsAliqProduto);
    printCutBlock(request.scheme, productReportHeading());
    printGroupedList(list, summary, request.scheme);
  } else {
    printCutBlock(request.scheme, productReportHeading());
    printPlainList(list, request.scheme);
  }
  closeDocument(request.scheme);
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

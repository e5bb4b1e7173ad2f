// The products blocked for a store, one block per product, with the store's name, the
// date and time and the vendor contact line.
#include <string>

#include "accounts/account_data.h"
#include "base/dateformat.h"
#include "config/status.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/report_in_progress.h"

namespace ecf {
namespace {

constexpr int kCodeWidth = 11;
constexpr int kKeyboardCodeWidth = 13;
constexpr int kProductNameWidth = 24;

// The store's name and code come from the current row, the first product as handed in.
void printBlockedProducts(const std::string& scheme, Dataset& products) {
  readReceiptCounter(scheme);
  ReportInProgress report(scheme);
  report.open();

  ReportBlock store;
  store.dashes(kReportLineWidth - 1).centred(fieldText(products, "NMFILIAL")).dashes();
  report.print(store);

  ReportBlock heading;
  heading
      .line("Loja:" + TamFixo(fieldText(products, "CDLOJA"), 20) +
            formatDateTime("dd/mm/yyyy hh:nn:ss", moduleEnv().now(), hostSettings()))
      .dashes()
      .centred(">>> Produtos Bloqueados <<<")
      .dashes()
      .line(TamFixo(msgPadrao("Codigo"), kCodeWidth) + TamFixo("COD. TECLADO", kKeyboardCodeWidth) +
            TamFixoR("NOME", 4));
  report.print(heading);

  for (toFirstRow(products); !products.eof(); products.next()) {
    ReportBlock product;
    product.line(TamFixo(fieldText(products, "CDPRODUTO"), kCodeWidth) +
                 TamFixo(fieldText(products, "CDPROTECLADO"), kKeyboardCodeWidth) +
                 TamFixo(fieldText(products, "NMPRODUTO"), kProductNameWidth));
    report.print(product);
  }

  ReportBlock contact;
  contact.line(msgPadrao(kVendorContactKey));
  report.print(contact);
  report.close();
}

}  // namespace
}  // namespace ecf

extern "C" {

// The pass-through texts go to the report opening, which does not use them.
ECF_API bool ImprimeProdBloq(const std::string& /*passThrough1*/,
                             const std::string& /*passThrough2*/, const std::string& scheme,
                             ecf::Dataset& products) {
  return ecf::guarded("ImprimeProdBloq", scheme, false, [&] {
    ecf::printBlockedProducts(scheme, products);
    return true;
  });
}

}  // extern "C"

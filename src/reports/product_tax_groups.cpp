#include "reports/product_tax_groups.h"

#include <vector>

#include "host/datamodule.h"
#include "reports/report_values.h"

namespace ecf {

std::optional<std::string> TaxGroupHeadings::before(const SoldProduct& product) {
  if (product.rateText == rateText_ && product.situation == situation_) return std::nullopt;
  rateText_ = product.rateText;
  if (product.rate != 0) {
    situation_ = product.situation;
    return msgPadrao("TRIBUTACAO") + "  " + fixed2(product.rate);
  }
  if (product.situation == situation_) return std::string();
  situation_ = product.situation;
  return untaxedLabel(product.situation);
}

TaxSummary::TaxSummary(Dataset& table) : table_(table) {
  table_.close();
  table_.setFiltered(false);
  table_.createDataSet();
}

void TaxSummary::add(const SoldProduct& product) {
  if (table_.locate("IDTPIMPOSFIS", "VRPERCSITTRIB", product.situation, product.rate)) {
    table_.edit();
    table_.setValue("VRTOTALALIQ", table_.asNumber("VRTOTALALIQ") + product.total);
  } else {
    // Appended, so the summary keeps the order in which the pairs first occurred.
    table_.append();
    table_.setValue("VRPERCSITTRIB", product.rate);
    table_.setValue("VRTOTALALIQ", product.total);
    table_.setValue("IDTPIMPOSFIS", product.situation);
  }
  table_.post();
}

void TaxSummary::addLines(ReportBlock& block) const {
  const DataPacket rows = table_.data();
  const auto column = [&](const char* field) {
    return static_cast<std::size_t>(rows.fieldIndex(field));
  };
  for (std::size_t r = 0; r < rows.rowCount(); ++r) {
    const std::vector<Variant>& row = rows.row(r);
    const double rate = row[column("VRPERCSITTRIB")].toNumber();
    std::string label = rate != 0 ? "" : untaxedLabel(row[column("IDTPIMPOSFIS")].toText());
    if (label.empty()) label = fixed2(rate);
    addTaxSummaryLine(block, label, row[column("VRTOTALALIQ")].toNumber());
  }
}

}  // namespace ecf

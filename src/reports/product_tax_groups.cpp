#include "reports/product_tax_groups.h"

#include "host/datamodule.h"
#include "host/module_env.h"
#include "nonfiscal/report_blocks.h"

namespace ecf {

std::optional<std::string> TaxGroupHeadings::before(const SoldProduct& product) {
  if (product.rateText == rateText_ && product.situation == situation_) return std::nullopt;
  rateText_ = product.rateText;
  if (product.rate != 0) {
    situation_ = product.situation;
    return LineBlock()
        .line(msgPadrao("TRIBUTACAO") + "  " + fixedAmount(product.rate, hostSettings()))
        .text();
  }
  if (product.situation == situation_) return std::string();
  situation_ = product.situation;
  const std::string label = untaxedLabel(product.situation);
  return label.empty() ? label : LineBlock().line(label).text();
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

std::string TaxSummary::lines() const {
  const DataPacket rows = table_.data();
  const auto column = [&](const char* field) {
    return static_cast<std::size_t>(rows.fieldIndex(field));
  };
  std::string text;
  for (std::size_t r = 0; r < rows.rowCount(); ++r) {
    const std::vector<Variant>& row = rows.row(r);
    const double rate = row[column("VRPERCSITTRIB")].toNumber();
    std::string label = rate != 0 ? "" : untaxedLabel(row[column("IDTPIMPOSFIS")].toText());
    if (label.empty()) label = fixedAmount(rate, hostSettings());
    text += taxSummaryLine(label, row[column("VRTOTALALIQ")].toNumber());
  }
  return text;
}

}  // namespace ecf

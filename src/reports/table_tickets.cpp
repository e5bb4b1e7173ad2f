// The restaurant's tickets printed as management reports: the table-opening ticket, with
// what the table ordered and its totals, and the sale record of a table or an order pad.
#include <cmath>
#include <string>

#include "base/utf8.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/operator.h"
#include "nonfiscal/report_in_progress.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

// A sale-record number of exactly this many characters is a table; any other, an order pad.
constexpr std::size_t kTableNumberLength = 4;

ReportBlock& titleLine(ReportBlock& block, std::string_view key) {
  return block.line(Replicate(" ", 15) + msgPadrao(key));
}

// The two lines naming the item columns, shared by both tickets.
ReportBlock& columnHeading(ReportBlock& block) {
  return block.line(TamFixo(msgPadrao("Codigo"), 11) + TamFixo(msgPadrao("Nome"), 4))
      .line(TamFixoR(msgPadrao("Qtde_"), 4) + TamFixoR(msgPadrao("VrUnit"), 12) +
            TamFixoR(msgPadrao("Valor2"), 32));
}

// The ticket's last line carries the vendor's contact and no line feed.
ReportBlock& vendorContact(ReportBlock& block) {
  return block.append(msgPadrao(kVendorContactKey));
}

ReportBlock& orderedItem(ReportBlock& block, const Dataset& items) {
  const double quantity = fieldNumber(items, "QTPRODCOMVEN");
  const double price = fieldNumber(items, "VRPRECCOMVEN");
  // The line total is cut to the cent, never rounded up.
  return block.line(fieldText(items, "CDARVPROD") + " " + fieldText(items, "NMPRODUTO"))
      .line(fixed3(quantity) + "   X " + fixed2(price) + Replicate(" ", 5) +
            amountColumn(fixed2(Trunc2(quantity * price)), 27));
}

void additionLine(ReportBlock& block, std::string_view key, double amount, int width) {
  block.line(msgPadrao(key) + ": " + amountColumn(fixed2(amount), width));
}

// Only what was actually added or taken off gets a line.
ReportBlock& additions(ReportBlock& block, double serviceCharge, double surcharge,
                       double discount) {
  block.spaces();
  if (serviceCharge > 0) additionLine(block, "Tx_Serv", serviceCharge, 30);
  if (surcharge > 0) additionLine(block, "Acrescimo", surcharge, 35);
  if (discount > 0) additionLine(block, "Desconto", discount, 37);
  return block;
}

ReportBlock& soldItem(ReportBlock& block, const Dataset& items) {
  const double quantity = fieldNumber(items, "STQTDE");
  const double price = fieldNumber(items, "STVALOR");
  // Unlike the table-opening ticket, the product is rounded by its formatting, not cut.
  return block.line(fieldText(items, "CDPROD") + " " + fieldText(items, "NMPROD"))
      .line(fixed2(quantity) + "   X " + fixed2(price) + Replicate(" ", 5) +
            amountColumn(fixed2(price * quantity), 29));
}

bool finiteAmounts(std::initializer_list<double> amounts) {
  for (const double amount : amounts) {
    if (!std::isfinite(amount)) return false;
  }
  return true;
}

bool printTableOpening(const std::string& scheme, const std::string& table,
                       const std::string& issued, const Variant& items, double discount,
                       double serviceCharge, double total, double surcharge) {
  TdtmEcf01600& module = ensureDataModule();
  if (!finiteAmounts({discount, serviceCharge, total, surcharge})) {
    showNotice(msgPadrao("Abertura_Mesa_ValorInvalido"), scheme);
    return false;
  }
  Dataset& ordered = module.cdsParcProdutos;
  // The host may hand the table's items in the packet, or fill the dataset beforehand.
  if (items.type() == Variant::Type::Packet && items.asPacket().rowCount() > 0) {
    loadPacket(ordered, items);
  }
  ordered.open();
  requireFields(ordered, {"CDARVPROD", "NMPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN"});

  ReportInProgress report(scheme);
  ReportBlock block;
  // The opening takes no colour scheme; only the printing and the close show theirs.
  const bool opened = report.openWithoutScheme();
  block.spaces().spaces().dashes().spaces();
  titleLine(block, "Aber_mesa")
      .spaces()
      .line(msgPadrao("Mesa") + ": " + table)
      .line(msgPadrao("Emissao") + ": " + issued)
      .dashes();
  report.print(block);
  report.print(columnHeading(block).blankLine());
  for (ordered.first(); !ordered.eof(); ordered.next()) report.print(orderedItem(block, ordered));
  report.print(additions(block, serviceCharge, surcharge, discount));
  block.dashes().line(msgPadrao("Total") + ": " + amountColumn(fixed2(Trunc2(total)), 35)).spaces();
  report.print(vendorContact(block));
  report.close();
  // The caller learns only whether the ticket could be opened.
  return opened;
}

void printSaleRecord(const std::string& scheme, const Dataset& items, const std::string& number) {
  TdtmEcf01600& module = ensureDataModule();
  Dataset& sold = module.cdsItemsReg;
  sold.setData(items.data());
  requireFields(sold, {"CDPROD", "NMPROD", "STQTDE", "STVALOR"});

  ReportInProgress report(scheme);
  ReportBlock block;
  report.open();
  const std::string title = charCount(number) == kTableNumberLength
                                ? "       Relatório de abertura da mesa " + number
                                : "   Relatório de abertura da comanda " + number;
  block.spaces().line(title).spaces().dashes();
  titleLine(block, "RegVen").dashes().blankLine();
  report.print(columnHeading(block).blankLine());
  for (sold.first(); !sold.eof(); sold.next()) report.print(soldItem(block, sold));
  report.print(vendorContact(block.spaces().dashes()));
  report.close();
}

}  // namespace
}  // namespace ecf

extern "C" {

// Parameters 1, 3, 5, 9, 10 and 12 stay in the signature for existing hosts; nothing
// reads them.
ECF_API bool Abertura_Mesa(const std::string& /*unused1*/, const std::string& scheme,
                           const std::string& /*unused3*/, const std::string& table,
                           const std::string& /*unused5*/, const std::string& issued,
                           const ecf::Variant& items, double discount, double /*unused9*/,
                           double /*unused10*/, double serviceCharge, double /*unused12*/,
                           double total, double surcharge) {
  return ecf::guarded("Abertura_Mesa", scheme, false, [&] {
    return ecf::printTableOpening(scheme, ecf::repairUtf8(table), ecf::repairUtf8(issued), items,
                                  discount, serviceCharge, total, surcharge);
  });
}

// The two pass-through texts are for the report's opening, which ignores them.
ECF_API bool RegistroVenda(const std::string& /*passThrough1*/,
                           const std::string& /*passThrough2*/, const std::string& scheme,
                           const ecf::Dataset& items, const std::string& number) {
  return ecf::guarded("RegistroVenda", scheme, false, [&] {
    ecf::printSaleRecord(scheme, items, ecf::repairUtf8(number));
    return true;
  });
}

}  // extern "C"

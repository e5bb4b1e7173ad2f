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
#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

std::string blankLine() { return fullWidthLine(" "); }
std::string hyphenLine() { return fullWidthLine("-"); }

// A sale-record number of exactly this many characters is a table; any other, an order pad.
constexpr std::size_t kTableNumberLength = 4;

void print(const std::string& scheme, const std::string& text) {
  printTextBlock(scheme, cutBlock(text));
}

std::string titleLine(std::string_view key) { return Replicate(" ", 15) + msgPadrao(key) + "\n"; }

// The two lines naming the item columns, shared by both tickets.
std::string columnHeading() {
  return TamFixo(msgPadrao("Codigo"), 11) + TamFixo(msgPadrao("Nome"), 4) + "\n" +
         TamFixoR(msgPadrao("Qtde_"), 4) + TamFixoR(msgPadrao("VrUnit"), 12) +
         TamFixoR(msgPadrao("Valor2"), 32) + "\n";
}

// The ticket's last line carries the vendor's contact and no line feed.
std::string vendorContact() { return msgPadrao(kVendorContactKey); }

std::string orderedItem(const Dataset& items) {
  const double quantity = fieldNumber(items, "QTPRODCOMVEN");
  const double price = fieldNumber(items, "VRPRECCOMVEN");
  // The line total is cut to the cent, never rounded up.
  return fieldText(items, "CDARVPROD") + " " + fieldText(items, "NMPRODUTO") + "\n" +
         fixed3(quantity) + "   X " + fixed2(price) + Replicate(" ", 5) +
         amountColumn(fixed2(Trunc2(quantity * price)), 27) + "\n";
}

std::string additionLine(std::string_view key, double amount, int width) {
  return msgPadrao(key) + ": " + amountColumn(fixed2(amount), width) + "\n";
}

// Only what was actually added or taken off gets a line.
std::string additions(double serviceCharge, double surcharge, double discount) {
  std::string text = blankLine();
  if (serviceCharge > 0) text += additionLine("Tx_Serv", serviceCharge, 30);
  if (surcharge > 0) text += additionLine("Acrescimo", surcharge, 35);
  if (discount > 0) text += additionLine("Desconto", discount, 37);
  return text;
}

std::string soldItem(const Dataset& items) {
  const double quantity = fieldNumber(items, "STQTDE");
  const double price = fieldNumber(items, "STVALOR");
  // Unlike the table-opening ticket, the product is rounded by its formatting, not cut.
  return fieldText(items, "CDPROD") + " " + fieldText(items, "NMPROD") + "\n" + fixed2(quantity) +
         "   X " + fixed2(price) + Replicate(" ", 5) + amountColumn(fixed2(price * quantity), 29) +
         "\n";
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

  // The opening takes no colour scheme; only the printing and the close show theirs.
  const bool opened = openManagementReport("");
  print(scheme, blankLine() + blankLine() + hyphenLine() + blankLine() + titleLine("Aber_mesa") +
                    blankLine() + msgPadrao("Mesa") + ": " + table + "\n" + msgPadrao("Emissao") +
                    ": " + issued + "\n" + hyphenLine());
  print(scheme, columnHeading() + "\n");
  for (ordered.first(); !ordered.eof(); ordered.next()) print(scheme, orderedItem(ordered));
  print(scheme, additions(serviceCharge, surcharge, discount));
  print(scheme, hyphenLine() + msgPadrao("Total") + ": " + amountColumn(fixed2(Trunc2(total)), 35) +
                    "\n" + blankLine() + vendorContact());
  closeDocument(scheme);
  // The caller learns only whether the ticket could be opened.
  return opened;
}

void printSaleRecord(const std::string& scheme, const Dataset& items, const std::string& number) {
  TdtmEcf01600& module = ensureDataModule();
  Dataset& sold = module.cdsItemsReg;
  sold.setData(items.data());
  requireFields(sold, {"CDPROD", "NMPROD", "STQTDE", "STVALOR"});

  openManagementReport(scheme);
  const std::string title = charCount(number) == kTableNumberLength
                                ? "       Relatório de abertura da mesa " + number
                                : "   Relatório de abertura da comanda " + number;
  print(scheme, blankLine() + title + "\n" + blankLine() + hyphenLine() + titleLine("RegVen") +
                    hyphenLine() + "\n" + columnHeading() + "\n");
  for (sold.first(); !sold.eof(); sold.next()) print(scheme, soldItem(sold));
  print(scheme, blankLine() + hyphenLine() + vendorContact());
  closeDocument(scheme);
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

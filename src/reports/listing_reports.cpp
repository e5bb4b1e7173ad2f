// Listings of host data printed as management reports: the sales per payment type, the
// open tables and order pads, and the products moved between tables. Each loads the
// host's packet into its dataset, prints a heading with the issue line, one text per row
// with a section heading wherever the grouping value changes, and closes.
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/dateformat.h"
#include "base/textlayout.h"
#include "base/utf8.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/amount_text.h"
#include "nonfiscal/report_in_progress.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

// ---- sales per payment type ----

// The period's sum of one payment type, under the code and name first met for it.
struct PaymentTypeTotal {
  std::string code;
  std::string name;
  double sum = 0;
};

// A payment-type code is a whole number; anything else stops the report.
std::int64_t paymentTypeCode(const std::string& text) {
  const std::string digits = trim(text);
  std::int64_t code = 0;
  const char* first = digits.data();
  const char* last = digits.data() + digits.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, code);
  if (digits.empty() || error != std::errc() || end != last) {
    throw std::runtime_error("'" + text + "' não é um código de tipo de recebimento válido.");
  }
  return code;
}

void printPaymentTypeReport(const std::string& scheme, const Variant& packet) {
  Dataset& rows = dataModule().cdsTipoReceHomolog;
  loadPacket(rows, packet);
  // Every code the host uses gets its slot, listed in ascending order.
  std::map<std::int64_t, PaymentTypeTotal> totals;
  DateTime currentDate;  // the zero date: no date block yet

  ReportInProgress report(scheme);
  ReportBlock block;
  report.open();
  // A failure on the way leaves the report as it stands on the printer.
  report.leaveOpen();
  report.print(block.centred("Relatório de totalizadores fiscais"));
  report.print(block.line(issueLine()));
  report.print(block.blankLine());
  for (rows.first(); !rows.eof(); rows.next()) {
    const DateTime date = rows.asDateTime("DTMOVIMCAIXA");
    if (date != currentDate) {
      if (currentDate != DateTime()) report.print(block.blankLine().blankLine());
      currentDate = date;
      report.print(block.line("Data: " + shortDate(date, hostSettings())));
      report.print(
          block.line(TamFixo("Código   Nome            Tipo", 32) + TamFixoR("   Valor", 16)));
    }
    const std::string code = fieldText(rows, "CDTIPORECE");
    const std::string name = fieldText(rows, "NMTIPORECE");
    const double value = fieldNumber(rows, "VRMOVIVEND");
    report.print(block.line(TamFixo(code + Replicate(" ", 6) + name, 24) + TamFixo(" ECF", 10) +
                            "  " + amountColumn(currencyText(value), 12)));
    PaymentTypeTotal& total = totals[paymentTypeCode(code)];
    total.sum += value;
    if (total.code.empty()) {
      total.code = code;
      total.name = name;
    }
  }
  report.print(block.blankLine());
  report.print(block.centred("Somatório dos totalizadores no período").blankLine());
  for (const auto& [number, total] : totals) {
    report.print(block.line(TamFixo(total.code + Replicate(" ", 6) + total.name, 30) + "  " +
                            amountColumn(currencyText(total.sum), 16)));
  }
  report.print(block.blankLine());
  report.close();
}

// ---- open tables and order pads ----

enum class OpenSection { Tables, DeliveryPads, OrderPads };

OpenSection sectionOf(const std::string& orderPad) {
  const std::string prefix = charSubstr(orderPad, 0, 3);
  if (prefix == "RES" || prefix == "PKR") return OpenSection::Tables;
  if (prefix == "DLV") return OpenSection::DeliveryPads;
  return OpenSection::OrderPads;
}

std::string sectionTitle(OpenSection section) {
  switch (section) {
    case OpenSection::Tables: return "Mesas Abertas:";
    case OpenSection::DeliveryPads: return "Comandas Koravin Abertas:";
    case OpenSection::OrderPads: return "Comandas Abertas:";
  }
  return "";
}

bool printOpenTables(const std::string& scheme, const Variant& packet) {
  Dataset& rows = dataModule().cdsMesaAberZul;
  loadPacket(rows, packet);
  requireFields(rows, {"DSCOMANDA", "NRMESA", "DTHRABERMESA"});
  std::optional<OpenSection> current;

  ReportInProgress report(scheme);
  ReportBlock block;
  report.open();
  report.print(block.line(Replicate(" ", 15) + "Mesas Abertas").blankLine());
  report.print(block.line(issueLine()));
  for (rows.first(); !rows.eof(); rows.next()) {
    const std::string orderPad = fieldText(rows, "DSCOMANDA");
    const OpenSection section = sectionOf(orderPad);
    // Rows come in the host's order: a section that comes back gets its heading again.
    if (section != current) {
      current = section;
      report.print(block.blankLine().blankLine());
      report.print(block.line(sectionTitle(section)));
      report.print(block.line(section == OpenSection::Tables
                                  ? "Nrº da Mesa      Data/Hora de abertura"
                                  : "Nrº da Comanda   Data/Hora de abertura"));
    }
    const std::string opened = fieldText(rows, "DTHRABERMESA");
    report.print(block.line(section == OpenSection::Tables
                                ? fieldText(rows, "NRMESA") + Replicate(" ", 13) + opened
                                : orderPad + Replicate(" ", 7) + opened));
  }
  report.print(block.blankLine());
  return report.close();
}

// ---- products moved between tables ----

// Code, name and quantity share the first 37 columns. A code long enough to push the
// quantity past them shortens the name instead, so the quantity is never cut.
std::string transferredProduct(const Dataset& rows) {
  constexpr int kItemWidth = 37;
  const std::string product =
      fieldText(rows, "CDPRODUTO") + " " + TamFixo(fieldText(rows, "NMPRODUTO"), 19);
  const std::string quantity = fixed2(fieldNumber(rows, "QTPRODCOMVEN"));
  std::string item = product + " " + quantity;
  if (charCount(item) > kItemWidth) {
    item = TamFixo(product, kItemWidth - 1 - static_cast<int>(charCount(quantity))) + " " +
           quantity;
  }
  return TamFixo(item, kItemWidth) + " " +
         amountColumn(currencyText(fieldNumber(rows, "VRPRECCOMVEN")), 10);
}

void printTableTransfers(const std::string& scheme, const Variant& packet) {
  Dataset& rows = dataModule().cdsProdutoTransf;
  loadPacket(rows, packet);
  requireFields(rows, {"NRMESA", "NRMESADSCOMORIT", "CDPRODUTO", "NMPRODUTO", "QTPRODCOMVEN",
                       "VRPRECCOMVEN"});
  // Destination and origin, compared as a pair: "12" and "3" are not "1" and "23".
  std::optional<std::pair<std::string, std::string>> current;

  ReportInProgress report(scheme);
  ReportBlock block;
  report.open();
  report.print(block.line(issueLine()).blankLine().blankLine());
  for (rows.first(); !rows.eof(); rows.next()) {
    const std::string destination = fieldText(rows, "NRMESA");
    const std::string origin = fieldText(rows, "NRMESADSCOMORIT");
    if (current != std::make_pair(destination, origin)) {
      if (current) report.print(block.blankLine());
      current = std::make_pair(destination, origin);
      report.print(block.line("Mes Origem: " + origin + " -> Mesa Destino: " + destination));
      report.print(block.line("Código  -  Nome Produto   -    Qtde. -  Vr Unit."));
    }
    report.print(block.line(transferredProduct(rows)));
  }
  report.print(block.blankLine());
  report.close();
}

}  // namespace
}  // namespace ecf

extern "C" {

// The two pass-through texts of each listing are for the report's opening, which ignores
// them. A failure while the payment-type report runs is shown to the operator and leaves
// the report open, as it stands on the printer.
ECF_API void imprimeTipoRece(const std::string& /*passThrough1*/,
                             const std::string& /*passThrough2*/, const std::string& scheme,
                             const ecf::Variant& packet) {
  ecf::guardedVoid("imprimeTipoRece", scheme,
                   [&] { ecf::printPaymentTypeReport(scheme, packet); });
}

// The dataset stays in the signature for existing hosts. True when the printer closed
// the report.
ECF_API bool ImprimeMesasAbertas(ecf::Dataset& /*unused*/, const std::string& /*passThrough1*/,
                                 const std::string& /*passThrough2*/, const std::string& scheme,
                                 const ecf::Variant& packet) {
  return ecf::guarded("ImprimeMesasAbertas", scheme, false,
                      [&] { return ecf::printOpenTables(scheme, packet); });
}

ECF_API void imprimeProdutosTransf(const std::string& /*passThrough1*/,
                                   const std::string& /*passThrough2*/,
                                   const std::string& scheme, const ecf::Variant& packet) {
  ecf::guardedVoid("imprimeProdutosTransf", scheme,
                   [&] { ecf::printTableTransfers(scheme, packet); });
}

}  // extern "C"

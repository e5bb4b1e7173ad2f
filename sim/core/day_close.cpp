// The X reading (the day's totals; it changes nothing but COO and GNF, and may be taken
// in any state of the day), the Z reduction
// (records the day in the fiscal memory, resets the day totals, closes the day) and the
// detail-tape reading (reprints the documents of a period from the tape).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "core/document_layout.h"
#include "core/documents.h"
#include "core/errors.h"
#include "core/fiscal_day.h"

namespace ecfsim {
namespace {

std::string twoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

void checkDestination(const CommandContext& ctx) {
  const std::string destination = ctx.args.text("Destino").value_or("I");
  if (!ecf::equalsIgnoreCase(destination, "I") && !ecf::equalsIgnoreCase(destination, "S")) {
    throw CommandError(ErrorCode::ValorForaDaFaixa,
                       "Destino \"" + destination + "\" desconhecido (use I ou S).");
  }
}

void printCounter(Paper& paper, std::string_view label, int value) {
  paper.leftRight(label, counter6(value));
}

void printDayReport(Paper& paper, const PrinterState& s) {
  const DayTotals& t = s.totals;
  const Counters& c = s.counters;
  paper.rule();
  paper.centered("CONTADORES");
  printCounter(paper, "COO INICIAL DO DIA", c.cooStartOfDay);
  printCounter(paper, "CONTADOR DE ORDEM DE OPERAÇÃO COO", c.coo);
  printCounter(paper, "GERAL DE OPERAÇÃO NÃO-FISCAL GNF", c.gnf);
  printCounter(paper, "CONTADOR DE CUPOM FISCAL CCF", c.ccf);
  printCounter(paper, "CUPOM FISCAL CANCELADO CFC", c.cfc);
  printCounter(paper, "REDUÇÕES Z CRZ", c.crz);
  printCounter(paper, "REINÍCIO DE OPERAÇÃO CRO", c.cro);
  printCounter(paper, "RELATÓRIO GERENCIAL GRG", c.grg);
  printCounter(paper, "COMPROVANTE CRÉDITO/DÉBITO CDC", c.cdc);
  paper.rule();
  paper.centered("TOTALIZADORES");
  printAmount(paper, "VENDA BRUTA DIÁRIA", t.grossSales);
  printAmount(paper, "CANCELAMENTO ICMS", t.cancelledIcms);
  printAmount(paper, "DESCONTO ICMS", t.discountIcms);
  printAmount(paper, "ACRÉSCIMO ICMS", t.surchargeIcms);
  printAmount(paper, "CANCELAMENTO ISSQN", t.cancelledIss);
  printAmount(paper, "DESCONTO ISSQN", t.discountIss);
  printAmount(paper, "ACRÉSCIMO ISSQN", t.surchargeIss);
  printAmount(paper, "VENDA LÍQUIDA", netSales(t));
  printAmount(paper, "GRANDE TOTAL", s.grandTotal);
  paper.rule();
  paper.centered("TRIBUTAÇÃO");
  for (int slot = 0; slot < kTaxSlots; ++slot) {
    const TaxRate& rate = s.tables.taxRates[static_cast<std::size_t>(slot)];
    if (!rate.programmed) continue;
    paper.leftRight(taxLabel(s.tables, slot) + " " + formatPercent(rate.percent) + "%",
                    formatCents(t.rateSales[static_cast<std::size_t>(slot)]) + "  IMP " +
                        formatCents(taxAtRate(s, slot)));
  }
  printAmount(paper, "F1 SUBSTITUIÇÃO TRIBUTÁRIA", t.substitution);
  printAmount(paper, "I1 ISENÇÃO", t.exempt);
  printAmount(paper, "N1 NÃO INCIDÊNCIA", t.notLevied);
  paper.rule();
  paper.centered("NÃO-FISCAIS");
  for (int code = 0; code < kNonFiscalSlots; ++code) {
    const NonFiscalTotalizer* totalizer = s.tables.totalizer(code);
    if (totalizer) {
      printAmount(paper, twoDigits(code) + " " + totalizer->name,
                  t.nonFiscal[static_cast<std::size_t>(code)]);
    }
  }
  printAmount(paper, "CANCELAMENTO NÃO-FISCAL", t.nonFiscalCancelled);
  paper.rule();
  paper.centered("MEIOS DE PAGAMENTO");
  printAmount(paper, s.tables.cash.name, t.cash);
  for (int code = 0; code < kMethodSlots; ++code) {
    const PaymentMethod* method = s.tables.method(code);
    if (method) printAmount(paper, method->name, t.methods[static_cast<std::size_t>(code)]);
  }
}

bool inRange(const Date& date, int coo, bool byDate, const Date& from, const Date& to,
             long long cooFrom, long long cooTo) {
  return byDate ? (date >= from && date <= to) : (coo >= cooFrom && coo <= cooTo);
}

}  // namespace

void emiteLeituraX(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  requireNoDocument(s);
  checkDestination(ctx);
  const int coo = ++s.counters.coo;
  ++s.counters.gnf;
  printHeader(ctx.paper, s, ctx.now, "GNF:" + counter6(s.counters.gnf) + " COO:" + counter6(coo));
  ctx.paper.centered("LEITURA X");
  ctx.paper.line(s.day.open ? "MOVIMENTO DO DIA: " + printedDate(s.day.openDate)
                            : std::string("SEM MOVIMENTO ABERTO"));
  printDayReport(ctx.paper, s);
  printFooter(ctx.paper, s);
}

void emiteReducaoZ(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  requireNoDocument(s);
  if (dayStatus(s.day, ctx.now.date) == DayStatus::Closed) {
    throw CommandError(ErrorCode::DiaFechado,
                       "Redução Z do movimento de " + printedDate(s.day.lastReducedDate) +
                           " já emitida.");
  }
  const Date movement = s.day.open ? s.day.openDate : ctx.now.date;
  const int coo = ++s.counters.coo;
  ++s.counters.crz;
  printHeader(ctx.paper, s, ctx.now, "CRZ:" + counter6(s.counters.crz) + " COO:" + counter6(coo));
  ctx.paper.centered("REDUÇÃO Z");
  ctx.paper.line("MOVIMENTO DO DIA: " + printedDate(movement));
  printDayReport(ctx.paper, s);
  printFooter(ctx.paper, s);

  ZRecord record;
  record.crz = s.counters.crz;
  record.cro = s.counters.cro;
  record.coo = coo;
  record.cooStartOfDay = s.counters.cooStartOfDay;
  record.movementDate = movement;
  record.issuedAt = isoDateTime(ctx.now);
  record.grandTotal = s.grandTotal;
  record.totals = s.totals;
  s.fiscalMemory.push_back(record);

  s.totals = DayTotals{};
  s.dayReceipts.clear();
  s.counters.cooStartOfDay = 0;
  s.day.open = false;
  s.day.reduced = true;
  s.day.lastReducedDate = movement;
  ctx.returned = "CRZ=" + std::to_string(s.counters.crz);
}

void emiteLeituraFitaDetalhe(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  requireNoDocument(s);
  checkDestination(ctx);
  const auto dateFrom = ctx.args.date("DataInicial");
  const auto dateTo = ctx.args.date("DataFinal");
  const auto cooFrom = ctx.args.integer("COOInicial");
  const auto cooTo = ctx.args.integer("COOFinal");
  const bool byDate = dateFrom || dateTo;
  if (byDate && (cooFrom || cooTo)) {
    throw CommandError(ErrorCode::ParametroInvalido,
                       "Informe o intervalo por datas ou por COO, não ambos.");
  }
  std::string period;
  if (byDate) {
    if (!dateFrom || !dateTo) {
      throw CommandError(ErrorCode::ParametroAusente,
                         std::string("Parâmetro obrigatório ausente: ") +
                             (dateFrom ? "DataFinal." : "DataInicial."));
    }
    if (*dateFrom > *dateTo) {
      throw CommandError(ErrorCode::ValorForaDaFaixa, "Data inicial posterior à data final.");
    }
    period = "PERÍODO: " + printedDate(*dateFrom) + " A " + printedDate(*dateTo);
  } else {
    if (!cooFrom || !cooTo) {
      throw CommandError(ErrorCode::ParametroAusente,
                         std::string("Parâmetro obrigatório ausente: ") +
                             (cooFrom ? "COOFinal." : "DataInicial ou COOInicial."));
    }
    if (*cooFrom < 1 || *cooFrom > *cooTo) {
      throw CommandError(ErrorCode::ValorForaDaFaixa, "Intervalo de COO inválido.");
    }
    period = "COO: " + counter6(static_cast<int>(*cooFrom)) + " A " +
             counter6(static_cast<int>(*cooTo));
  }

  // The tape is the detail memory: every document printed, each found by its header.
  const Date from = dateFrom.value_or(Date{});
  const Date to = dateTo.value_or(Date{});
  std::vector<std::vector<std::string>> inPeriod;
  for (auto& document : splitDocuments(ctx.tape.read())) {
    Date date;
    int documentCoo = 0;
    // A document has one header line.
    const bool dated = std::any_of(document.begin(), document.end(), [&](const std::string& line) {
      return parseHeaderLine(line, date, documentCoo);
    });
    if (dated &&
        inRange(date, documentCoo, byDate, from, to, cooFrom.value_or(0), cooTo.value_or(0))) {
      inPeriod.push_back(std::move(document));
    }
  }
  // A period without documents is refused, as an empty reading is no fiscal record.
  if (inPeriod.empty()) {
    throw CommandError(ErrorCode::ValorForaDaFaixa, "Nenhum documento no intervalo.");
  }

  const int coo = ++s.counters.coo;
  ++s.counters.gnf;
  printHeader(ctx.paper, s, ctx.now, "GNF:" + counter6(s.counters.gnf) + " COO:" + counter6(coo));
  ctx.paper.centered("LEITURA DA MEMÓRIA FITA-DETALHE");
  ctx.paper.line(period);
  for (const auto& document : inPeriod) {
    ctx.paper.rule();
    for (const std::string& copy : document) ctx.paper.line(copy);
  }
  ctx.paper.rule();
  ctx.paper.centered("FIM DA LEITURA");
  printFooter(ctx.paper, s);
}

}  // namespace ecfsim

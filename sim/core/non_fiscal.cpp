// Non-fiscal receipts (money in or out under a non-fiscal totalizer), management
// reports and linked credit/debit vouchers. Their amounts reach the day totals when the
// receipt closes.
#include <cstdio>

#include "core/document_layout.h"
#include "core/documents.h"
#include "core/errors.h"
#include "core/fiscal_day.h"
#include "core/receipt_math.h"

namespace ecfsim {
namespace {

constexpr int kMaxNonFiscalItems = 999;
constexpr long long kMaxReportCode = 19;

void openNonFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  enterFiscalDay(s, ctx.now.date, s.counters.coo + 1);
  Document doc;
  doc.kind = DocKind::NonFiscal;
  doc.coo = ++s.counters.coo;
  ++s.counters.gnf;
  s.open = doc;
  printHeader(ctx.paper, s, ctx.now,
              "GNF:" + counter6(s.counters.gnf) + " COO:" + counter6(doc.coo));
  ctx.paper.centered("COMPROVANTE NÃO-FISCAL");
}

std::string twoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

}  // namespace

void abreCupomNaoFiscal(CommandContext& ctx) {
  requireNoDocument(ctx.state);
  openNonFiscalReceipt(ctx);
  if (const auto id = ctx.args.text("IdConsumidor")) {
    ctx.paper.line("CPF/CNPJ consumidor: " + *id);
  }
  if (const auto name = ctx.args.text("NomeConsumidor")) ctx.paper.line("Nome: " + *name);
  if (const auto address = ctx.args.text("EnderecoConsumidor")) {
    ctx.paper.line("Endereço: " + *address);
  }
}

void emiteItemNaoFiscal(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  int code = 0;
  if (const auto wanted = ctx.args.integer("CodNaoFiscal")) {
    if (!s.tables.totalizer(*wanted)) {
      throw CommandError(ErrorCode::TotalizadorNaoProgramado,
                         "Totalizador não fiscal " + std::to_string(*wanted) + " não programado.");
    }
    code = static_cast<int>(*wanted);
  } else if (const auto name = ctx.args.text("NomeNaoFiscal")) {
    const auto found = s.tables.findTotalizer(*name);
    if (!found) {
      throw CommandError(ErrorCode::TotalizadorNaoProgramado,
                         "Totalizador não fiscal \"" + trimBlanks(*name) + "\" não programado.");
    }
    code = *found;
  } else {
    throw CommandError(ErrorCode::ParametroAusente,
                       "Parâmetro obrigatório ausente: CodNaoFiscal ou NomeNaoFiscal.");
  }
  const NonFiscalTotalizer& totalizer = *s.tables.totalizer(code);
  const Cents value = requiredAmount(ctx, "Valor");

  switch (s.open.kind) {
    case DocKind::None: openNonFiscalReceipt(ctx); break;  // the withdrawal relies on this
    case DocKind::NonFiscal: break;
    default:
      throw CommandError(ErrorCode::DocumentoAberto,
                         "Há um documento aberto que não aceita itens não fiscais.");
  }
  Document& doc = s.open;
  if (!doc.payments.empty()) {
    throw CommandError(ErrorCode::FaseIncorreta, "Comprovante em fase de pagamento.");
  }
  for (const NonFiscalItem& item : doc.nonFiscalItems) {
    if (item.entry != totalizer.entry) {
      throw CommandError(ErrorCode::FaseIncorreta,
                         "Entradas e saídas não se misturam no mesmo comprovante.");
    }
  }
  if (doc.nonFiscalItems.size() >= kMaxNonFiscalItems) {
    throw CommandError(ErrorCode::LimiteItens, "Limite de itens do comprovante atingido.");
  }
  doc.nonFiscalItems.push_back(NonFiscalItem{code, value, totalizer.entry});
  printAmount(ctx.paper, twoDigits(code) + " " + totalizer.name, value);
}

void payNonFiscalReceipt(CommandContext& ctx) {
  Document& doc = ctx.state.open;
  if (doc.nonFiscalItems.empty()) {
    throw CommandError(ErrorCode::CupomSemItens, "Pagamento antes de qualquer item.");
  }
  const Cents total = nonFiscalTotal(doc, true);
  if (total == 0) {
    throw CommandError(ErrorCode::FaseIncorreta, "Comprovante de saída não recebe pagamento.");
  }
  if (paidTotal(doc) >= total) {
    throw CommandError(ErrorCode::PagamentoJaConcluido, "O total do comprovante já está pago.");
  }
  const int method = resolvePaymentMethod(ctx, "CodMeioPagamento");
  const Cents value = requiredAmount(ctx, "Valor");
  recordPayment(ctx, doc, total, method, value, ctx.args.text("TextoAdicional").value_or(""));
}

void closeNonFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& doc = s.open;
  if (doc.nonFiscalItems.empty()) {
    throw CommandError(ErrorCode::CupomSemItens, "Comprovante sem itens; cancele-o.");
  }
  const Cents entries = nonFiscalTotal(doc, true);
  const Cents exits = nonFiscalTotal(doc, false);
  const Cents paid = paidTotal(doc);
  if (paid < entries) {
    throw CommandError(ErrorCode::PagamentoInsuficiente,
                       "Pagamentos de " + formatCents(paid) + " não cobrem o total de " +
                           formatCents(entries) + ".");
  }
  for (const NonFiscalItem& item : doc.nonFiscalItems) {
    s.totals.nonFiscal.at(static_cast<std::size_t>(item.totalizer)) += item.value;
  }
  for (const Payment& p : doc.payments) {
    if (p.method == kCashMethod) {
      s.totals.cash += p.value;
    } else {
      s.totals.methods.at(static_cast<std::size_t>(p.method)) += p.value;
    }
  }
  doc.change = paid - entries;
  // Change and money paid out leave the drawer in cash.
  s.totals.cash -= doc.change + exits;
  if (exits > 0) printAmount(ctx.paper, "TOTAL R$", exits);
  printClosing(ctx, doc.change);
  s.open = Document{};
}

void cancelNonFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  const Cents value = nonFiscalTotal(s.open, true) + nonFiscalTotal(s.open, false);
  s.totals.nonFiscalCancelled += value;
  ctx.paper.centered("COMPROVANTE NÃO-FISCAL CANCELADO");
  printAmount(ctx.paper, "VALOR CANCELADO R$", value);
  if (const auto operatorName = ctx.args.text("Operador")) {
    ctx.paper.line("Operador: " + *operatorName);
  }
  printFooter(ctx.paper, s);
  s.open = Document{};
}

void abreGerencial(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  requireNoDocument(s);
  const auto code = ctx.args.integer("CodGerencial").value_or(0);
  if (code < 0 || code > kMaxReportCode) {
    throw CommandError(ErrorCode::ValorForaDaFaixa,
                       "Relatório gerencial " + std::to_string(code) + " fora da faixa 0 a 19.");
  }
  enterFiscalDay(s, ctx.now.date, s.counters.coo + 1);
  Document doc;
  doc.kind = DocKind::Report;
  doc.coo = ++s.counters.coo;
  doc.reportCode = static_cast<int>(code);
  ++s.counters.gnf;
  ++s.counters.grg;
  s.open = doc;
  printHeader(ctx.paper, s, ctx.now,
              "GNF:" + counter6(s.counters.gnf) + " COO:" + counter6(doc.coo));
  ctx.paper.centered("RELATÓRIO GERENCIAL");
}

void abreCreditoDebito(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  requireNoDocument(s);
  const int method = resolvePaymentMethod(ctx, "CodMeioPagamento");
  const Cents value = requiredAmount(ctx, "Valor");
  const std::int64_t coo = ctx.args.requiredInteger("COO");
  const std::int64_t itemNumber = ctx.args.integer("NumItem").value_or(1);
  const std::int64_t installments = ctx.args.integer("NumParcelas").value_or(1);
  if (itemNumber < 1 || installments < 1 || installments > 99) {
    throw CommandError(ErrorCode::ValorForaDaFaixa, "NumItem ou NumParcelas fora da faixa.");
  }
  // Any receipt closed during the open day takes vouchers; a cancelled one none.
  DayReceipt* receipt = nullptr;
  for (DayReceipt& r : s.dayReceipts) {
    if (r.coo == coo) receipt = &r;
  }
  if (!receipt) {
    throw CommandError(ErrorCode::VinculadoNaoPermitido,
                       "O COO " + counter6(static_cast<int>(coo)) +
                           " não é um cupom fiscal pago do dia.");
  }
  const PaymentMethod& info = *s.tables.method(method);
  if (!info.allowsLinked) {
    throw CommandError(ErrorCode::VinculadoNaoPermitido,
                       "O meio de pagamento " + info.name + " não permite comprovante vinculado.");
  }
  // The voucher belongs to the NumItem-th payment in that method.
  Payment* payment = nullptr;
  std::int64_t seen = 0;
  for (Payment& p : receipt->payments) {
    if (p.method == method && ++seen == itemNumber) payment = &p;
  }
  if (!payment) {
    throw CommandError(ErrorCode::VinculadoNaoPermitido,
                       "O cupom " + counter6(receipt->coo) + " não tem esse pagamento em " +
                           info.name + ".");
  }
  if (value > payment->value - payment->linkedUsed) {
    throw CommandError(ErrorCode::VinculadoNaoPermitido,
                       "Valor " + formatCents(value) + " maior que o saldo do pagamento (" +
                           formatCents(payment->value - payment->linkedUsed) + ").");
  }
  enterFiscalDay(s, ctx.now.date, s.counters.coo + 1);
  payment->linkedUsed += value;

  Document doc;
  doc.kind = DocKind::Linked;
  doc.coo = ++s.counters.coo;
  doc.linkedCoo = receipt->coo;
  doc.linkedMethod = method;
  doc.linkedValue = value;
  doc.installments = static_cast<int>(installments);
  ++s.counters.gnf;
  ++s.counters.cdc;
  s.open = doc;
  printHeader(ctx.paper, s, ctx.now,
              "GNF:" + counter6(s.counters.gnf) + " COO:" + counter6(doc.coo));
  ctx.paper.centered("COMPROVANTE CRÉDITO OU DÉBITO");
  ctx.paper.centered("CCD:" + counter6(s.counters.cdc));
  ctx.paper.line("COO do cupom vinculado: " + counter6(receipt->coo));
  ctx.paper.line("Meio de pagamento: " + info.name);
  printAmount(ctx.paper, "VALOR R$", value);
  ctx.paper.line("Parcelas: " + std::to_string(installments));
  ctx.paper.rule();
}

void imprimeTexto(CommandContext& ctx) {
  const DocKind kind = ctx.state.open.kind;
  if (kind == DocKind::None) {
    throw CommandError(ErrorCode::NenhumDocumentoAberto, "Nenhum documento aberto para o texto.");
  }
  if (kind != DocKind::Report && kind != DocKind::Linked) {
    throw CommandError(ErrorCode::FaseIncorreta, "O documento aberto não aceita texto livre.");
  }
  ctx.paper.freeText(ctx.args.text("TextoLivre").value_or(""));
}

void closeReportOrVoucher(CommandContext& ctx) {
  if (const auto operatorName = ctx.args.text("Operador")) {
    ctx.paper.rule();
    ctx.paper.line("Operador: " + *operatorName);
  }
  printFooter(ctx.paper, ctx.state);
  ctx.state.open = Document{};
}

}  // namespace ecfsim

// The fiscal receipt: opening, items, item cancellation, the subtotal adjustment,
// payments, closing and cancellation. Sales reach the day totals and the grand total as
// items are registered; the adjustment reaches them at the first payment; payments at
// the closing.
#include <cstdio>

#include "base/utf8.h"
#include "core/document_layout.h"
#include "core/documents.h"
#include "core/errors.h"
#include "core/fiscal_day.h"
#include "core/receipt_math.h"

namespace ecfsim {
namespace {

constexpr int kMaxItems = 999;
constexpr Milli kMaxQuantity = 99'999'999;       // 99.999,999
constexpr Milli kMaxUnitPrice = 9'999'999'999;   // 9.999.999,999

Document& openReceipt(CommandContext& ctx) {
  Document& doc = ctx.state.open;
  if (doc.kind != DocKind::Fiscal) {
    throw CommandError(ErrorCode::CupomFiscalNaoAberto, "Nenhum cupom fiscal aberto.");
  }
  return doc;
}

// Items and their cancellations belong to the selling phase only.
void requireSelling(const Document& doc) {
  if (!doc.payments.empty()) {
    throw CommandError(ErrorCode::FaseIncorreta, "Cupom em fase de pagamento.");
  }
  if (doc.adjusted) {
    throw CommandError(ErrorCode::FaseIncorreta, "Subtotal já ajustado; o cupom está em fase de "
                                                 "pagamento.");
  }
}

std::string limitedText(const CommandContext& ctx, const char* name, std::size_t maxChars,
                        bool required) {
  const auto value = required ? std::optional<std::string>(ctx.args.requiredText(name))
                              : ctx.args.text(name);
  const std::string text = trimBlanks(value.value_or(""));
  if (required && text.empty()) {
    throw CommandError(ErrorCode::ParametroAusente, std::string("Parâmetro obrigatório ausente: ") +
                                                        name + ".");
  }
  if (ecf::charCount(text) > maxChars) {
    throw CommandError(ErrorCode::ParametroInvalido,
                       std::string("Parâmetro ") + name + " com mais de " +
                           std::to_string(maxChars) + " caracteres.");
  }
  return text;
}

Milli positiveDecimal(const CommandContext& ctx, const char* name, Milli max) {
  const Milli value = ctx.args.requiredMoney(name);
  if (value <= 0 || value > max) {
    throw CommandError(ErrorCode::ValorInvalido,
                       std::string("Valor fora da faixa em ") + name + ": " +
                           formatQuantity(value) + ".");
  }
  return value;
}

void printConsumer(Paper& paper, const Document& doc) {
  if (!doc.consumerId.empty()) paper.line("CPF/CNPJ consumidor: " + doc.consumerId);
  if (!doc.consumerName.empty()) paper.line("Nome: " + doc.consumerName);
  if (!doc.consumerAddress.empty()) paper.line("Endereço: " + doc.consumerAddress);
  if (!doc.consumerId.empty() || !doc.consumerName.empty() || !doc.consumerAddress.empty()) {
    paper.rule();
  }
}

// Takes a receipt's committed net sale back out of the day totals, as a cancellation.
void reverseSales(PrinterState& state, const Document& doc) {
  for (const auto& [code, net] : committedNetByTaxCode(doc)) {
    addSale(state, code, -net);
    addCancellation(state, code, net);
  }
}

// The committed net the receipt still holds in the day totals.
Cents committedNet(const Document& doc) {
  Cents sum = 0;
  for (const auto& [code, net] : committedNetByTaxCode(doc)) sum += net;
  return sum;
}

void printCancellation(CommandContext& ctx, Cents value) {
  ctx.paper.centered("CUPOM FISCAL CANCELADO");
  printAmount(ctx.paper, "VALOR CANCELADO R$", value);
  if (const auto operatorName = ctx.args.text("Operador")) {
    ctx.paper.line("Operador: " + *operatorName);
  }
  printFooter(ctx.paper, ctx.state);
}

}  // namespace

void abreCupomFiscal(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  requireNoDocument(s);
  Document doc;
  doc.kind = DocKind::Fiscal;
  doc.consumerId = limitedText(ctx, "IdConsumidor", 20, false);
  doc.consumerName = limitedText(ctx, "NomeConsumidor", 60, false);
  doc.consumerAddress = limitedText(ctx, "EnderecoConsumidor", 80, false);
  enterFiscalDay(s, ctx.now.date, s.counters.coo + 1);
  doc.coo = ++s.counters.coo;
  ++s.counters.ccf;
  s.open = doc;

  printHeader(ctx.paper, s, ctx.now,
              "CCF:" + counter6(s.counters.ccf) + " COO:" + counter6(doc.coo));
  printConsumer(ctx.paper, doc);
  ctx.paper.centered("CUPOM FISCAL");
  ctx.paper.line("ITEM CÓDIGO DESCRIÇÃO");
  ctx.paper.leftRight("QTD. UN. VL.UNIT(R$) ST", "VL.ITEM(R$)");
  ctx.paper.rule();
  ctx.returned = "COO=" + std::to_string(doc.coo);
}

void vendaDeItem(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& doc = openReceipt(ctx);
  refuseWhenZPending(s, ctx.now.date);
  requireSelling(doc);
  if (doc.items.size() >= kMaxItems) {
    throw CommandError(ErrorCode::LimiteItens, "Limite de 999 itens por cupom atingido.");
  }

  const bool icms = ctx.args.indicator("AliquotaICMS").value_or(true);
  const std::int64_t taxCode = ctx.args.requiredInteger("CodAliquota");
  if (!isTaxCodeUsable(s.tables, taxCode, icms)) {
    throw CommandError(ErrorCode::AliquotaNaoProgramada,
                       "Alíquota " + std::to_string(taxCode) + (icms ? " de ICMS" : " de ISSQN") +
                           " não programada.");
  }
  Item item;
  item.taxCode = static_cast<int>(taxCode);
  item.code = limitedText(ctx, "CodProduto", 20, true);
  item.name = limitedText(ctx, "NomeProduto", 200, true);
  item.unit = limitedText(ctx, "Unidade", 6, false);
  limitedText(ctx, "NomeDepartamento", 40, false);  // checked; this printer keeps no departments
  item.unitPrice = positiveDecimal(ctx, "PrecoUnitario", kMaxUnitPrice);
  item.quantity = positiveDecimal(ctx, "Quantidade", kMaxQuantity);
  item.total = itemTotal(item.quantity, item.unitPrice);
  if (item.total <= 0 || item.total > kMaxAmount) {
    throw CommandError(ErrorCode::ValorInvalido,
                       "Valor total do item fora da faixa: " + formatCents(item.total) + ".");
  }
  item.number = static_cast<int>(doc.items.size()) + 1;
  doc.items.push_back(item);

  s.totals.grossSales += item.total;
  s.grandTotal += item.total;
  addSale(s, item.taxCode, item.total);

  char number[16];
  std::snprintf(number, sizeof number, "%03d", item.number);
  ctx.paper.line(std::string(number) + " " + item.code + " " + item.name);
  std::string detail = "    " + formatQuantity(item.quantity);
  if (!item.unit.empty()) detail += " " + item.unit;
  detail += " x " + formatUnitPrice(item.unitPrice) + " " + taxLabel(s.tables, item.taxCode);
  ctx.paper.leftRight(detail, formatCents(item.total));
  ctx.returned = "NumItem=" + std::to_string(item.number);
}

void cancelaItemFiscal(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& doc = openReceipt(ctx);
  requireSelling(doc);
  const auto wanted = ctx.args.integer("NumItem");
  const auto number = wanted.value_or(static_cast<std::int64_t>(doc.items.size()));
  if (number < 1 || number > static_cast<std::int64_t>(doc.items.size())) {
    throw CommandError(ErrorCode::ItemInexistente,
                       "Item " + std::to_string(number) + " não existe neste cupom.");
  }
  Item& item = doc.items[static_cast<std::size_t>(number - 1)];
  if (item.cancelled) {
    throw CommandError(ErrorCode::ItemJaCancelado,
                       "Item " + std::to_string(number) + " já cancelado.");
  }
  item.cancelled = true;
  addSale(s, item.taxCode, -item.total);
  addCancellation(s, item.taxCode, item.total);

  char label[48];
  std::snprintf(label, sizeof label, "CANCELAMENTO DO ITEM %03d", item.number);
  printAmount(ctx.paper, label, -item.total);
}

void acresceSubtotal(CommandContext& ctx) {
  Document& doc = openReceipt(ctx);
  if (!doc.payments.empty()) {
    throw CommandError(ErrorCode::FaseIncorreta, "Cupom em fase de pagamento.");
  }
  if (ctx.args.indicator("Cancelar").value_or(false)) {
    if (!doc.adjusted) {
      throw CommandError(ErrorCode::FaseIncorreta, "Não há acréscimo ou desconto a cancelar.");
    }
    printAmount(ctx.paper,
                doc.adjustment < 0 ? "CANCELAMENTO DO DESCONTO" : "CANCELAMENTO DO ACRÉSCIMO",
                -doc.adjustment);
    doc.adjusted = false;
    doc.adjustment = 0;
    return;
  }
  if (doc.adjusted) {
    throw CommandError(ErrorCode::SubtotalJaAjustado,
                       "O subtotal já recebeu um acréscimo ou desconto.");
  }
  const Cents subtotal = liveItemsTotal(doc);
  if (!hasLiveItems(doc)) {
    throw CommandError(ErrorCode::CupomSemItens, "Cupom sem itens vendidos.");
  }
  const auto value = ctx.args.money("ValorAcrescimo");
  const auto percent = ctx.args.money("ValorPercentual");
  if (value && percent) {
    throw CommandError(ErrorCode::ParametroInvalido,
                       "Informe ValorAcrescimo ou ValorPercentual, não ambos.");
  }
  if (!value && !percent) {
    throw CommandError(ErrorCode::ParametroAusente,
                       "Parâmetro obrigatório ausente: ValorAcrescimo.");
  }
  Cents adjustment = 0;
  if (value) {
    const auto cents = wholeCents(*value);
    if (!cents) {
      throw CommandError(ErrorCode::ValorInvalido, "ValorAcrescimo deve ser em centavos.");
    }
    adjustment = *cents;
  } else {
    // Percent in thousandths of a point: 10,000 % of the subtotal, truncated to the cent.
    adjustment = mulDiv(subtotal, *percent, 100000);
  }
  if (adjustment == 0 || -adjustment >= subtotal || adjustment > kMaxAmount) {
    throw CommandError(ErrorCode::ValorInvalido,
                       "Acréscimo ou desconto inválido: " + formatCents(adjustment) +
                           " sobre subtotal de " + formatCents(subtotal) + ".");
  }
  doc.adjusted = true;
  doc.adjustment = adjustment;
  printAmount(ctx.paper, "SUBTOTAL R$", subtotal);
  printAmount(ctx.paper, adjustment < 0 ? "DESCONTO R$" : "ACRÉSCIMO R$", adjustment);
}

void payFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& doc = s.open;
  if (!hasLiveItems(doc)) {
    throw CommandError(ErrorCode::CupomSemItens, "Pagamento antes de qualquer item vendido.");
  }
  const Cents total = receiptTotal(doc);
  if (paidTotal(doc) >= total) {
    throw CommandError(ErrorCode::PagamentoJaConcluido, "O total do cupom já está pago.");
  }
  const int method = resolvePaymentMethod(ctx, "CodMeioPagamento");
  const Cents value = requiredAmount(ctx, "Valor");
  const std::string extra = ctx.args.text("TextoAdicional").value_or("");

  if (doc.payments.empty() && doc.adjusted) {
    // The adjustment reaches the day totals, spread over the receipt's tax codes.
    for (const auto& [code, part] : allocate(doc.adjustment, liveTotalsByTaxCode(doc))) {
      addSale(s, code, part);
      const bool icms = isIcmsCode(s.tables, code);
      if (part < 0) {
        (icms ? s.totals.discountIcms : s.totals.discountIss) += -part;
      } else {
        (icms ? s.totals.surchargeIcms : s.totals.surchargeIss) += part;
      }
    }
    if (doc.adjustment > 0) {
      s.totals.grossSales += doc.adjustment;
      s.grandTotal += doc.adjustment;
    }
    doc.adjustmentCommitted = true;
  }
  recordPayment(ctx, doc, total, method, value, extra);
  const Cents remaining = total - paidTotal(doc);
  ctx.returned = "ValorRestante=" + formatCents(remaining > 0 ? remaining : 0);
}

void closeFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& doc = s.open;
  if (!hasLiveItems(doc)) {
    throw CommandError(ErrorCode::CupomSemItens, "Cupom sem itens; cancele-o.");
  }
  const Cents total = receiptTotal(doc);
  const Cents paid = paidTotal(doc);
  if (doc.payments.empty() || paid < total) {
    throw CommandError(ErrorCode::PagamentoInsuficiente,
                       "Pagamentos de " + formatCents(paid) + " não cobrem o total de " +
                           formatCents(total) + ".");
  }
  doc.change = paid - total;
  for (const Payment& p : doc.payments) {
    if (p.method == kCashMethod) {
      s.totals.cash += p.value;
    } else {
      s.totals.methods.at(static_cast<std::size_t>(p.method)) += p.value;
    }
  }
  s.totals.cash -= doc.change;  // change is handed out in cash
  printClosing(ctx, doc.change);
  s.dayReceipts.push_back(DayReceipt{doc.coo, doc.payments});
  s.lastFiscal = doc;
  s.hasLastFiscal = true;
  s.open = Document{};
}

void cancelOpenFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& doc = s.open;
  const Cents value = committedNet(doc);
  reverseSales(s, doc);
  ++s.counters.cfc;
  doc.cancelled = true;
  printCancellation(ctx, value);
  s.lastFiscal = doc;
  s.hasLastFiscal = true;
  s.open = Document{};
}

void cancelLastFiscalReceipt(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  Document& last = s.lastFiscal;
  if (!s.hasLastFiscal || last.cancelled || last.coo != s.counters.coo) {
    throw CommandError(ErrorCode::CancelamentoNaoPermitido,
                       "Nenhum cupom em andamento e o último documento não é um cupom fiscal "
                       "cancelável.");
  }
  const Cents value = committedNet(last);
  reverseSales(s, last);
  for (const Payment& p : last.payments) {
    if (p.method == kCashMethod) {
      s.totals.cash -= p.value;
    } else {
      s.totals.methods.at(static_cast<std::size_t>(p.method)) -= p.value;
    }
  }
  s.totals.cash += last.change;
  last.cancelled = true;
  // A cancelled sale takes no linked voucher any more.
  std::erase_if(s.dayReceipts, [&](const DayReceipt& r) { return r.coo == last.coo; });
  ++s.counters.cfc;
  const int coo = ++s.counters.coo;
  printHeader(ctx.paper, s, ctx.now, "COO:" + counter6(coo));
  ctx.paper.centered("CANCELAMENTO DE CUPOM FISCAL");
  ctx.paper.line("COO do cupom cancelado: " + counter6(last.coo));
  printCancellation(ctx, value);
}

}  // namespace ecfsim

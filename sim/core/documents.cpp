// The commands that act on whichever document is open, and what the documents share.
#include "core/documents.h"

#include "core/document_layout.h"
#include "core/errors.h"
#include "core/receipt_math.h"

namespace ecfsim {

void requireNoDocument(const PrinterState& state) {
  if (state.open.kind != DocKind::None) {
    throw CommandError(ErrorCode::DocumentoAberto,
                       "Há um documento aberto (COO " + counter6(state.open.coo) +
                           "); encerre-o ou cancele-o antes.");
  }
}

int resolvePaymentMethod(const CommandContext& ctx, const char* codeParam) {
  const Tables& tables = ctx.state.tables;
  if (const auto code = ctx.args.integer(codeParam)) {
    if (!tables.method(*code)) {
      throw CommandError(ErrorCode::MeioPagamentoNaoProgramado,
                         "Meio de pagamento " + std::to_string(*code) + " não programado.");
    }
    return static_cast<int>(*code);
  }
  const auto name = ctx.args.text("NomeMeioPagamento");
  if (!name || trimBlanks(*name).empty()) {
    throw CommandError(ErrorCode::ParametroAusente,
                       std::string("Parâmetro obrigatório ausente: NomeMeioPagamento ou ") +
                           codeParam + ".");
  }
  const auto found = tables.findMethod(*name);
  if (!found) {
    throw CommandError(ErrorCode::MeioPagamentoNaoProgramado,
                       "Meio de pagamento \"" + trimBlanks(*name) + "\" não programado.");
  }
  return *found;
}

Cents requiredAmount(const CommandContext& ctx, const char* name) {
  const Milli value = ctx.args.requiredMoney(name);
  const auto cents = wholeCents(value);
  if (!cents || *cents <= 0 || *cents > kMaxAmount) {
    throw CommandError(ErrorCode::ValorInvalido,
                       std::string("Valor inválido em ") + name + ": " + formatQuantity(value) +
                           " (deve ser positivo, em centavos).");
  }
  return *cents;
}

void recordPayment(CommandContext& ctx, Document& doc, Cents total, int method, Cents value,
                   const std::string& extraText) {
  if (doc.payments.empty()) printAmount(ctx.paper, "TOTAL R$", total);
  doc.payments.push_back(Payment{method, value, extraText, 0});
  printAmount(ctx.paper, ctx.state.tables.method(method)->name, value);
  if (!extraText.empty()) ctx.paper.freeText(extraText);
}

void printClosing(CommandContext& ctx, Cents change) {
  if (change > 0) printAmount(ctx.paper, "TROCO R$", change);
  const auto promotional = ctx.args.text("TextoPromocional");
  const auto operatorName = ctx.args.text("Operador");
  if (promotional || operatorName) ctx.paper.rule();
  if (promotional) ctx.paper.freeText(*promotional);
  if (operatorName) ctx.paper.line("Operador: " + *operatorName);
  printFooter(ctx.paper, ctx.state);
}

void pagaCupom(CommandContext& ctx) {
  switch (ctx.state.open.kind) {
    case DocKind::Fiscal: payFiscalReceipt(ctx); return;
    case DocKind::NonFiscal: payNonFiscalReceipt(ctx); return;
    case DocKind::None:
      throw CommandError(ErrorCode::NenhumDocumentoAberto, "Nenhum cupom aberto para pagamento.");
    default:
      throw CommandError(ErrorCode::FaseIncorreta, "O documento aberto não recebe pagamentos.");
  }
}

void encerraDocumento(CommandContext& ctx) {
  switch (ctx.state.open.kind) {
    case DocKind::Fiscal: closeFiscalReceipt(ctx); return;
    case DocKind::NonFiscal: closeNonFiscalReceipt(ctx); return;
    case DocKind::Report:
    case DocKind::Linked: closeReportOrVoucher(ctx); return;
    case DocKind::None:
      throw CommandError(ErrorCode::NenhumDocumentoAberto, "Nenhum documento aberto para encerrar.");
  }
}

void cancelaCupom(CommandContext& ctx) {
  switch (ctx.state.open.kind) {
    case DocKind::Fiscal: cancelOpenFiscalReceipt(ctx); return;
    case DocKind::NonFiscal: cancelNonFiscalReceipt(ctx); return;
    case DocKind::None: cancelLastFiscalReceipt(ctx); return;
    default:
      throw CommandError(ErrorCode::CancelamentoNaoPermitido,
                         "Relatórios e comprovantes vinculados não se cancelam; use "
                         "EncerraDocumento.");
  }
}

}  // namespace ecfsim

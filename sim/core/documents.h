// The document commands and what they share. Every handler refuses with CommandError;
// the caller keeps nothing of a refused command.
#pragma once

#include <string>

#include "core/command_context.h"

namespace ecfsim {

// Reading registers and tables.
void leInteiro(CommandContext& ctx);
void leMoeda(CommandContext& ctx);
void leData(CommandContext& ctx);
void leHora(CommandContext& ctx);
void leTexto(CommandContext& ctx);
void leIndicador(CommandContext& ctx);
void leAliquota(CommandContext& ctx);
void leNaoFiscal(CommandContext& ctx);
void leMeioPagamento(CommandContext& ctx);
void defineNaoFiscal(CommandContext& ctx);
void defineMeioPagamento(CommandContext& ctx);

// The fiscal receipt.
void abreCupomFiscal(CommandContext& ctx);
void vendaDeItem(CommandContext& ctx);
void cancelaItemFiscal(CommandContext& ctx);
void acresceSubtotal(CommandContext& ctx);

// Non-fiscal receipts, management reports, linked vouchers.
void abreCupomNaoFiscal(CommandContext& ctx);
void emiteItemNaoFiscal(CommandContext& ctx);
void abreCreditoDebito(CommandContext& ctx);
void abreGerencial(CommandContext& ctx);
void imprimeTexto(CommandContext& ctx);

// Commands that act on whatever document is open.
void pagaCupom(CommandContext& ctx);
void encerraDocumento(CommandContext& ctx);
void cancelaCupom(CommandContext& ctx);

// Readings and the Z reduction.
void emiteLeituraX(CommandContext& ctx);
void emiteReducaoZ(CommandContext& ctx);
void emiteLeituraFitaDetalhe(CommandContext& ctx);

// The device: drawer, cutter, daylight-saving clock.
void abreGaveta(CommandContext& ctx);
void cortaPapel(CommandContext& ctx);
void acertaHorarioVerao(CommandContext& ctx);

// Shared by the document commands.
void requireNoDocument(const PrinterState& state);
// The payment method named by the code parameter (-2 or 0..14) or, without it, by
// "NomeMeioPagamento" (ignoring case and surrounding blanks).
int resolvePaymentMethod(const CommandContext& ctx, const char* codeParam);
// A money parameter that must be a positive amount of whole cents.
Cents requiredAmount(const CommandContext& ctx, const char* name);
// Prints "TOTAL" before the first payment, then the payment line and its extra text.
void recordPayment(CommandContext& ctx, Document& doc, Cents total, int method, Cents value,
                   const std::string& extraText);
// Change, promotional text, operator and the printer's footer.
void printClosing(CommandContext& ctx, Cents change);

void payFiscalReceipt(CommandContext& ctx);
void closeFiscalReceipt(CommandContext& ctx);
void cancelOpenFiscalReceipt(CommandContext& ctx);
void cancelLastFiscalReceipt(CommandContext& ctx);
void payNonFiscalReceipt(CommandContext& ctx);
void closeNonFiscalReceipt(CommandContext& ctx);
void cancelNonFiscalReceipt(CommandContext& ctx);
void closeReportOrVoucher(CommandContext& ctx);

}  // namespace ecfsim

// Reading and programming the printer's tables.
#include <cstdio>

#include "core/documents.h"
#include "core/errors.h"
#include "core/money.h"

namespace ecfsim {
namespace {

std::string twoDigits(long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02lld", value);
  return buffer;
}

long long codeInRange(const CommandContext& ctx, const char* param, long long low, long long high) {
  const std::int64_t code = ctx.args.requiredInteger(param);
  if (code < low || code > high) {
    throw CommandError(ErrorCode::ValorForaDaFaixa,
                       std::string(param) + " " + std::to_string(code) + " fora da faixa " +
                           std::to_string(low) + " a " + std::to_string(high) + ".");
  }
  return code;
}

std::string methodReturn(long long code, const PaymentMethod& m) {
  return "CodMeioPagamentoProgram=" + std::to_string(code) + " DescricaoMeioPagamento=\"" +
         m.description + "\" NomeMeioPagamento=\"" + m.name + "\" PermiteVinculado=" +
         (m.allowsLinked ? "Y" : "N");
}

std::string totalizerReturn(long long code, const NonFiscalTotalizer& t) {
  return "CodNaoFiscal=" + std::to_string(code) + " DescricaoNaoFiscal=\"" + t.description +
         "\" NomeNaoFiscal=\"" + t.name + "\" TipoNaoFiscal=" + (t.entry ? "t" : "f");
}

}  // namespace

void leAliquota(CommandContext& ctx) {
  const long long code = codeInRange(ctx, "CodAliquotaProgramavel", 0, kTaxSlots - 1);
  const TaxRate& rate = ctx.state.tables.taxRates[static_cast<std::size_t>(code)];
  if (!rate.programmed) {
    throw CommandError(ErrorCode::AliquotaNaoProgramada,
                       "Alíquota " + twoDigits(code) + " não programada.");
  }
  // The ICMS indicator is the 14th character; the percentage comes last.
  ctx.returned = std::string("AliquotaICMS=") + (rate.icms ? "Y" : "N") +
                 " CodAliquotaProgramavel=" + twoDigits(code) +
                 " PercentualAliquota=" + formatPercent(rate.percent);
}

void leNaoFiscal(CommandContext& ctx) {
  const Tables& tables = ctx.state.tables;
  long long code = 0;
  if (ctx.args.has("CodNaoFiscal")) {
    code = codeInRange(ctx, "CodNaoFiscal", 0, kNonFiscalSlots - 1);
  } else if (const auto name = ctx.args.text("NomeNaoFiscal")) {
    const auto found = tables.findTotalizer(*name);
    if (!found) {
      throw CommandError(ErrorCode::TotalizadorNaoProgramado,
                         "Totalizador não fiscal \"" + trimBlanks(*name) + "\" não programado.");
    }
    code = *found;
  } else {
    throw CommandError(ErrorCode::ParametroAusente, "Parâmetro obrigatório ausente: CodNaoFiscal.");
  }
  const NonFiscalTotalizer* totalizer = tables.totalizer(code);
  if (!totalizer) {
    throw CommandError(ErrorCode::TotalizadorNaoProgramado,
                       "Totalizador não fiscal " + twoDigits(code) + " não programado.");
  }
  ctx.returned = totalizerReturn(code, *totalizer);
}

void leMeioPagamento(CommandContext& ctx) {
  const Tables& tables = ctx.state.tables;
  long long code = 0;
  if (ctx.args.has("CodMeioPagamentoProgram")) {
    code = codeInRange(ctx, "CodMeioPagamentoProgram", kCashMethod, kMethodSlots - 1);
  } else if (const auto name = ctx.args.text("NomeMeioPagamento")) {
    const auto found = tables.findMethod(*name);
    if (!found) {
      throw CommandError(ErrorCode::MeioPagamentoNaoProgramado,
                         "Meio de pagamento \"" + trimBlanks(*name) + "\" não programado.");
    }
    code = *found;
  } else {
    throw CommandError(ErrorCode::ParametroAusente,
                       "Parâmetro obrigatório ausente: CodMeioPagamentoProgram.");
  }
  const PaymentMethod* method = tables.method(code);
  if (!method) {
    throw CommandError(ErrorCode::MeioPagamentoNaoProgramado,
                       "Meio de pagamento " + std::to_string(code) + " não programado.");
  }
  ctx.returned = methodReturn(code, *method);
}

void defineNaoFiscal(CommandContext& ctx) {
  requireNoDocument(ctx.state);
  const std::string name = trimBlanks(ctx.args.requiredText("NomeNaoFiscal"));
  const std::string description = trimBlanks(ctx.args.text("DescricaoNaoFiscal").value_or(""));
  const bool entry = ctx.args.indicator("TipoNaoFiscal").value_or(true);
  const auto code = ctx.args.integer("CodNaoFiscal");
  const int chosen = ctx.state.tables.defineTotalizer(
      code ? std::optional<long long>(*code) : std::nullopt, name, description, entry);
  ctx.returned = "CodNaoFiscal=" + std::to_string(chosen);
}

void defineMeioPagamento(CommandContext& ctx) {
  requireNoDocument(ctx.state);
  const std::string name = trimBlanks(ctx.args.requiredText("NomeMeioPagamento"));
  const std::string description =
      trimBlanks(ctx.args.text("DescricaoMeioPagamento").value_or(""));
  const bool allowsLinked = ctx.args.indicator("PermiteVinculado").value_or(false);
  const auto code = ctx.args.integer("CodMeioPagamentoProgram");
  const int chosen = ctx.state.tables.defineMethod(
      code ? std::optional<long long>(*code) : std::nullopt, name, description, allowsLinked);
  ctx.returned = "CodMeioPagamentoProgram=" + std::to_string(chosen);
}

}  // namespace ecfsim

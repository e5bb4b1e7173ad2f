// The printer as a device: the cash drawer, the paper cutter and the daylight-saving
// adjustment of its clock.
#include "core/documents.h"
#include "core/errors.h"
#include "core/fiscal_day.h"

namespace ecfsim {

void abreGaveta(CommandContext& ctx) {
  const auto pulse = ctx.args.integer("TempoAcionamentoGaveta").value_or(200);
  if (pulse < 0 || pulse > 65535) {
    throw CommandError(ErrorCode::ValorForaDaFaixa, "Tempo de acionamento da gaveta inválido.");
  }
  // The drawer opens and its sensor keeps reporting what the integrator set: a desk has
  // no drawer to close again.
  ++ctx.state.conditions.drawerOpenings;
}

void cortaPapel(CommandContext& ctx) {
  const auto kind = ctx.args.integer("TipoCorte").value_or(1);
  if (kind < 0 || kind > 2) {
    throw CommandError(ErrorCode::ValorForaDaFaixa, "Tipo de corte " + std::to_string(kind) +
                                                        " fora da faixa 0 a 2.");
  }
  // A management report may be cut between the copies it holds; any other document
  // waits for its end.
  if (ctx.state.open.kind != DocKind::Report) requireNoDocument(ctx.state);
  ++ctx.state.conditions.paperCuts;
}

void acertaHorarioVerao(CommandContext& ctx) {
  PrinterState& s = ctx.state;
  const bool enter = ctx.args.requiredIndicator("EntradaHV");
  requireNoDocument(s);
  ClockSetting& clock = s.conditions.clock;
  if (enter == s.conditions.daylightSaving) {
    throw CommandError(ErrorCode::HorarioVeraoInvalido,
                       enter ? "A impressora já está em horário de verão."
                             : "A impressora não está em horário de verão.");
  }
  const DayStatus day = dayStatus(s.day, ctx.now.date);
  if (!enter && (day == DayStatus::Open || day == DayStatus::ZPending)) {
    // Turning the clock back would put documents of the open day out of order.
    throw CommandError(ErrorCode::HorarioVeraoInvalido,
                       "Saída do horário de verão só depois da redução Z.");
  }
  const std::int64_t shift = enter ? 3600 : -3600;
  if (clock.fixed) {
    clock.fixedSeconds += shift;
  } else {
    clock.offsetSeconds += shift;
  }
  s.conditions.daylightSaving = enter;
}

}  // namespace ecfsim

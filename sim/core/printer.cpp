#include "core/printer.h"

#include <cstdlib>
#include <string_view>

#include "base/utf8.h"
#include "base/utf8_path.h"
#include "core/commands.h"
#include "core/errors.h"
#include "core/fiscal_day.h"
#include "core/receipt_math.h"
#include "core/registers.h"
#include "core/state_json.h"
#include "core/state_limits.h"
#include "core/state_ranges.h"

namespace ecfsim {
namespace {

std::string dayStatusName(DayStatus status) {
  switch (status) {
    case DayStatus::NotOpen: return "notOpen";
    case DayStatus::Open: return "open";
    case DayStatus::ZPending: return "zPending";
    case DayStatus::Closed: return "closed";
  }
  return "";
}

// Takes the fault this command triggers, if any: every fault that watches the command
// counts it down, and the first to reach zero fires.
bool takeFault(std::vector<Fault>& faults, const std::string& command, Fault& fired) {
  bool found = false;
  for (auto it = faults.begin(); it != faults.end();) {
    if (!it->command.empty() && !ecf::equalsIgnoreCase(it->command, command)) {
      ++it;
      continue;
    }
    // A fault that lost its turn to another waits at zero for the next command.
    if (it->remaining > 0) --it->remaining;
    if (it->remaining <= 0 && !found) {
      fired = *it;
      found = true;
      it = faults.erase(it);
    } else {
      ++it;
    }
  }
  return found;
}

}  // namespace

Printer::Printer(const std::filesystem::path& directory)
    : store_(directory),
      tape_(store_.tapePath()),
      record_(store_.recordPath()),
      journal_(store_.journalPath()) {}

std::unique_ptr<Printer> Printer::open(const std::filesystem::path& directory) {
  std::unique_ptr<Printer> printer(new Printer(directory));
  std::string error;
  if (!printer->store_.acquire(error)) {
    throw OpenError(error, printer->store_.heldElsewhere() ? ErrorCode::ImpressoraEmUso
                                                           : ErrorCode::FalhaGravacao);
  }
  // Nothing planted under the printer's file names is ever written through.
  for (const AppendOnlyFile* file : {static_cast<const AppendOnlyFile*>(&printer->tape_),
                                     &printer->journal_.file(), &printer->record_.file()}) {
    if (!file->open()) throw OpenError(file->error());
  }
  PrinterState state = newPrinterState();
  if (printer->store_.hasState()) {
    std::string text;
    if (!printer->store_.read(text, error)) throw OpenError(error, ErrorCode::EstadoIlegivel);
    const auto unreadable = [&](const std::exception& e) {
      return OpenError("estado ilegível em " + ecf::utf8FromPath(printer->store_.statePath()) +
                           ": " + e.what(),
                       ErrorCode::EstadoIlegivel);
    };
    try {
      nlohmann::json json = nlohmann::json::parse(text);
      StateJournal::replay(printer->store_.journalPath(), text, json);
      state = stateFromJson(json);
    } catch (const nlohmann::json::exception& e) {
      throw unreadable(e);
    } catch (const StateRangeError& e) {
      throw unreadable(e);
    } catch (const JournalError& e) {
      throw unreadable(e);
    }
  }
  // A crash between printing and saving leaves lines the memory does not know about.
  const std::int64_t tapeSize = printer->tape_.size();
  if (tapeSize > state.tapeBytes) {
    printer->tape_.truncate(state.tapeBytes);
  } else {
    state.tapeBytes = tapeSize;  // the tape was cut or removed by hand
  }
  const char* sync = std::getenv("ECFSIM_FSYNC");
  printer->syncEveryChange_ = sync != nullptr && std::string_view(sync) == "always";
  printer->save(state, true);
  printer->state_ = std::move(state);
  return printer;
}

DateTime Printer::now() const { return printerNow(state_.conditions.clock); }

// Only commands that change the memory get here, so there is no need to compare with
// what was saved last.
void Printer::save(const PrinterState& next, bool durable) {
  const std::string json =
      stateToJson(next).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string error;
  if (!store_.write(json, durable || syncEveryChange_, error)) throw OpenError(error);
  // A journal that cannot start over is left alone: it names the previous state file, so
  // it will be ignored, and every change is written whole until it can.
  journal_.restart(json);
}

void Printer::commit(PrinterState next, const std::string& printed, bool durable) {
  const std::int64_t before = tape_.size();
  if (!tape_.append(printed)) {
    tape_.truncate(before);
    throw CommandError(ErrorCode::FalhaGravacao, "Falha ao imprimir na bobina: " + tape_.error());
  }
  next.tapeBytes = tape_.size();
  try {
    if (durable || syncEveryChange_ || !journal_.usable()) {
      save(next, durable);
    } else if (!journal_.append(state_, next)) {
      throw OpenError("não foi possível escrever em " + ecf::utf8FromPath(journal_.path()) +
                      ": " + journal_.file().error());
    }
  } catch (const OpenError& e) {
    tape_.truncate(before);
    throw CommandError(ErrorCode::FalhaGravacao,
                       std::string("Falha ao gravar a memória da impressora: ") + e.what());
  }
  state_ = std::move(next);
}

CommandOutcome Printer::run(const std::string& command, const std::vector<Param>& params) {
  if (state_.conditions.offline) {
    throw CommandError(ErrorCode::ImpressoraNaoResponde, "A impressora não responde.");
  }
  if (!state_.conditions.faults.empty()) {
    PrinterState counted = state_;
    Fault fault;
    const bool fired = takeFault(counted.conditions.faults, command, fault);
    commit(std::move(counted), "", false);  // the countdown is memory too
    if (fired) {
      CommandOutcome out;
      out.code = fault.code;
      out.executionResult = fault.scripted ? fault.executionResult : -fault.code;
      out.errorName = fault.name;
      out.circumstance = fault.circumstance;
      out.returned = fault.returned;
      return out;
    }
  }
  PrinterState next = state_;
  const CommandDefinition* definition = findCommand(command);
  if (definition == nullptr) {
    throw CommandError(ErrorCode::ComandoInexistente, "Comando desconhecido: " + command + ".");
  }
  validateParams(params);
  if (definition->prints && next.conditions.paperOut) {
    throw CommandError(ErrorCode::SemPapel, "Impressora sem papel.");
  }
  const Args args(params);
  CommandContext ctx{next, args, printerNow(next.conditions.clock), tape_, {}, {}};
  definition->handler(ctx);
  CommandOutcome out;
  if (definition->readsOnly) {  // nothing changed: nothing to print or save
    out.returned = std::move(ctx.returned);
    return out;
  }
  refuseBeyondLimits(next);
  // A printing command that leaves no document open has just completed one (a receipt,
  // a report, a reading): that is when the memory must survive a power cut.
  const bool completesDocument = definition->prints && next.open.kind == DocKind::None;
  commit(std::move(next), ctx.paper.text(), completesDocument);
  out.returned = std::move(ctx.returned);
  return out;
}

CommandOutcome Printer::execute(const std::string& command, const std::vector<Param>& params) {
  CommandOutcome out;
  try {
    out = run(command, params);
  } catch (const CommandError& e) {
    out.code = static_cast<int>(e.code());
    out.executionResult = -out.code;
    out.errorName = errorName(e.code());
    out.circumstance = e.circumstance();
  } catch (const std::exception& e) {
    out.code = static_cast<int>(ErrorCode::FalhaGravacao);
    out.executionResult = -out.code;
    out.errorName = errorName(ErrorCode::FalhaGravacao);
    out.circumstance = std::string("Falha interna: ") + e.what();
  }
  record_.append(command, params,
                 RecordedAnswer{out.code, out.errorName, out.circumstance, out.returned},
                 isoDateTime(now()));
  return out;
}

void Printer::update(const std::function<void(PrinterState&)>& change) {
  PrinterState next = state_;
  change(next);
  refuseBeyondLimits(next);
  save(next, true);
  state_ = std::move(next);
}

void Printer::reset() {
  tape_.close();
  record_.close();
  journal_.close();
  store_.wipe();
  PrinterState fresh = newPrinterState();
  save(fresh, true);
  state_ = std::move(fresh);
}

nlohmann::json Printer::describe() const {
  nlohmann::json out = stateToJson(state_);
  const DateTime clock = now();
  out["derived"] = {
      {"now", isoDateTime(clock)},
      {"estadoFiscal", fiscalState(state_)},
      {"indicadores", indicators(state_, clock.date)},
      {"dayStatus", dayStatusName(dayStatus(state_.day, clock.date))},
      {"netSales", netSales(state_.totals)},
      {"receiptTotal", state_.open.kind == DocKind::Fiscal ? receiptTotal(state_.open) : 0},
      {"directory", ecf::utf8FromPath(store_.directory())},
      {"tape", ecf::utf8FromPath(tape_.path())},
  };
  return out;
}

}  // namespace ecfsim

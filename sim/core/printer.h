// One virtual printer: its memory, its tape and its command record, and the way every
// command runs against them. A command either happens whole (printed, saved) or leaves
// no trace but its refusal.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/command_record.h"
#include "core/errors.h"
#include "core/params.h"
#include "core/printer_state.h"
#include "core/state_journal.h"
#include "core/state_store.h"
#include "core/tape.h"

namespace ecfsim {

// Why the printer cannot be opened or saved; `code` is what the driver reports for it.
class OpenError : public std::runtime_error {
 public:
  explicit OpenError(const std::string& what, ErrorCode code = ErrorCode::FalhaGravacao)
      : std::runtime_error(what), code_(code) {}
  ErrorCode code() const { return code_; }

 private:
  ErrorCode code_;
};

struct CommandOutcome {
  int code = 0;             // 0: carried out; above 0: refused
  int executionResult = 0;  // what DLLG2_ExecutaComando returns: 0, or minus the code
  std::string errorName;
  std::string circumstance;
  std::string returned;
};

class Printer {
 public:
  // The printer kept in `directory`, created with the default configuration when the
  // directory holds none. Throws OpenError when the directory cannot be used, another
  // process holds it, or its state file cannot be read or holds a value out of its
  // field's range (naming the file and the field).
  static std::unique_ptr<Printer> open(const std::filesystem::path& directory);

  CommandOutcome execute(const std::string& command, const std::vector<Param>& params);

  // A change from outside (the controls), applied to a copy and saved before it is
  // kept. Throws OpenError when the state cannot be saved, CommandError when the change
  // would take a counter or the clock past its limit; `change` may throw too.
  void update(const std::function<void(PrinterState&)>& change);
  // Back to a new printer: state, tape and record wiped.
  void reset();

  const PrinterState& state() const { return state_; }
  DateTime now() const;
  // The state with what is derived from it (clock, fiscal state, flags, net sales).
  nlohmann::json describe() const;
  const TapeFile& tape() const { return tape_; }
  const CommandRecord& record() const { return record_; }
  const std::filesystem::path& directory() const { return store_.directory(); }

 private:
  explicit Printer(const std::filesystem::path& directory);
  CommandOutcome run(const std::string& command, const std::vector<Param>& params);
  // Appends `printed` to the tape and saves `next`; on failure both are undone. A
  // `durable` save writes the whole state, flushed to the disk (see StateStore::write);
  // any other goes to the journal while it can.
  void commit(PrinterState next, const std::string& printed, bool durable);
  // Writes the whole state and starts the journal over on top of it.
  void save(const PrinterState& next, bool durable);

  StateStore store_;
  TapeFile tape_;
  CommandRecord record_;
  StateJournal journal_;
  PrinterState state_;
  // ECFSIM_FSYNC=always: every change reaches the disk before the command returns, not
  // only each completed document; the whole state is then written each time.
  bool syncEveryChange_ = false;
};

}  // namespace ecfsim

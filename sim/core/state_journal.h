// The changes made to the printer's memory since the state file was last written, one
// line per command, appended. Between two documents' ends a command then costs what it
// changed, not the size of the open receipt or of the fiscal memory, and a kill at any
// moment still loses nothing: a line is whole or cut off, and a cut-off last line is
// dropped (its command's printing with it) when the printer is opened again.
// The first line names the state file the journal continues by a hash of its text, so
// that a journal left behind by a save cut short is ignored once a newer state file
// exists.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "core/append_only_file.h"
#include "core/printer_state.h"

namespace ecfsim {

class JournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The first line of a journal written on top of the state file holding `stateText`.
std::string journalHeader(std::string_view stateText);

class StateJournal {
 public:
  // Past this size the state is written whole again, so that opening the printer never
  // has much to read back.
  static constexpr std::int64_t kMaxBytes = 8 << 20;

  explicit StateJournal(std::filesystem::path path) : file_(std::move(path)) {}

  const std::filesystem::path& path() const { return file_.path(); }
  const AppendOnlyFile& file() const { return file_; }
  // Whether the next change may be appended; false until restart() succeeds, after an
  // append that could not be undone, and once the journal is past kMaxBytes.
  bool usable() const { return usable_ && bytes_ < kMaxBytes; }

  // The state file was just written with `stateText`: the journal starts over on top of
  // it. False (and not usable) when the old journal could not be emptied.
  bool restart(std::string_view stateText);
  // Appends the change from `before` to `after`. False when it could not be written; the
  // file is cut back to what it held, or, failing that, the journal is not usable again
  // until the next restart.
  bool append(const PrinterState& before, const PrinterState& after);
  void close() { file_.close(); }

  // Applies to `state` (the JSON read from `stateText`, the state file) every whole line
  // of the journal at `path` that continues that state file. Throws JournalError naming
  // the line when a whole line cannot be applied; the last line cut off by a kill is not
  // whole and is left out.
  static void replay(const std::filesystem::path& path, std::string_view stateText,
                     nlohmann::json& state);

 private:
  AppendOnlyFile file_;
  std::string header_;  // the first line, written with the first change
  std::int64_t bytes_ = 0;
  bool usable_ = false;
};

}  // namespace ecfsim

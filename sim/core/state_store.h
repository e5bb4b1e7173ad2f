// Where a printer's memory lives: one directory per port under the state root, holding
// the state file (replaced atomically), the tape and the command record.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform.h"

namespace ecfsim {

// ECFSIM_ROOT, else $XDG_STATE_HOME/ecfsim, else $HOME/.local/state/ecfsim; on Windows
// ECFSIM_ROOT, else an "ecfsim" folder beside the host program. Nothing when none applies.
std::optional<std::filesystem::path> stateRoot();

// The port text as a directory name: letters, digits, ".", "_" and "-" kept, anything
// else "_"; no "..", no leading dot, at most 64 characters; "default" when empty. Where
// device names are reserved (Windows), such a name ("COM1", "nul.txt") gets a leading "_".
std::string sanitizePortName(std::string_view port,
                             bool deviceNamesReserved = platform::kDeviceNamesReserved);

// Whether `name` is one of the names Windows keeps for devices: CON, PRN, AUX, NUL,
// COM0-COM9 and LPT0-LPT9, in any case, with or without an extension.
bool isDeviceName(std::string_view name);

class StateStore {
 public:
  explicit StateStore(std::filesystem::path directory) : directory_(std::move(directory)) {}
  StateStore(const StateStore&) = delete;
  StateStore& operator=(const StateStore&) = delete;

  const std::filesystem::path& directory() const { return directory_; }
  std::filesystem::path statePath() const { return directory_ / "state.json"; }
  std::filesystem::path tapePath() const { return directory_ / "tape.txt"; }
  std::filesystem::path recordPath() const { return directory_ / "commands.jsonl"; }
  std::filesystem::path journalPath() const { return directory_ / "journal.jsonl"; }

  // Creates the directory and takes its lock: one process at a time drives a printer.
  // Temporary files of the state file left by a save cut short are removed then.
  bool acquire(std::string& error);
  void release();
  // After a failed acquire: whether another process holds the printer.
  bool heldElsewhere() const { return lock_.heldElsewhere(); }

  // What the state file may hold at most: far more than a printer's whole fiscal memory.
  static constexpr std::size_t kMaxStateBytes = 64 << 20;

  bool hasState() const;
  // Reads the state file, a regular file of at most kMaxStateBytes (false, naming it,
  // otherwise).
  bool read(std::string& json, std::string& error) const;
  // Writes a temporary file and renames it over the state file, so a killed process
  // leaves the old state or the new one, never a mixture. When `durable`, the file and
  // the rename are also flushed to the disk before it returns, so a power cut keeps it
  // too; the directory is flushed as well whenever the state file is new.
  bool write(const std::string& json, bool durable, std::string& error) const;
  // Removes the state file, its leftover, its journal, the tape and the command record.
  void wipe() const;

 private:
  // Temporary files of the state file ("state.json.tmp..."): under the printer's lock,
  // every one is a save cut short, the state file beside it the last complete one. A link
  // is removed as a link.
  void removeTemporaries() const;

  std::filesystem::path directory_;
  platform::FileLock lock_;
};

}  // namespace ecfsim

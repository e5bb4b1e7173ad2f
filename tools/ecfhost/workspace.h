// The directory a run works in: the virtual printers' state root and the host directory
// (debug log, grand-total file) side by side, so one folder holds the whole day.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ecfhost {

class Workspace {
 public:
  // A new directory "<prefix>-YYYYMMDD-HHMMSS" under the current one, or `chosen` when not
  // empty. An existing directory that already holds something is refused unless `reuse`.
  // Throws std::runtime_error with a message for the user.
  static Workspace prepare(const std::string& chosen, const std::string& prefix, bool reuse);
  // An existing workspace, for reading its tape: `chosen`, or else the newest ecfhost-*
  // directory under the current one. Throws std::runtime_error when there is none.
  static Workspace find(const std::string& chosen);

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path printerRoot() const { return root_ / "printers"; }
  std::filesystem::path hostDirectory() const { return root_ / "host"; }
  std::filesystem::path grandTotalFile() const { return hostDirectory() / "Merkato.cds"; }

  // The virtual printers read their state root from this variable when the module starts
  // the driver, so it is set before the first StartImpFiscal.
  void exportPrinterRoot() const;

  // The debug-log files (impdebugMMYY.txt), oldest month first.
  std::vector<std::filesystem::path> debugLogs() const;
  // The tape files of every printer under the state root, by printer name.
  std::vector<std::filesystem::path> tapes() const;

 private:
  explicit Workspace(std::filesystem::path root) : root_(std::move(root)) {}
  std::filesystem::path root_;
};

// A file's whole content ("" when it cannot be read).
std::string readWholeFile(const std::filesystem::path& path);

}  // namespace ecfhost

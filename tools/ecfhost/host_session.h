// One host run: the workspace, the module loaded from beside the tool, and the host's
// operator, settings and directory installed in it — what a POS does before it calls
// StartImpFiscal.
#pragma once

#include <optional>
#include <string>

#include "ecf/settings.h"
#include "file_watch.h"
#include "host_operator.h"
#include "module_api.h"
#include "workspace.h"

namespace ecfhost {

struct HostOptions {
  bool decimalPoint = false;   // --decimal-point
  std::optional<bool> answer;  // --answer yes|no: never ask on the terminal
};

class HostSession {
 public:
  // Throws std::runtime_error when the module cannot be loaded.
  HostSession(Workspace workspace, const HostOptions& options);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  ModuleApi& api() { return api_; }
  HostOperator& op() { return operator_; }
  const Workspace& workspace() const { return workspace_; }
  FileWatch& log() { return log_; }
  FileWatch& tape() { return tape_; }

  const ecf::HostSettings& settings() const { return settings_; }
  void useSettings(const ecf::HostSettings& settings);

  // Starts watching the debug log, the tape and the operator for one step.
  void beginStep();
  // The printer's error for a step that failed: the last error line the step wrote to the
  // debug log, else the last notice the operator was shown, else "".
  std::string stepError();

 private:
  Workspace workspace_;
  ModuleApi api_;
  HostOperator operator_;
  ecf::HostSettings settings_;
  FileWatch log_;
  FileWatch tape_;
};

}  // namespace ecfhost

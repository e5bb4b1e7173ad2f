#include "host_session.h"

#include <stdexcept>

#include "base/utf8_path.h"

namespace ecfhost {

HostSession::HostSession(Workspace workspace, const HostOptions& options)
    : workspace_(std::move(workspace)),
      operator_(options.answer.value_or(false), onTerminal() && !options.answer.has_value()),
      settings_(options.decimalPoint ? ecf::HostSettings::decimalPoint()
                                     : ecf::HostSettings::brazilian()),
      log_([this] { return workspace_.debugLogs(); }),
      tape_([this] { return workspace_.tapes(); }) {
  // The printer reads its state root when the module starts the driver.
  workspace_.exportPrinterRoot();
  std::string error;
  if (!api_.load(findModule(), error)) throw std::runtime_error(error);
  if (api_.ecf_SetOperator == nullptr || api_.ecf_SetSettings == nullptr ||
      api_.ecf_SetHostDirectory == nullptr) {
    throw std::runtime_error("the module does not export its host set-up functions");
  }
  api_.ecf_SetOperator(
      [this](const ecf::OperatorMessage& message) { return operator_.answer(message); });
  api_.ecf_SetSettings(settings_);
  api_.ecf_SetHostDirectory(ecf::utf8FromPath(workspace_.hostDirectory()).c_str());
}

HostSession::~HostSession() {
  // The operator lives in this object; the module must not call it afterwards.
  if (api_.ecf_SetOperator != nullptr) api_.ecf_SetOperator(nullptr);
}

void HostSession::useSettings(const ecf::HostSettings& settings) {
  settings_ = settings;
  api_.ecf_SetSettings(settings_);
}

void HostSession::beginStep() {
  log_.mark();
  tape_.mark();
  operator_.clear();
}

std::string HostSession::stepError() {
  const std::vector<std::string> errors = errorEntries(debugEntries(log_.added()));
  if (!errors.empty()) return errors.back();
  if (!operator_.notices().empty()) return operator_.notices().back();
  return "";
}

}  // namespace ecfhost

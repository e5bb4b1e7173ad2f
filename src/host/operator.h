// The operator message box: every notice and question of the module goes through here.
#pragma once

#include <string>

#include "ecf/dataset.h"
#include "ecf/host.h"

namespace ecf {

// One message box. Returns the operator's answer (true = yes); without an installed
// operator the message is logged and the answer is no, so nothing ever blocks.
bool Mensagem(const std::string& text, const std::string& secondText, const std::string& letter1,
              const std::string& letter2, int kind, const std::string& sixthText,
              const std::string& scheme, int zero, Dataset* dataset);

// A notice: kind 3, letters "N" and "N"; the answer is ignored.
void showNotice(const std::string& text, const std::string& scheme);
// A retry question: kind 3, letters "N" and "S".
bool askRetry(const std::string& text, const std::string& scheme);
// A confirmation question: kind 1, letters "N" and "S".
bool askConfirmation(const std::string& text, const std::string& scheme);

void installOperator(OperatorCallback callback);
// Installs `callback` and returns the one it replaces (one call of the C interface puts
// its own operator in front of the host's for the length of the call).
OperatorCallback exchangeOperator(OperatorCallback callback);

}  // namespace ecf

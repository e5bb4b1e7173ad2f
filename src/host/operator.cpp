#include "host/operator.h"

#include <utility>

#include "base/utf8.h"
#include "driver/debug_log.h"

namespace ecf {
namespace {

OperatorCallback& installedOperator() {
  static OperatorCallback callback;
  return callback;
}

}  // namespace

void installOperator(OperatorCallback callback) { installedOperator() = std::move(callback); }

OperatorCallback exchangeOperator(OperatorCallback callback) {
  OperatorCallback previous = std::move(installedOperator());
  installedOperator() = std::move(callback);
  return previous;
}

bool Mensagem(const std::string& text, const std::string& secondText, const std::string& letter1,
              const std::string& letter2, int kind, const std::string& sixthText,
              const std::string& scheme, int /*zero*/, Dataset* /*dataset*/) {
  OperatorMessage message{repairUtf8(text), repairUtf8(secondText), letter1, letter2, kind,
                          repairUtf8(sixthText), repairUtf8(scheme)};
  const OperatorCallback& callback = installedOperator();
  if (!callback) {
    writeDebugLine("Mensagem sem operador: " + message.text);
    return false;
  }
  try {
    return callback(message);
  } catch (...) {
    // A host operator that fails gives no answer: the safe answer is no.
    writeDebugLine("Mensagem sem resposta do operador: " + message.text);
    return false;
  }
}

void showNotice(const std::string& text, const std::string& scheme) {
  Mensagem(text, "", "N", "N", 3, "", scheme, 0, nullptr);
}

bool askRetry(const std::string& text, const std::string& scheme) {
  return Mensagem(text, "", "N", "S", 3, "", scheme, 0, nullptr);
}

bool askConfirmation(const std::string& text, const std::string& scheme) {
  return Mensagem(text, "", "N", "S", 1, "", scheme, 0, nullptr);
}

}  // namespace ecf

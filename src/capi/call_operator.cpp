#include "capi/call_operator.h"

#include <utility>

#include "driver/debug_log.h"
#include "host/operator.h"

namespace ecf::capi {
namespace {

// Letters "N","S" mark a question whose answer matters; everything else is a notice.
bool isQuestion(const OperatorMessage& message) { return message.letter2 == "S"; }

bool& operatorRunning() {
  static bool running = false;
  return running;
}

}  // namespace

bool insideOperator() { return operatorRunning(); }

std::string operatorMessageJson(const OperatorMessage& message) {
  const Json json = {{"text", message.text},
                     {"kind", isQuestion(message) ? "question" : "notice"},
                     {"scheme", message.scheme},
                     {"type", message.kind}};
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void installCOperator(ecf_operator_fn callback, void* context) {
  if (callback == nullptr) {
    installOperator(nullptr);
    return;
  }
  installOperator([callback, context](const OperatorMessage& message) {
    const std::string json = operatorMessageJson(message);
    RaisedFlag running(operatorRunning());
    return callback(context, json.c_str()) == 1;
  });
}

CallOperator::CallOperator(std::vector<bool> answers) : answers_(std::move(answers)) {
  host_ = exchangeOperator([this](const OperatorMessage& message) { return answer(message); });
}

CallOperator::~CallOperator() { exchangeOperator(std::move(host_)); }

bool CallOperator::answer(const OperatorMessage& message) {
  if (!isQuestion(message)) {
    notices_.push_back(message.text);
    forward(message);
    return false;
  }
  const bool yes = nextAnswer_ < answers_.size() ? answers_[nextAnswer_++] : forward(message);
  questions_.push_back({{"text", message.text}, {"answer", yes ? "yes" : "no"}});
  return yes;
}

bool CallOperator::forward(const OperatorMessage& message) {
  if (!host_) {
    writeDebugLine("Mensagem sem operador: " + message.text);
    return false;
  }
  try {
    RaisedFlag running(operatorRunning());
    return host_(message);
  } catch (...) {
    // A host operator that fails gives no answer: the safe answer is no.
    writeDebugLine("Mensagem sem resposta do operador: " + message.text);
    return false;
  }
}

void CallOperator::addTo(Json& reply) const {
  reply["notices"] = notices_;
  reply["questions"] = questions_;
}

}  // namespace ecf::capi

// The module's C interface (ecf/ecf.h): every operation by name, with JSON in and out.
// Each function runs under the module's lock, lets no exception out, and refuses to be
// entered again from an operator callback of a call in progress.
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "capi/call_operator.h"
#include "capi/catalogue.h"
#include "capi/operation_table.h"
#include "capi/request.h"
#include "capi/settings_json.h"
#include "driver/debug_log.h"
#include "driver/refusals.h"
#include "ecf/ecf.h"
#include "host/export_guard.h"

namespace ecf::capi {
namespace {

bool& callRunning() {
  static bool running = false;
  return running;
}

// Under the module's lock, only the thread holding it can get here while a call runs:
// from inside that call's operator.
bool reentered() { return callRunning() || insideOperator(); }

Json emptyReply() {
  return Json{{"result", nullptr},
              {"out", Json::object()},
              {"notices", Json::array()},
              {"questions", Json::array()},
              {"refusals", Json::array()},
              {"error", nullptr}};
}

Json errorReply(const char* code, const std::string& message) {
  Json reply = emptyReply();
  reply["error"] = {{"code", code}, {"message", message}};
  return reply;
}

std::string dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A successful call's reply, written piece by piece: the reply is the same shape every
// time, and building it as a tree first would cost as much as the call's own work.
std::string successReply(const Outcome& outcome, const CallOperator& callOperator,
                         const ecf::RefusalWatch& watch) {
  Json seen = Json::object();
  callOperator.addTo(seen);
  std::string refusals = "[]";  // most calls: nothing refused
  if (!watch.refusals().empty()) {
    Json listed = Json::array();
    for (const ecf::Refusal& refusal : watch.refusals()) {
      listed.push_back({{"code", refusal.code},
                        {"name", refusal.name},
                        {"circumstance", refusal.circumstance}});
    }
    refusals = dump(listed);
  }
  return "{\"result\":" + dump(outcome.result) + ",\"out\":" + dump(outcome.out) +
         ",\"notices\":" + dump(seen["notices"]) + ",\"questions\":" + dump(seen["questions"]) +
         ",\"refusals\":" + refusals + ",\"error\":null}";
}

std::string runCall(const char* name, const char* requestText) {
  const Operation* operation = name != nullptr ? findOperation(name) : nullptr;
  if (operation == nullptr) {
    const std::string named = name != nullptr ? brief(Json(std::string(name)), 80) : "NULL";
    return dump(errorReply("unknown_operation",
                           "no operation named " + named + " (ecf_operations lists them)"));
  }
  try {
    const Request request = readRequest(*operation, requestText);
    Call call(*operation, request.args);
    CallOperator callOperator(request.answers);
    const ecf::RefusalWatch watch;
    const Outcome outcome = operation->run(call);
    return successReply(outcome, callOperator, watch);
  } catch (const CallError& error) {
    return dump(errorReply(error.code(), error.what()));
  }
}

char* copyOut(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace
}  // namespace ecf::capi

using namespace ecf::capi;

extern "C" {

ECF_C_API char* ECF_CALL ecf_call(const char* operation, const char* request_json) {
  try {
    std::lock_guard<std::recursive_mutex> lock(ecf::moduleLock());
    if (reentered()) {
      return copyOut(
          dump(errorReply("reentrant_call",
                          "ecf_call was called from inside an operator callback; answer the "
                          "question and make the call after it returns")));
    }
    RaisedFlag running(callRunning());
    try {
      return copyOut(runCall(operation, request_json));
    } catch (const std::bad_alloc&) {
      return nullptr;
    } catch (const std::exception& error) {
      ecf::writeDebugLine(std::string("ERRO!!! ecf_call: ") + error.what());
      return copyOut(dump(errorReply("internal", error.what())));
    }
  } catch (...) {
    // Only running out of memory (or the lock itself) gets here.
    return nullptr;
  }
}

ECF_C_API void ECF_CALL ecf_free(char* text) { std::free(text); }

ECF_C_API const char* ECF_CALL ecf_operations(void) {
  static const std::string text = [] {
    try {
      return dump(catalogue());
    } catch (...) {
      return std::string("{\"operations\": [], \"errors\": []}");
    }
  }();
  return text.c_str();
}

ECF_C_API int ECF_CALL ecf_set_settings_json(const char* settings_json) {
  try {
    std::lock_guard<std::recursive_mutex> lock(ecf::moduleLock());
    if (reentered()) return 0;
    return applySettingsJson(settings_json != nullptr ? settings_json : "") ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

ECF_C_API void ECF_CALL ecf_set_operator(ecf_operator_fn callback, void* context) {
  try {
    std::lock_guard<std::recursive_mutex> lock(ecf::moduleLock());
    if (reentered()) {
      ecf::writeDebugLine("ERRO!!! ecf_set_operator: chamado de dentro do operador, ignorado");
      return;
    }
    installCOperator(callback, context);
  } catch (...) {
  }
}

}  // extern "C"

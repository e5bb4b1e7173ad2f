#include "driver/command.h"

#include <string>

#include "driver/binding.h"
#include "driver/debug_log.h"
#include "driver/refusals.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/operator.h"

namespace ecf {
namespace {

// Storage behind the exported text pointers: they stay valid until the next command.
std::string parameterText;
std::string returnsText;

}  // namespace

std::string executedLine(const std::string& rest) { return "Comando Executado: " + rest; }

void clearCommandState() {
  driver::clearParams();
  inRetornoFuncao = 0;
  inRetornoErro = 0;
  inPos = 0;
  inPos1 = 0;
  parameterText.clear();
  returnsText.clear();
  stRetornoFuncao = returnsText.c_str();
  stRetornoErro = "";
  stTamRetorno = "";
  stParametro = parameterText.c_str();
}

std::int32_t sendCommand(const Command& command, const std::string& debugLine) {
  clearCommandState();
  for (const CommandParam& param : command.params) {
    parameterText = param.value;
    stParametro = parameterText.c_str();
    driver::addParam(param.name, param.value, param.type);
  }
  inRetornoFuncao = driver::execute(command.name);
  if (!debugLine.empty()) writeDebugLine(debugLine);
  return inRetornoFuncao;
}

bool analyseLastCommand(const std::string& scheme, bool showMessage) {
  inRetornoErro = driver::errorCode();
  if (inRetornoErro <= 0) return true;
  const std::string name = driver::errorName();
  const std::string circumstance = driver::errorCircumstance();
  const std::string code = std::to_string(inRetornoErro);
  writeDebugLine(code + ": " + name + " - " + circumstance);
  noteRefusal(inRetornoErro, name, circumstance);
  if (showMessage) showNotice(code + ": " + name + " " + circumstance, scheme);
  return false;
}

bool runCommand(const Command& command, const std::string& debugLine, const std::string& scheme,
                bool showMessage) {
  sendCommand(command, debugLine);
  return analyseLastCommand(scheme, showMessage);
}

std::string fetchReturns() {
  returnsText = driver::returns();
  stRetornoFuncao = returnsText.c_str();
  return returnsText;
}

void keepReturnedValue(const std::string& value) {
  returnsText = value;
  stRetornoFuncao = returnsText.c_str();
}

bool runQuery(const Command& command, const std::string& debugLine, const std::string& scheme,
              bool showMessage, std::string& returned) {
  if (!runCommand(command, debugLine, scheme, showMessage)) return false;
  returned = fetchReturns();
  return true;
}

}  // namespace ecf

extern "C" {

ECF_API void LimpaParametros() {
  ecf::guardedVoid("LimpaParametros", "", [] { ecf::clearCommandState(); });
}

ECF_API const char* StrToPChar(const std::string& text) { return text.c_str(); }

ECF_API bool AnalisaRetorno(const std::string& scheme, std::int32_t /*returnCode*/,
                            bool showMessage, bool /*flag2*/, bool /*flag3*/) {
  return ecf::guarded("AnalisaRetorno", scheme, false,
                      [&] { return ecf::analyseLastCommand(scheme, showMessage); });
}

}  // extern "C"

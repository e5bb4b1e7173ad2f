// One printer command, sent the same way by every operation: clear the driver's pending
// parameters, add each (name, value text, type code), execute, write the debug line,
// judge the outcome by the driver's error code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ecf {

struct CommandParam {
  std::string name;
  std::string value;
  std::int32_t type;
};

struct Command {
  std::string name;
  std::vector<CommandParam> params;  // added in this order
};

// Sends the command and writes `debugLine` (nothing when it is empty). Returns the
// execution result, also kept in inRetornoFuncao. The outcome is not judged.
std::int32_t sendCommand(const Command& command, const std::string& debugLine);

// Sends, logs and judges: true when the printer accepted the command. A refusal is
// logged and, when `showMessage`, shown to the operator in the colour scheme.
bool runCommand(const Command& command, const std::string& debugLine, const std::string& scheme,
                bool showMessage);

// As runCommand, then fetches the returned texts into stRetornoFuncao on success.
// False when the printer refused; `returned` is then left as it was.
bool runQuery(const Command& command, const std::string& debugLine, const std::string& scheme,
              bool showMessage, std::string& returned);

// The texts returned by the last command; also kept in stRetornoFuncao.
std::string fetchReturns();
// Once a value is cut out of the returned texts, stRetornoFuncao holds the value itself.
void keepReturnedValue(const std::string& value);

// The judgement of the last command (AnalisaRetorno without its unused arguments).
bool analyseLastCommand(const std::string& scheme, bool showMessage);

// LimpaParametros: empties the driver's pending parameters and the shared scratch state.
void clearCommandState();

// The debug line "Comando Executado: " + rest.
std::string executedLine(const std::string& rest);

}  // namespace ecf

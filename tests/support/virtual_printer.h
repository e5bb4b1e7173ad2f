// The test side of the virtual printer: its controls, its command record, its state and
// its tape, for one printer (one port) of one test.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <tuple>
#include <vector>

#include "ecf/datetime.h"

namespace ecftest {

struct RecordedParam {
  std::string name;
  std::string value;  // UTF-8
  int type = 0;
};

struct RecordedCommand {
  std::string name;
  std::vector<RecordedParam> params;  // in the order they were added
  int errorCode = 0;                  // 0 accepted, > 0 refused
  std::string returned;               // UTF-8

  bool has(const std::string& param) const;
  // The value of a parameter; fails the test when the command has none of that name.
  std::string value(const std::string& param) const;
  std::vector<std::string> paramNames() const;
};

// One parameter as the printer received it: name, value, type code.
using SentParam = std::tuple<std::string, std::string, int>;

inline std::vector<SentParam> sentParams(const RecordedCommand& command) {
  std::vector<SentParam> params;
  for (const RecordedParam& p : command.params) params.emplace_back(p.name, p.value, p.type);
  return params;
}

// What the module writes and shows for the printer's injected refusal (refuseNext).
inline const std::string kRefusalLogLine = "99: Erro simulado - Recusa injetada pelo teste";
inline const std::string kRefusalNotice = "99: Erro simulado Recusa injetada pelo teste";
// What it writes for a refusal of the n-th command (refuseNth), which names no error.
inline const std::string kNthRefusalLogLine = "99: FalhaSimulada - Falha simulada.";

class VirtualPrinter {
 public:
  void attach(const std::string& root, const std::string& port);
  const std::string& port() const { return port_; }

  // Applies a configuration JSON (see the printer's README) to this printer.
  void configure(const nlohmann::json& settings);
  // The next command (optionally only the next one with this name) is refused.
  void refuseNext(const std::string& command = "", int code = 99,
                  const std::string& name = "Erro simulado",
                  const std::string& circumstance = "Recusa injetada pelo teste");
  // The n-th command from now (1 = the next), optionally counting only this name.
  void refuseNth(int n, const std::string& command = "", int code = 99);
  // The next command (of that name, when given) is answered exactly so, whatever it is.
  void scriptNextAnswer(const std::string& command, int executionResult, int errorCode,
                        const std::string& returned, const std::string& name = "",
                        const std::string& circumstance = "");
  void refuseOpening(bool refuse);
  void setOffline(bool offline);
  void setPaperOut(bool out);
  void setDrawerOpen(bool open);
  void setClock(const ecf::DateTime& fixed);
  void moveClock(long long seconds);

  std::vector<RecordedCommand> commands() const;
  std::vector<RecordedCommand> commandsNamed(const std::string& name) const;
  std::vector<std::string> commandNames() const;
  void clearRecord();

  nlohmann::json state() const;
  std::string tape() const;

 private:
  std::string port_;
};

}  // namespace ecftest

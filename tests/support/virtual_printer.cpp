#include "support/virtual_printer.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "ecfsim/controls.h"

namespace ecftest {
namespace {

// Reads a text control: asks for the length, then for the text.
template <class Control>
std::string readText(Control control, const std::string& port) {
  const int length = control(port.c_str(), nullptr, 0);
  if (length < 0) {
    ADD_FAILURE() << "printer control failed with " << length;
    return "";
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  control(port.c_str(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void expectDone(int result, const char* what) {
  EXPECT_EQ(0, result) << "printer control " << what << " failed";
}

}  // namespace

bool RecordedCommand::has(const std::string& param) const {
  for (const auto& p : params) {
    if (p.name == param) return true;
  }
  return false;
}

std::string RecordedCommand::value(const std::string& param) const {
  for (const auto& p : params) {
    if (p.name == param) return p.value;
  }
  ADD_FAILURE() << name << " carries no parameter " << param;
  return "";
}

std::vector<std::string> RecordedCommand::paramNames() const {
  std::vector<std::string> names;
  for (const auto& p : params) names.push_back(p.name);
  return names;
}

void VirtualPrinter::attach(const std::string& /*root*/, const std::string& port) {
  port_ = port;
}

void VirtualPrinter::configure(const nlohmann::json& settings) {
  expectDone(ecfsim_configure(port_.c_str(), settings.dump().c_str()), "configure");
}

void VirtualPrinter::refuseNext(const std::string& command, int code, const std::string& name,
                                const std::string& circumstance) {
  expectDone(ecfsim_fail_command(port_.c_str(), command.c_str(), 1, code, name.c_str(),
                                 circumstance.c_str()),
             "fail_command");
}

void VirtualPrinter::refuseNth(int n, const std::string& command, int code) {
  expectDone(ecfsim_fail_command(port_.c_str(), command.c_str(), n, code, nullptr, nullptr),
             "fail_command");
}

void VirtualPrinter::scriptNextAnswer(const std::string& command, int executionResult,
                                      int errorCode, const std::string& returned,
                                      const std::string& name, const std::string& circumstance) {
  expectDone(ecfsim_script_answer(port_.c_str(), command.c_str(), executionResult, errorCode,
                                  name.c_str(), circumstance.c_str(), returned.c_str()),
             "script_answer");
}

void VirtualPrinter::refuseOpening(bool refuse) {
  expectDone(ecfsim_refuse_open(port_.c_str(), refuse ? 1 : 0), "refuse_open");
}

void VirtualPrinter::setOffline(bool offline) {
  expectDone(ecfsim_set_offline(port_.c_str(), offline ? 1 : 0), "set_offline");
}

void VirtualPrinter::setPaperOut(bool out) {
  expectDone(ecfsim_set_paper_out(port_.c_str(), out ? 1 : 0), "set_paper_out");
}

void VirtualPrinter::setDrawerOpen(bool open) {
  expectDone(ecfsim_set_drawer(port_.c_str(), open ? 1 : 0), "set_drawer");
}

void VirtualPrinter::setClock(const ecf::DateTime& fixed) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fixed.year(), fixed.month(),
                fixed.day(), fixed.hour(), fixed.minute(), fixed.second());
  expectDone(ecfsim_set_clock(port_.c_str(), text), "set_clock");
}

void VirtualPrinter::moveClock(long long seconds) {
  expectDone(ecfsim_move_clock(port_.c_str(), seconds), "move_clock");
}

std::vector<RecordedCommand> VirtualPrinter::commands() const {
  const nlohmann::json record = nlohmann::json::parse(readText(ecfsim_get_record, port_));
  std::vector<RecordedCommand> commands;
  for (const auto& entry : record) {
    RecordedCommand command;
    command.name = entry.value("command", "");
    for (const auto& param : entry.at("params")) {
      command.params.push_back(
          {param.value("name", ""), param.value("value", ""), param.value("type", 0)});
    }
    command.errorCode = entry.value("result", 0);
    command.returned = entry.value("returned", "");
    commands.push_back(std::move(command));
  }
  return commands;
}

std::vector<RecordedCommand> VirtualPrinter::commandsNamed(const std::string& name) const {
  std::vector<RecordedCommand> named;
  for (auto& command : commands()) {
    if (command.name == name) named.push_back(std::move(command));
  }
  return named;
}

std::vector<std::string> VirtualPrinter::commandNames() const {
  std::vector<std::string> names;
  for (const auto& command : commands()) names.push_back(command.name);
  return names;
}

void VirtualPrinter::clearRecord() {
  expectDone(ecfsim_clear_record(port_.c_str()), "clear_record");
}

nlohmann::json VirtualPrinter::state() const {
  return nlohmann::json::parse(readText(ecfsim_get_state, port_));
}

std::string VirtualPrinter::tape() const { return readText(ecfsim_get_tape, port_); }

}  // namespace ecftest

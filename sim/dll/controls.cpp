// The ecfsim_ controls: what tests and integrators change or read on a printer named by
// its port text, whether a channel has it open or not.
#include "ecfsim/controls.h"

#include <limits>
#include <string>

#include "base/utf8.h"
#include "base/utf8_path.h"
#include "core/civil_time.h"
#include "core/configuration.h"
#include "dll/channels.h"

namespace ecfsim {
namespace {

constexpr int kBadArgument = -1;
constexpr int kUnavailable = -2;
constexpr int kRefused = -3;

// Runs `body` on the port's printer: the open one, or one opened for the moment.
template <class Body>
int withPrinter(const char* port, Body body) {
  try {
    if (port == nullptr) return kBadArgument;
    Registry& registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex());
    const auto directory = printerDirectory(port);
    if (!directory) return kUnavailable;
    std::shared_ptr<Printer> printer = registry.openPrinter(*directory);
    if (!printer) {
      try {
        printer = Printer::open(*directory);
      } catch (const std::exception&) {
        return kUnavailable;
      }
    }
    try {
      return body(*printer);
    } catch (const std::exception&) {
      return kRefused;
    }
  } catch (...) {
    return kRefused;
  }
}

// Applies a change to the printer's memory and saves it.
template <class Change>
int change(const char* port, Change edit) {
  return withPrinter(port, [&](Printer& printer) {
    printer.update(edit);
    return 0;
  });
}

int textResult(const std::string& text, char* buffer, int size) {
  copyOut(text, buffer, size, true);
  return text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())
             ? std::numeric_limits<int>::max()
             : static_cast<int>(text.size());
}

}  // namespace
}  // namespace ecfsim

using ecfsim::Printer;
using ecfsim::PrinterState;

extern "C" {

int ecfsim_configure(const char* port, const char* json) {
  if (json == nullptr) return ecfsim::kBadArgument;
  const auto config = nlohmann::json::parse(json, nullptr, false);
  if (config.is_discarded() || !config.is_object()) return ecfsim::kBadArgument;
  return ecfsim::change(port, [&](PrinterState& state) {
    ecfsim::applyConfiguration(state, config);
  });
}

int ecfsim_reset(const char* port) {
  const int result = ecfsim::withPrinter(port, [](Printer& printer) {
    printer.reset();
    return 0;
  });
  if (result != ecfsim::kUnavailable || port == nullptr) return result;
  // A state file that cannot be read still has to go: wipe the directory directly.
  try {
    ecfsim::Registry& registry = ecfsim::Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex());
    const auto directory = ecfsim::printerDirectory(port);
    if (!directory) return ecfsim::kUnavailable;
    ecfsim::StateStore store(*directory);
    std::string error;
    if (!store.acquire(error)) return ecfsim::kUnavailable;
    store.wipe();
    return 0;
  } catch (...) {
    return ecfsim::kRefused;
  }
}

int ecfsim_fail_command(const char* port, const char* command, int nth, int code,
                        const char* name, const char* circumstance) {
  if (nth < 1 || code <= 0) return ecfsim::kBadArgument;
  ecfsim::Fault fault;
  fault.command = command ? command : "";
  fault.remaining = nth;
  fault.code = code;
  fault.name = ecf::repairUtf8(name ? name : "FalhaSimulada");
  fault.circumstance = ecf::repairUtf8(circumstance ? circumstance : "Falha simulada.");
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.faults.push_back(fault); });
}

int ecfsim_script_answer(const char* port, const char* command, int execution_result,
                         int error_code, const char* name, const char* circumstance,
                         const char* returned) {
  ecfsim::Fault answer;
  answer.command = command ? command : "";
  answer.scripted = true;
  answer.executionResult = execution_result;
  answer.code = error_code;
  answer.name = ecf::repairUtf8(name ? name : "");
  answer.circumstance = ecf::repairUtf8(circumstance ? circumstance : "");
  answer.returned = ecf::repairUtf8(returned ? returned : "");
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.faults.push_back(answer); });
}

int ecfsim_clear_faults(const char* port) {
  return ecfsim::change(port, [](PrinterState& s) { s.conditions.faults.clear(); });
}

int ecfsim_refuse_open(const char* port, int refuse) {
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.refuseOpen = refuse != 0; });
}

int ecfsim_set_offline(const char* port, int offline) {
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.offline = offline != 0; });
}

int ecfsim_set_paper_out(const char* port, int out) {
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.paperOut = out != 0; });
}

int ecfsim_move_clock(const char* port, int64_t seconds) {
  constexpr int64_t kCentury = 3'153'600'000;
  if (seconds < -kCentury || seconds > kCentury) return ecfsim::kBadArgument;
  return ecfsim::change(port, [&](PrinterState& s) {
    ecfsim::ClockSetting& clock = s.conditions.clock;
    (clock.fixed ? clock.fixedSeconds : clock.offsetSeconds) += seconds;
  });
}

int ecfsim_set_clock(const char* port, const char* datetime) {
  ecfsim::ClockSetting clock;
  if (datetime != nullptr && *datetime != '\0') {
    const auto seconds = ecfsim::parseIsoDateTime(datetime);
    if (!seconds) return ecfsim::kBadArgument;
    clock.fixed = true;
    clock.fixedSeconds = *seconds;
  }
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.clock = clock; });
}

int ecfsim_set_drawer(const char* port, int open) {
  return ecfsim::change(port, [&](PrinterState& s) { s.conditions.drawerSensor = open != 0; });
}

int ecfsim_get_record(const char* port, char* buffer, int size) {
  return ecfsim::withPrinter(port, [&](Printer& printer) {
    return ecfsim::textResult(printer.record().asJsonArray(), buffer, size);
  });
}

int ecfsim_clear_record(const char* port) {
  return ecfsim::withPrinter(port, [](Printer& printer) {
    printer.record().clear();
    return 0;
  });
}

int ecfsim_get_state(const char* port, char* buffer, int size) {
  return ecfsim::withPrinter(port, [&](Printer& printer) {
    return ecfsim::textResult(
        printer.describe().dump(2, ' ', false, nlohmann::json::error_handler_t::replace), buffer,
        size);
  });
}

int ecfsim_get_directory(const char* port, char* buffer, int size) {
  return ecfsim::withPrinter(port, [&](Printer& printer) {
    return ecfsim::textResult(ecf::utf8FromPath(printer.directory()), buffer, size);
  });
}

int ecfsim_get_tape_path(const char* port, char* buffer, int size) {
  return ecfsim::withPrinter(port, [&](Printer& printer) {
    return ecfsim::textResult(ecf::utf8FromPath(printer.tape().path()), buffer, size);
  });
}

int ecfsim_get_tape(const char* port, char* buffer, int size) {
  return ecfsim::withPrinter(port, [&](Printer& printer) {
    return ecfsim::textResult(printer.tape().read(), buffer, size);
  });
}

}  // extern "C"

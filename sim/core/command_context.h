// What a command works on: a copy of the printer's memory that is kept only when the
// command succeeds, its parameters, the clock reading it runs at, and its output.
#pragma once

#include <string>

#include "core/civil_time.h"
#include "core/params.h"
#include "core/printer_state.h"
#include "core/tape.h"

namespace ecfsim {

struct CommandContext {
  PrinterState& state;
  const Args& args;
  DateTime now;
  const TapeFile& tape;
  Paper paper;           // appended to the tape when the command succeeds
  std::string returned;  // the returned text: name=value pairs
};

using CommandHandler = void (*)(CommandContext&);

}  // namespace ecfsim

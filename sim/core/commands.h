// The command catalogue: every command the printer knows, by name (ignoring case).
#pragma once

#include <string_view>
#include <vector>

#include "core/command_context.h"

namespace ecfsim {

struct CommandSpec {
  const char* name;
  CommandHandler handler;
  bool prints;  // refused while the printer is out of paper
};

const std::vector<CommandSpec>& commandCatalogue();
const CommandSpec* findCommand(std::string_view name);

}  // namespace ecfsim

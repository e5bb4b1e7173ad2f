// The command catalogue: every command the printer knows, by name (ignoring case).
#pragma once

#include <string_view>
#include <vector>

#include "core/command_context.h"

namespace ecfsim {

struct CommandDefinition {
  const char* name;
  CommandHandler handler;
  bool prints;  // refused while the printer is out of paper
  // Changes nothing in the memory (register and table readings): nothing is saved after it.
  bool readsOnly;
};

const std::vector<CommandDefinition>& commandCatalogue();
const CommandDefinition* findCommand(std::string_view name);

}  // namespace ecfsim

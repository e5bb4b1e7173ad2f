// The environment and regional settings the module runs under: the real ones, with
// whatever the host installed (directory, clock, message pump, settings).
#pragma once

#include "base/env.h"
#include "ecf/host.h"
#include "ecf/settings.h"

namespace ecf {

Env& moduleEnv();
const HostSettings& hostSettings();

// Used by the host set-up exports.
void installHostSettings(const HostSettings& settings);
void installHostDirectory(const std::string& directory);  // "" = the executable's
void installClock(ClockCallback clock);
void installMessagePump(MessagePumpCallback pump);

}  // namespace ecf

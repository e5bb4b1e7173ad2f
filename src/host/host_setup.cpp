// The exports a host calls before it starts the printer.
#include <utility>

#include "ecf/host.h"
#include "host/export_guard.h"
#include "host/module_env.h"
#include "host/operator.h"

extern "C" {

ECF_API void ecf_SetOperator(ecf::OperatorCallback callback) {
  ecf::guardedVoid("ecf_SetOperator", "", [&] { ecf::installOperator(std::move(callback)); });
}

ECF_API void ecf_SetSettings(const ecf::HostSettings& settings) {
  ecf::guardedVoid("ecf_SetSettings", "", [&] { ecf::installHostSettings(settings); });
}

ECF_API void ecf_SetHostDirectory(const char* directory) {
  ecf::guardedVoid("ecf_SetHostDirectory", "",
                   [&] { ecf::installHostDirectory(directory ? directory : ""); });
}

ECF_API void ecf_SetClock(ecf::ClockCallback callback) {
  ecf::guardedVoid("ecf_SetClock", "", [&] { ecf::installClock(std::move(callback)); });
}

ECF_API void ecf_SetMessagePump(ecf::MessagePumpCallback callback) {
  ecf::guardedVoid("ecf_SetMessagePump", "",
                   [&] { ecf::installMessagePump(std::move(callback)); });
}

}  // extern "C"

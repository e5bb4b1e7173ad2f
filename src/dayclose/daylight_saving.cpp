// The printer's daylight-saving indicator, and entering daylight-saving time. The printer
// moves its own clock; the module has no way to leave daylight-saving time.
#include <string>

#include "dayclose/daylight_indicator.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/export_guard.h"

namespace ecf {
namespace {

bool readDaylightSaving(const std::string& scheme) {
  const std::string line = executedLine("LeIndicador - NomeIndicador - HorarioVerao");
  std::string returned;
  if (!readRegister("LeIndicador", "NomeIndicador", "HorarioVerao", scheme, true, returned,
                    line)) {
    return false;
  }
  const bool inDaylightSaving = indicatesDaylightSaving(returned);
  writeDebugLine(line + (inDaylightSaving ? " - TRUE" : " - FALSE"));
  return inDaylightSaving;
}

bool enterDaylightSaving(const std::string& scheme) {
  std::string returned;
  // The printer reads the entry flag as an unsigned-integer parameter holding "TRUE".
  return runQuery(Command{"AcertaHorarioVerao", {{"EntradaHV", "TRUE", PARAMETRO_UINT}}},
                  executedLine("AcertaHorarioVerao - EntradaHV - TRUE"), scheme, true, returned);
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool Estado_HorVerao(const std::string& scheme) {
  return ecf::guarded("Estado_HorVerao", scheme, false,
                      [&] { return ecf::readDaylightSaving(scheme); });
}

ECF_API bool Muda_Horario(const std::string& scheme) {
  return ecf::guarded("Muda_Horario", scheme, false,
                      [&] { return ecf::enterDaylightSaving(scheme); });
}

}  // extern "C"

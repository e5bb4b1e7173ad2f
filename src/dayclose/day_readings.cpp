#include "dayclose/day_readings.h"

#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/export_guard.h"

namespace ecf {

bool printXReading(const std::string& scheme) {
  std::string returned;
  // An empty destination prints the reading on the printer's own paper.
  return runQuery(Command{"EmiteLeituraX", {{"Destino", "", PARAMETRO_STRING}}},
                  executedLine("EmiteLeituraX"), scheme, true, returned);
}

bool printZReduction(const std::string& scheme) {
  std::string returned;
  return runQuery(Command{"EmiteReducaoZ", {}}, executedLine("EmiteReducaoZ"), scheme, true,
                  returned);
}

}  // namespace ecf

extern "C" {

ECF_API bool Leitura_X_Imp(const std::string& /*unused1*/, const std::string& scheme,
                           const std::string& /*unused3*/) {
  return ecf::guarded("Leitura_X_Imp", scheme, false,
                      [&] { return ecf::printXReading(scheme); });
}

ECF_API bool Reducao_Z_Imp(const std::string& /*unused1*/, const std::string& scheme,
                           const std::string& /*unused3*/) {
  return ecf::guarded("Reducao_Z_Imp", scheme, false,
                      [&] { return ecf::printZReduction(scheme); });
}

// Kept for hosts that bind it: the last reduction's data is not offered here (the Z data
// export is), so nothing is read, sent or written.
ECF_API bool DadosUltimaRedZ(const ecf::Variant* /*values*/, std::int32_t /*high*/,
                             ecf::Variant& /*packet*/, ecf::Dataset& /*dataset*/) {
  return false;
}

}  // extern "C"

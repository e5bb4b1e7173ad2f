// The detail-memory reading: the printer reprints the documents of a period, chosen by
// dates or by receipt counters (COO). The printer checks the range itself.
#include <string>

#include "base/utf8.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/operator.h"

namespace ecf {
namespace {

// "ddmmyy" as the printer's date parameter "dd/mm/yy"; only the first six characters
// count, so an eight-digit date loses its last two year digits.
std::string printerDate(const std::string& ddmmyy) {
  return charSubstr(ddmmyy, 0, 2) + "/" + charSubstr(ddmmyy, 2, 2) + "/" +
         charSubstr(ddmmyy, 4, 2);
}

bool printDetailReading(const std::string& scheme, const std::string& kind,
                        const std::string& start, const std::string& end) {
  Command reading{"EmiteLeituraFitaDetalhe", {}};
  // The end of the range always goes before its start.
  if (kind == "D") {
    reading.params = {{"DataFinal", printerDate(end), PARAMETRO_DATA},
                      {"DataInicial", printerDate(start), PARAMETRO_DATA},
                      {"Destino", "I", PARAMETRO_STRING}};
  } else if (kind == "R") {
    reading.params = {{"COOFinal", end, PARAMETRO_ULONG},
                      {"COOInicial", start, PARAMETRO_ULONG},
                      {"Destino", "I", PARAMETRO_STRING}};
  } else {
    const std::string text =
        msgPadrao("LeituraMF_TipoDesconhecido", {charSubstr(repairUtf8(kind), 0, 20)});
    writeDebugLine("Memoria_Fiscal_Imp: " + text);
    showNotice(text, scheme);
    return false;
  }
  std::string returned;
  return runQuery(reading, executedLine("EmiteLeituraFitaDetalhe - " + start + " - " + end),
                  scheme, true, returned);
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool Memoria_Fiscal_Imp(const std::string& scheme, const std::string& kind,
                                const std::string& start, const std::string& end,
                                const std::string& /*unused*/) {
  return ecf::guarded("Memoria_Fiscal_Imp", scheme, false,
                      [&] { return ecf::printDetailReading(scheme, kind, start, end); });
}

}  // extern "C"

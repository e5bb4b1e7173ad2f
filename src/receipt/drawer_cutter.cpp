// The cash drawer attached to the printer, the paper cutter and the bar code.
#include <string>

#include "driver/command.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "receipt/drawer_cutter.h"

namespace ecf {
namespace {

// The pulse length and the cut kind are fixed for this printer, whatever the host asks.
constexpr const char* kDrawerPulse = "200";
constexpr const char* kCutKind = "1";

bool sendOnce(const Command& command, const std::string& debugLine, const std::string& scheme) {
  std::string returned;
  return runQuery(command, debugLine, scheme, true, returned);
}

}  // namespace

bool cutPaper(const std::string& scheme) {
  return sendOnce(Command{"CortaPapel", {{"TipoCorte", kCutKind, PARAMETRO_UINT}}},
                  executedLine(std::string("CortaPapel - TipoCorte - ") + kCutKind), scheme);
}

}  // namespace ecf

extern "C" {

ECF_API bool Abre_Gaveta_Imp(const std::string& scheme, bool /*unused*/) {
  return ecf::guarded("Abre_Gaveta_Imp", scheme, false, [&] {
    return ecf::sendOnce(
        ecf::Command{"AbreGaveta", {{"TempoAcionamentoGaveta", ecf::kDrawerPulse, PARAMETRO_UINT}}},
        ecf::executedLine(std::string("AbreGaveta - TempoAcionamentoGaveta - ") +
                          ecf::kDrawerPulse),
        scheme);
  });
}

ECF_API bool Guilhotina(const std::string& scheme, std::int32_t /*cutKind*/) {
  return ecf::guarded("Guilhotina", scheme, false, [&] { return ecf::cutPaper(scheme); });
}

// This printer prints no bar codes: the call is accepted and nothing is sent.
ECF_API bool CodigoBarra(const std::string& /*unused1*/, const std::string& /*unused2*/) {
  return true;
}

}  // extern "C"

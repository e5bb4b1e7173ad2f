// Documents the host lays out itself (a table's bill check, an exchange voucher), printed
// as one management report in blocks cut at line boundaries.
#include <cstdint>
#include <string>

#include "base/utf8.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "nonfiscal/free_text_report.h"

extern "C" {

// The pass-through texts are for the report's opening, which ignores them; the fourth
// text stays in the signature for existing hosts.
ECF_API bool Conferencia_Formatada(const std::string& scheme,
                                   const std::string& /*passThrough1*/,
                                   const std::string& /*passThrough2*/,
                                   const std::string& /*unused4*/, std::string& receiptCounter,
                                   const std::string& document) {
  return ecf::guarded("Conferencia_Formatada", scheme, false, [&] {
    // The host files the bill check under the report's COO.
    return ecf::printFreeTextReport(scheme, ecf::repairUtf8(document), &receiptCounter);
  });
}

ECF_API bool Cupom_Troca(const std::string& scheme, const std::string& /*passThrough1*/,
                         const std::string& /*passThrough2*/, const std::string& document) {
  return ecf::guarded("Cupom_Troca", scheme, false, [&] {
    return ecf::printFreeTextReport(scheme, ecf::repairUtf8(document));
  });
}

// Part of the interface that hosts bind; there is nothing to generate.
ECF_API bool GeraCatGenerica(const ecf::Variant* /*values*/, std::int32_t /*high*/,
                             std::int32_t /*number*/, ecf::StringList& /*list*/) {
  return true;
}

}  // extern "C"

// The names the receipt closing shares with the data module's definition of its datasets.
#pragma once

#include <array>

namespace ecf {

// The fields of a cash movement that the closing copies into the consolidated payments.
inline constexpr std::array<const char*, 20> kMovementFields = {
    "CDFILIAL",   "IDTIPOMOVIVE", "DTHRINCMOV",   "CDTIPORECE",   "NMTIPORECE",
    "IDTIPORECE", "VRMOVIVEND",   "VRMOVIVEOUT",  "VRCOTINDOUT",  "CDTIPOTROCO",
    "NRORDTROCO", "CDCLIENTE",    "CDCONSUMIDOR", "DTMOVIMCAIXA", "DSIMPFISCAL",
    "CDFPIMPFIS", "NRCARTBANCO",  "CDNSUHOSTTEF", "CDBANCARTCR",  "CDTIPORECEORIG"};

// Indexes of cdsMovCaixaTef: the payments oldest first, and the default order by change
// order, newest first within it.
inline constexpr const char* kMovementsByTime = "idxDTHRINCMOV";
inline constexpr const char* kMovementsByChangeOrder = "idxNRORDTROCO";

}  // namespace ecf

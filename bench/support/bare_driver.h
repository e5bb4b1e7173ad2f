// The driver's entry points bound directly by a benchmark, to time the calls an operation
// makes without the module around them.
#pragma once

#include <string>

#include "ecf/dllg2.h"

namespace ecfbench {

struct BareDriver {
  std::int32_t channel = 0;
  DLLG2_LimpaParams_t clearParams = nullptr;
  DLLG2_AdicionaParam_t addParam = nullptr;
  DLLG2_ExecutaComando_t execute = nullptr;
  DLLG2_ObtemCodErro_t errorCode = nullptr;
  DLLG2_ObtemRetornos_t returns = nullptr;
};

// libDLLG2.so of `directory`, loaded once, with a channel opened. Exits on failure.
const BareDriver& bareDriver(const std::string& directory);

// What VendaItem sends for one item, in its order, with its texts (Windows-1252).
void sellItemBare(const BareDriver& driver);

}  // namespace ecfbench

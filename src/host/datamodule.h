// The single data module instance, created on demand.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "ecf/datamodule.h"

namespace ecf {

// Creates dtmEcf01600 when there is none yet and returns it.
TdtmEcf01600& ensureDataModule();
// The data module when an operation needs one that the start-up should have created:
// creates it too, so an early call never dereferences nothing.
TdtmEcf01600& dataModule();

// Catalogue lookups through the data module.
std::string msgPadrao(std::string_view key);
std::string msgPadrao2(std::string_view key);
// A text whose "%s" placeholders take `values` in order; a placeholder left without a
// value stays as it is, a value left without a placeholder is dropped.
std::string fillPlaceholders(std::string text, std::initializer_list<std::string_view> values);
std::string msgPadrao(std::string_view key, std::initializer_list<std::string_view> values);

// The key of the vendor contact line that receipts' footers and printed tickets and
// reports carry: one catalogue text for the whole module.
inline constexpr std::string_view kVendorContactKey = "ContatoFornecedor";

// Field definitions of the working datasets, set when the data module is built.
void defineWorkingDatasets(TdtmEcf01600& module);

}  // namespace ecf

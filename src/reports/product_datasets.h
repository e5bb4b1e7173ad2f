// The names the product report shares with the data module's definition of its datasets.
#pragma once

namespace ecf {

// cdsProdVend ordered by tax situation, then rate: the grouped list walks it so.
inline constexpr const char* kProductsByTaxation = "idxTributacao";
inline constexpr const char* kProductsByCode = "IDXCDPRODUTO";

}  // namespace ecf

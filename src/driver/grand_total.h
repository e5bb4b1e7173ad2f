// The grand-total file: the printer's grand total (GT) as last recorded for this branch,
// cash register and printer, so a printer whose GT changed behind the host's back is noticed.
#pragma once

#include <cstddef>
#include <string>

#include "ecf/variant.h"
#include "host/hostlib.h"

namespace ecf {

// The cipher key of the grand totals kept in the file.
constexpr int kGrandTotalKey = kModuleCipherKey;

// A grand-total file holds a row per branch, register and printer: a few hundred bytes.
// Anything beyond this is not ours and is refused unread.
constexpr std::size_t kGrandTotalFileLimit = 1024 * 1024;

// "Merkato.cds" in the host directory.
std::string grandTotalFilePath();

// Atu_TotGeral without the export boundary. The bag carries CDFILIAL, CDCAIXA,
// NRSERIEIMP, ESQUEMACOR and IDVALIDA ("S" verifies, anything else records).
bool updateGrandTotalFile(const Variant& bag);

}  // namespace ecf

// The day's Z data, read from the printer's registers just before the Z reduction and
// handed to the host as four datasets: the day's record, the total per payment type, the
// tax per rate and the total per non-fiscal totalizer (layouts in z_datasets.h).
#pragma once

#include <string>

#include "ecf/dataset.h"

namespace ecf {

// Where an export copies its four datasets, in the order the host hands them.
struct ZExportTargets {
  Dataset& dayRecord;
  Dataset& paymentTotals;
  Dataset& taxTotals;
  Dataset& nonFiscalTotals;
};

// Reads the day and copies the four datasets, whole, into `targets`. `paymentTypes` is
// the host's payment-type table (CDTIPORECE, NMTIPORECE); `ecfNumber` goes into every
// row. True when every register was read. False when the export stopped early (a
// register unreadable or not a number, the host's table without its fields): what was
// built up to then is still copied, without the row in progress, unless the printer's
// COO could not be read, in which case the targets are left as they were. The reason
// goes to the debug log. Operator messages come only from a bad host table and from
// directories that cannot be created.
bool exportZData(const std::string& scheme, const std::string& ecfNumber,
                 const Dataset& paymentTypes, const ZExportTargets& targets);

// The data module's four auxiliary Z datasets (cdsRedzAux01, cdsFormRedzAux01,
// cdsImpostoRedzAux01, cdsTotNFisAux01), recreated empty with their layouts: the cash
// closing exports into them, and an export that stops before building anything must not
// leave the previous export's rows there to be handed on as today's:
//   const bool exported = exportZData(scheme, ecfNumber, module.cdsTipoReceAux,
//                                     emptiedAuxiliaryZTargets());
// then the four are copied into the closing's own result datasets.
ZExportTargets emptiedAuxiliaryZTargets();

}  // namespace ecf

// The layouts of the four Z datasets the host keeps for every fiscal day: the day's
// record, the total per payment type, the tax per rate and the total per non-fiscal
// totalizer. Every row starts with the printer number and the fiscal date.
#pragma once

#include <vector>

#include "ecf/datamodule.h"
#include "ecf/datapacket.h"

namespace ecf {

enum class ZTable { DayRecord, PaymentTotals, TaxTotals, NonFiscalTotals };

std::vector<FieldDef> zTableFields(ZTable table);

// The dataset open and empty with the table's layout, whatever filter, index or rows it
// had. Throws DatasetError when it cannot be recreated; it is then left closed, so no
// earlier row survives.
void recreateEmpty(Dataset& dataset, ZTable table);

}  // namespace ecf

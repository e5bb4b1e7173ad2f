// Each area gives the working datasets it owns their field definitions; the data module
// calls them all when it is built.
#pragma once

#include "ecf/datamodule.h"

namespace ecf {

void defineConfigDatasets(TdtmEcf01600& module);
void defineReceiptDatasets(TdtmEcf01600& module);
// The management reports' datasets.
void defineReportDatasets(TdtmEcf01600& module);
// The Z datasets of the fiscal day's closing and their auxiliary copies.
void defineDayCloseDatasets(TdtmEcf01600& module);
void defineProductReportDatasets(TdtmEcf01600& module);
void defineCashClosingDatasets(TdtmEcf01600& module);

}  // namespace ecf

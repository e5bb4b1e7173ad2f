// Field definitions of the data module's working datasets. Each area defines the
// datasets it owns in its own file.
#include "host/datamodule.h"

namespace ecf {

void defineConfigDatasets(TdtmEcf01600& module);
void defineReceiptDatasets(TdtmEcf01600& module);
// ---- management reports ----
void defineReportDatasets(TdtmEcf01600& module);
// Fiscal day closing: the Z datasets.
void defineDayCloseDatasets(TdtmEcf01600& module);
// ---- product report and cash closing ----
void defineProductReportDatasets(TdtmEcf01600& module);
void defineCashClosingDatasets(TdtmEcf01600& module);

void defineWorkingDatasets(TdtmEcf01600& module) {
  // cdsCheckECF has no fields of its own: it takes those of the grand-total file.
  defineConfigDatasets(module);
  defineReceiptDatasets(module);
  // ---- management reports ----
  defineReportDatasets(module);
  // Fiscal day closing: the Z datasets.
  defineDayCloseDatasets(module);
  // ---- product report and cash closing ----
  defineProductReportDatasets(module);
  defineCashClosingDatasets(module);
}

}  // namespace ecf

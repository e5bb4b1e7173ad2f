// Field definitions of the data module's working datasets. Each area defines the
// datasets it owns in its own file.
#include "host/dataset_definitions.h"

#include "host/datamodule.h"

namespace ecf {

void defineWorkingDatasets(TdtmEcf01600& module) {
  // cdsCheckECF has no fields of its own: it takes those of the grand-total file.
  defineConfigDatasets(module);
  defineReceiptDatasets(module);
  defineReportDatasets(module);
  defineDayCloseDatasets(module);
  defineProductReportDatasets(module);
  defineCashClosingDatasets(module);
}

}  // namespace ecf

// Field definitions of the datasets the management reports read as they stand.
#include "host/datamodule.h"
#include "host/dataset_definitions.h"

namespace ecf {

void defineReportDatasets(TdtmEcf01600& module) {
  // What a table ordered, filled by the host before the table-opening ticket. Open from
  // the start, so the host can insert rows straight away.
  module.cdsParcProdutos.setFieldDefs({{"CDARVPROD", FieldType::Text, 0},
                                       {"NMPRODUTO", FieldType::Text, 0},
                                       {"QTPRODCOMVEN", FieldType::Real, 0},
                                       {"VRPRECCOMVEN", FieldType::Real, 0}});
  module.cdsParcProdutos.createDataSet();
}

}  // namespace ecf

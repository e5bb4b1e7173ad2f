// Field definitions of the datasets of the product report. The host's list replaces the
// fields of cdsProdVend when it is copied in; its indexes stay.
#include "host/datamodule.h"
#include "host/dataset_definitions.h"
#include "reports/product_datasets.h"

namespace ecf {

void defineProductReportDatasets(TdtmEcf01600& module) {
  Dataset& sold = module.cdsProdVend;
  sold.setFieldDefs({{"CDPRODUTO", FieldType::Text, 0},
                     {"NMPRODUTO", FieldType::Text, 0},
                     {"QTPRODVEND", FieldType::Real, 0},
                     {"VRTOTAL", FieldType::Real, 0},
                     {"VRACRE", FieldType::Real, 0},
                     {"VRDESC", FieldType::Real, 0},
                     {"IDTPIMPOSFIS", FieldType::Text, 0},
                     {"VRPEALIMPFIS", FieldType::Real, 0}});
  sold.addIndex(kProductsByTaxation, "IDTPIMPOSFIS;VRPEALIMPFIS");
  sold.addIndex(kProductsByCode, "CDPRODUTO");

  module.cdsAliqProduto.setFieldDefs({{"IDTPIMPOSFIS", FieldType::Text, 0},
                                      {"VRPERCSITTRIB", FieldType::Real, 0},
                                      {"VRTOTALALIQ", FieldType::Real, 0}});
}

}  // namespace ecf

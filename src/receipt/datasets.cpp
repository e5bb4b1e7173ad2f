// Field definitions of the datasets the receipt closing works on. The host's packets
// replace them when they are loaded; these are the layouts the closing reads.
#include <vector>

#include "host/datamodule.h"
#include "host/dataset_definitions.h"
#include "receipt/receipt_datasets.h"

namespace ecf {
namespace {

std::vector<FieldDef> movementFields() {
  return {{"CDFILIAL", FieldType::Text, 4},       {"IDTIPOMOVIVE", FieldType::Text, 1},
          {"DTHRINCMOV", FieldType::DateTime, 0}, {"CDTIPORECE", FieldType::Text, 3},
          {"NMTIPORECE", FieldType::Text, 40},    {"IDTIPORECE", FieldType::Text, 1},
          {"VRMOVIVEND", FieldType::Real, 0},     {"VRMOVIVEOUT", FieldType::Real, 0},
          {"VRCOTINDOUT", FieldType::Real, 0},    {"CDTIPOTROCO", FieldType::Text, 3},
          {"NRORDTROCO", FieldType::Text, 3},     {"CDCLIENTE", FieldType::Text, 0},
          {"CDCONSUMIDOR", FieldType::Text, 0},   {"DTMOVIMCAIXA", FieldType::DateTime, 0},
          {"DSIMPFISCAL", FieldType::Text, 50},   {"CDFPIMPFIS", FieldType::Text, 10},
          {"NRCARTBANCO", FieldType::Text, 0},    {"CDNSUHOSTTEF", FieldType::Text, 0},
          {"CDBANCARTCR", FieldType::Text, 10},   {"CDTIPORECEORIG", FieldType::Text, 3}};
}

}  // namespace

void defineReceiptDatasets(TdtmEcf01600& module) {
  module.cdsMovCaixa.setFieldDefs(movementFields());

  Dataset& consolidated = module.cdsMovCaixaTef;
  consolidated.setFieldDefs(movementFields());
  consolidated.addIndex(kMovementsByTime, "DTHRINCMOV");
  consolidated.addIndex(kMovementsByChangeOrder, "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  consolidated.setIndexName(kMovementsByChangeOrder);

  module.cdsRecebAux.setFieldDefs({{"CDTIPORECE", FieldType::Text, 3},
                                   {"NMTIPORECE", FieldType::Text, 40},
                                   {"IDTIPORECE", FieldType::Text, 1}});
  module.cdsSaldCred.setFieldDefs({{"CDFAMILISALD", FieldType::Text, 0},
                                   {"NMFAMILISALD", FieldType::Text, 0},
                                   {"VRSALDCONFAM", FieldType::Real, 0}});
  module.cdsFamiliaSaldo.setFieldDefs(
      {{"CDFAMILISALD", FieldType::Text, 0}, {"VRSALDCONFAM", FieldType::Real, 0}});
  module.cdsEmprestimo.setFieldDefs({{"CDFAMILISALD", FieldType::Text, 0},
                                     {"IDTPMOVEXT", FieldType::Text, 1},
                                     {"VRMOVEXTCONS", FieldType::Real, 0}});
}

}  // namespace ecf

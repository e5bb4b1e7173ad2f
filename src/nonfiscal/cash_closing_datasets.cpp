// Field definitions of the working datasets of the cash closing. The host's tables
// replace them when they are loaded; these are the layouts the closing reads, and what a
// reprint finds when nothing was ever loaded.
#include <vector>

#include "host/datamodule.h"
#include "host/dataset_definitions.h"

namespace ecf {
namespace {

std::vector<FieldDef> movementFields() {
  return {{"IDTIPOREG", FieldType::Text, 1},
          {"NMTIPORECE", FieldType::Text, 40},
          {"VRSAIDA", FieldType::Real, 0}};
}

}  // namespace

void defineCashClosingDatasets(TdtmEcf01600& module) {
  module.cdsMovFecha.setFieldDefs({{"CDTIPORECE", FieldType::Text, 3},
                                   {"NRENVELOPE", FieldType::Text, 6},
                                   {"NMTIPORECE", FieldType::Text, 40},
                                   {"VRFECHADIG", FieldType::Real, 0},
                                   {"VRFECHAINF", FieldType::Real, 0},
                                   {"DTABERCAIX", FieldType::DateTime, 0}});
  module.cdsSangria.setFieldDefs({{"CDTIPORECE", FieldType::Text, 3},
                                  {"NMTIPORECE", FieldType::Text, 40},
                                  {"VRSANGRIA", FieldType::Real, 0},
                                  {"CDCLIENTE", FieldType::Text, 0}});
  module.cdsOperadorSup.setFieldDefs({{"CDSUPERVISOR", FieldType::Text, 0},
                                      {"NMSUPERVISOR", FieldType::Text, 0},
                                      {"CDOPERADOR", FieldType::Text, 0},
                                      {"NMOPERADOR", FieldType::Text, 0}});
  module.cdsMovAbertura.setFieldDefs(movementFields());
  module.cdsMovTot.setFieldDefs(movementFields());
}

}  // namespace ecf

#include "dayclose/z_datasets.h"

#include "host/datamodule.h"
#include "host/dataset_definitions.h"

namespace ecf {
namespace {

FieldDef text(const char* name, int size) { return FieldDef{name, FieldType::Text, size}; }
FieldDef real(const char* name) { return FieldDef{name, FieldType::Real, 0}; }
FieldDef dateTime(const char* name) { return FieldDef{name, FieldType::DateTime, 0}; }

}  // namespace

std::vector<FieldDef> zTableFields(ZTable table) {
  switch (table) {
    case ZTable::DayRecord:
      return {text("NRECFREDZ", 4),      dateTime("DTREDUCAOZ"),   text("NRREINIREDZ", 10),
              text("NRREDREDZ", 10),     text("NRLEITREDZ", 10),   text("NRGERCNFREDZ", 10),
              text("NRCANCFREDZ", 10),   text("NRPRIMCFREDZ", 10), text("NRULTCFREDZ", 10),
              real("VRGTREDZ"),          real("VRVENBRUREDZ"),     real("VRISSREDZ"),
              real("VRTOTCANREDZ"),      real("VRTOTDESREDZ"),     real("VRVENLIQREDZ"),
              real("VRTOTACRREDZ"),      real("VRSTRIBREDZ"),      real("VRISENCREDZ"),
              real("VRNINCIDREDZ"),      text("QTTEMLIGREDZ", 6),  text("QTTEMPCFREDZ", 6),
              real("QTMEMRESREDZ"),      text("IDORIGEMREDZ", 3),  text("DSMODMARCAECF", 30),
              text("NRUSUARIOMFD", 10),  text("CDMFADICIONAL", 5), dateTime("DTGRAVSBECF")};
    case ZTable::PaymentTotals:
      return {text("NRECFREDZ", 4), dateTime("DTREDUCAOZ"), text("CDTIPORECE", 3),
              real("VRFORMPGTORZ"), text("CDTPRECEORIG", 3)};
    case ZTable::TaxTotals:
      return {text("NRECFREDZ", 4),     dateTime("DTREDUCAOZ"), text("CDALIQIMPRZ", 10),
              real("VRALIQIMPRZ"),      real("VRBCALCIMPRZ"),   real("VRIMPOSTORZ"),
              text("IDTPIMPREDZ", 1)};
    case ZTable::NonFiscalTotals:
      return {text("NRECFREDZ", 4),     dateTime("DTREDUCAOZ"), text("NRTOTNFISCRZ", 10),
              text("DSTOTNFISCRZ", 50), text("NRCONTOTNFIS", 10), real("VRACUTOTNFIS")};
  }
  return {};
}

void recreateEmpty(Dataset& dataset, ZTable table) {
  dataset.close();
  dataset.setFiltered(false);
  dataset.setIndexName("");
  dataset.setFieldDefs(zTableFields(table));
  dataset.createDataSet();
}

void defineDayCloseDatasets(TdtmEcf01600& module) {
  module.cdsReducaoZ.setFieldDefs(zTableFields(ZTable::DayRecord));
  module.cdsFormPgtoRedZ.setFieldDefs(zTableFields(ZTable::PaymentTotals));
  module.cdsImpostoRedZ.setFieldDefs(zTableFields(ZTable::TaxTotals));
  module.cdsTotNFiscRedZ.setFieldDefs(zTableFields(ZTable::NonFiscalTotals));
  // The cash closing's copies of the same four.
  module.cdsRedzAux01.setFieldDefs(zTableFields(ZTable::DayRecord));
  module.cdsFormRedzAux01.setFieldDefs(zTableFields(ZTable::PaymentTotals));
  module.cdsImpostoRedzAux01.setFieldDefs(zTableFields(ZTable::TaxTotals));
  module.cdsTotNFisAux01.setFieldDefs(zTableFields(ZTable::NonFiscalTotals));
}

}  // namespace ecf

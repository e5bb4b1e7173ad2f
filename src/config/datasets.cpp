// Field definitions of the datasets of tax rates and payment methods.
#include <vector>

#include "host/datamodule.h"
#include "host/dataset_definitions.h"

namespace ecf {
namespace {

FieldDef text(const char* name, int size) { return FieldDef{name, FieldType::Text, size}; }
FieldDef real(const char* name) { return FieldDef{name, FieldType::Real, 0}; }
FieldDef integer(const char* name) { return FieldDef{name, FieldType::Integer, 0}; }

// The host's payment types, as the working copies hold them.
std::vector<FieldDef> paymentTypeFields() {
  return {
      text("CDFILIAL", 4),       text("CDTIPORECE", 3),    text("IDTPBUTTON", 1),
      text("IDTIPORECE", 1),     text("IDMOSTRARECE", 1),  text("DSIMPFISCAL", 50),
      text("NMTIPORECE", 40),    text("CDFPIMPFIS", 10),   text("IDEMIVALE", 1),
      real("VRTAXAADMI"),        real("VRMINCARTAO"),      text("CDTIPOTROCO", 3),
      text("NRORDTROCO", 3),     text("IDVALE", 1),        text("IDDEBCLIE", 1),
      text("CDTPINDICE", 1),     text("IDPERVALOR", 1),    text("CDINDICE", 4),
      text("NRCONFTELA", 5),     text("NRBUTTON", 5),      text("NRPGCONFTELA", 2),
      text("IDTPBUTONAUX", 1),   text("NRBUTTONAUX", 5),   text("NRPGCONFTAUX", 2),
      text("CDIDENTBUTON", 10),  text("DSBUTTON", 40),     integer("NRCOLORTEXT"),
      integer("NRCOLORBACK"),    text("DSMESSAGEBUT", 300), text("DSIMAGEMBUT", 200),
      integer("CDADMINCART"),    text("CDBANCARTCR", 10),  text("IDDESABTEF", 1),
  };
}

}  // namespace

void defineConfigDatasets(TdtmEcf01600& module) {
  // The printer's tax rates, kept ordered by kind and percentage for the host's lookups.
  module.cdsAliqImpFis.setFieldDefs(
      {text("CDALIQIMPFIS", 10), real("VRALIQIMPFIS"), text("IDALIQIMPFIS", 1)});
  module.cdsAliqImpFis.addIndex("IdxIdAliqVrAliq", "IDALIQIMPFIS;VRALIQIMPFIS");
  module.cdsAliqImpFis.setIndexName("IdxIdAliqVrAliq");

  module.cdsReceb.setFieldDefs(paymentTypeFields());
  module.cdsTipoRece.setFieldDefs(paymentTypeFields());
}

}  // namespace ecf

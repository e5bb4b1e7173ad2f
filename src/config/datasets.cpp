// Field definitions of the datasets of tax rates and payment methods.
#include "host/datamodule.h"

namespace ecf {

void defineConfigDatasets(TdtmEcf01600& /*module*/) {}

}  // namespace ecf

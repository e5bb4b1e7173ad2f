// Field definitions of the datasets the receipt closing works on.
#include "host/datamodule.h"

namespace ecf {

void defineReceiptDatasets(TdtmEcf01600& /*module*/) {}

}  // namespace ecf

#include "host/datamodule.h"

#include "ecf/module.h"
#include "host/catalogue_texts.h"

namespace ecf {

TdtmEcf01600::TdtmEcf01600() : msgPadrao(kMsgPadraoText), msgPadrao2(kMsgPadrao2Text) {
  defineWorkingDatasets(*this);
}

TdtmEcf01600& ensureDataModule() {
  // Lives until the process ends, as the host may keep using its datasets.
  if (dtmEcf01600 == nullptr) dtmEcf01600 = new TdtmEcf01600();
  return *dtmEcf01600;
}

TdtmEcf01600& dataModule() { return ensureDataModule(); }

std::string msgPadrao(std::string_view key) { return dataModule().msgPadrao.Msg(key); }
std::string msgPadrao2(std::string_view key) { return dataModule().msgPadrao2.Msg(key); }

}  // namespace ecf

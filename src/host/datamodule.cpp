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

std::string fillPlaceholders(std::string text, std::initializer_list<std::string_view> values) {
  std::size_t from = 0;
  for (const std::string_view value : values) {
    const std::size_t slot = text.find("%s", from);
    if (slot == std::string::npos) break;
    text.replace(slot, 2, value);
    // A value that itself holds "%s" is never filled in again.
    from = slot + value.size();
  }
  return text;
}

std::string msgPadrao(std::string_view key, std::initializer_list<std::string_view> values) {
  return fillPlaceholders(msgPadrao(key), values);
}

}  // namespace ecf

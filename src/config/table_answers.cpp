#include "config/table_answers.h"

#include "base/utf8.h"
#include "driver/registers.h"
#include "host/hostlib.h"

namespace ecf {

std::optional<std::string> ratePercentage(std::string_view returned) {
  constexpr std::string_view kKey = "PercentualAliquota=";
  constexpr std::size_t kWidth = 5;
  const std::size_t at = returned.find(kKey);
  if (at == std::string_view::npos) return std::nullopt;
  return charSubstr(returned.substr(at + kKey.size()), 0, kWidth);
}

std::string nonFiscalName(std::string_view returned) {
  return Trim(TamFixo(Trim(quotedValueBefore(returned, "NomeNaoFiscal=", "TipoNaoFiscal=")),
                      kNonFiscalNameWidth));
}

}  // namespace ecf

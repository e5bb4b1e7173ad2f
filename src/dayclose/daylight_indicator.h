// Reading the daylight-saving indicator out of the printer's answer to LeIndicador.
#pragma once

#include <string_view>

#include "base/utf8.h"

namespace ecf {

// The indicator's value sits at the 24th character of the answer; "1" means the printer
// is in daylight-saving time. Any other character, or an answer too short to hold one,
// means it is not.
inline bool indicatesDaylightSaving(std::string_view returned) {
  constexpr std::size_t kIndicatorIndex = 23;
  return charSubstr(returned, kIndicatorIndex, 1) == "1";
}

}  // namespace ecf

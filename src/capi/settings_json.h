// The host's number and date settings from JSON (ecf_set_settings_json).
#pragma once

#include <string_view>

namespace ecf::capi {

// {"decimalSeparator": ",", "thousandSeparator": ".", "dateSeparator": "/",
//  "timeSeparator": ":", "shortDateFormat": "dd/mm/yyyy", "longTimeFormat": "hh:nn:ss",
//  "currencyString": "R$", "currencyFormat": 2, "currencyDecimals": 2}, any of them.
// The keys left out keep their value. False (settings unchanged) for bad JSON, an unknown
// key or a value that does not fit; true when installed.
bool applySettingsJson(std::string_view text);

}  // namespace ecf::capi

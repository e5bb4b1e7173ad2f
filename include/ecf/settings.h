// The host's regional settings: how numbers, amounts and dates are written.
#pragma once

#include <string>

namespace ecf {

struct HostSettings {
  char decimalSeparator = ',';
  char thousandSeparator = '.';
  char dateSeparator = '/';
  char timeSeparator = ':';
  // Delphi-style patterns: d dd m mm yy yyyy h hh n nn s ss z zzz.
  std::string shortDateFormat = "dd/mm/yyyy";
  std::string longTimeFormat = "hh:nn:ss";
  std::string currencyString = "R$";
  // Position of the currency symbol: 0 "R$1", 1 "1R$", 2 "R$ 1", 3 "1 R$".
  int currencyFormat = 2;
  int currencyDecimals = 2;

  // The default of a Brazilian installation.
  static HostSettings brazilian() { return HostSettings{}; }
  // A host configured with a decimal point (thousands with a comma).
  static HostSettings decimalPoint() {
    HostSettings s;
    s.decimalSeparator = '.';
    s.thousandSeparator = ',';
    return s;
  }
};

}  // namespace ecf

// The fiscal date of the day being closed: the date the printer's fiscal day opened,
// which stamps every Z row.
#pragma once

#include <string>

#include "ecf/datetime.h"

namespace ecf {

// The printer's opening date (DataAbertura) at midnight. Today when no day is open
// ("000000"), when the read fails or when the answer is not a date. Never throws for
// anything the printer answers.
DateTime readMovementDate(const std::string& scheme);

// The opening date as the printer may write it: "ddmmyy", "dd/mm/yy" or "dd/mm/yyyy"; a
// two-digit year lies in the century of `today`. False for anything else.
bool parseOpeningDate(const std::string& text, const DateTime& today, DateTime& date);

}  // namespace ecf

// The computer's local time as texts: for the journal, the events and the cash movements.
#pragma once

#include <string>

namespace ecfd {

// "2026-12-09T20:31:07" (local time, to the second).
std::string clockText();
// "2026-12-09 20:31:07" plus `offsetSeconds`: the form the module reads date-times in.
std::string dateTimeText(int offsetSeconds = 0);
// "2026-12-09".
std::string dateText();

}  // namespace ecfd

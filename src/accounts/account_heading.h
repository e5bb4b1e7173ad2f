// The heading every consumer-account statement and balance report starts with: the
// report opened, then the title and the cash register with the date and time.
#pragma once

#include <string>

#include "nonfiscal/report_in_progress.h"

namespace ecf {

// Reads the receipt counter, opens the report and prints the heading block; the report
// stays open for the writer to go on with.
void printAccountHeading(ReportInProgress& report, const std::string& title,
                         const std::string& cashRegister);

}  // namespace ecf

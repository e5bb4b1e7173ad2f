// The withdrawal receipt: the envelopes handed over, in two copies printed one after the
// other into the open management report, the first signed by the supervisor and the
// second by the operator.
#pragma once

#include <string>
#include <vector>

#include "ecf/dataset.h"
#include "nonfiscal/report_in_progress.h"

namespace ecf {

struct Envelope {
  std::string number;
  std::string paymentType;
  double amount = 0;
};

struct WithdrawalReceipt {
  std::vector<Envelope> envelopes;
  std::string supervisorLine;  // "Supervisor : <code> <name>"
  std::string operatorLine;    // "Operador : <code> <name>"
  std::string motive;          // printed when not empty
  std::string observation;     // printed when not empty
  bool envelopeColumn = false;
};

// The receipt from the working datasets: one envelope per row of `envelopes`, with the
// counted amount when `counted`, the informed one otherwise; the names from the first row
// of `people`.
WithdrawalReceipt readWithdrawalReceipt(Dataset& envelopes, Dataset& people, bool counted);

// Prints both copies into the open report. The printer's answers are not judged: a
// refused block has been shown to the operator and the copies go on.
void printWithdrawalCopies(const WithdrawalReceipt& receipt, ReportInProgress& report);

}  // namespace ecf

// The cash closing: the withdrawal receipt in two copies, and for a closing the product
// report and the closing report of the shift; then, for a day closing, the operator's
// questions, the day's reports and the export of the day's Z data.
#pragma once

#include <string>

#include "ecf/dataset.h"

namespace ecf {

struct CashClosingRequest {
  // The host's tables.
  const Dataset& envelopes;       // loaded into cdsMovFecha
  const Dataset& withdrawals;     // loaded into cdsSangria, carried only
  const Dataset& shiftProducts;   // summed, and printed by the product report
  const Dataset& people;          // supervisor and operator, loaded into cdsOperadorSup
  const Dataset& dayMovements;    // loaded into cdsMovTot
  const Dataset& shiftMovements;  // loaded into cdsMovAbertura
  const Dataset& dayProducts;     // for the day's closing report
  const Dataset& paymentTypes;    // loaded into cdsTipoReceAux, for the Z export

  bool printReceipt = false;      // the withdrawal receipt and what follows it
  bool withdrawalOnly = false;    // the counted amounts, and nothing after the receipt
  bool reprint = false;           // print again from the previous call's data: no
                                  // loading, no opening or Z question, no export
  bool reductionAllowed = false;  // both of the host's conditions for the Z reduction
  bool xReadingFirst = false;
  bool envelopeColumn = false;
  std::string productConfirmation;  // the product report's confirmation mode
  std::string productLayout;        // and its layout
  std::string motive;
  std::string observation;
  std::string scheme;
  std::string ecfNumber;  // written into every row of the Z export
};

// The day's Z data handed back to the host.
struct DayZData {
  Dataset& day;
  Dataset& payments;
  Dataset& taxes;
  Dataset& nonFiscal;
  bool& saved;  // true only when the export says the day's data is complete
};

// Runs the closing; true only when the operator chose to open the cash register again.
// `coo` takes the first counter read while it is empty; an X reading overwrites it.
bool closeCash(const CashClosingRequest& request, std::string& coo, DayZData& zData);

}  // namespace ecf

// The document routes besides the receipt, each composed of the module's operations as a
// host composes them. Run on the worker thread; bad input throws ApiError.
#pragma once

#include <string>

#include "printer_service.h"
#include "reply.h"

namespace ecfd {

// Whether the module's catalogue lists the operation.
bool inCatalogue(const Json& catalogue, const std::string& name);

// POST /v1/operations/{name}: ecf_call's request in, its reply out.
Reply runOperation(PrinterService& printer, const std::string& name, const Json& body);
// POST /v1/cash/supply, /v1/cash/withdrawal: {"amount"}.
Reply cashSupply(PrinterService& printer, const Json& body);
Reply cashWithdrawal(PrinterService& printer, const Json& body);
// POST /v1/readings/x; /v1/readings/z only with {"confirm": true}.
Reply readingX(PrinterService& printer, const Json& body);
Reply reductionZ(PrinterService& printer, const Json& body);
// POST /v1/reports: {"text"} as a free-text management report.
Reply managementReport(PrinterService& printer, const Json& body);

// The answer for one operation that the printer took (200) or refused (422).
Reply documentReply(const char* document, const CallResult& call, long long coo);

}  // namespace ecfd

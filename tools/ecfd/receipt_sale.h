// POST /v1/receipts: a whole sale as one fiscal receipt, composed as a host composes it
// (AbreCupom, one VendaItem per item, FechaCupom with the host's payment types and the
// sale's cash movements). A refusal the operator does not retry cancels the receipt
// (Cancela_Cupom_Imp). Each saleId is journalled, so it prints at most once.
#pragma once

#include "printer_service.h"
#include "reply.h"
#include "sale_journal.h"

namespace ecfd {

// Runs on the worker thread. Bad input throws ApiError before anything is printed.
Reply sellReceipt(PrinterService& printer, SaleJournal& journal, const Json& body);

// At start-up, after the printer started: every sale left pending by a killed run gets its
// outcome (its receipt cancelled when it is still open). Returns how many there were.
int settleInterruptedSales(PrinterService& printer, SaleJournal& journal);

}  // namespace ecfd

#include "nonfiscal/cash_closing.h"

#include "base/utf8.h"
#include "config/status.h"
#include "dayclose/day_readings.h"
#include "dayclose/z_export.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/operator.h"
#include "nonfiscal/closing_report.h"
#include "nonfiscal/report_in_progress.h"
#include "nonfiscal/report_primitives.h"
#include "nonfiscal/withdrawal_receipt.h"
#include "reports/product_report.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

// The first counter of the closing is the one the host keeps; only an X reading replaces it.
void keepFirstCounter(std::string& coo, const std::string& read) {
  if (coo.empty()) coo = read;
}

void loadWorkingCopy(Dataset& working, const Dataset& host) {
  working.setFiltered(false);
  working.setData(host.data());
}

void loadWorkingDatasets(TdtmEcf01600& module, const CashClosingRequest& request) {
  if (!request.reprint) {
    loadWorkingCopy(module.cdsMovFecha, request.envelopes);
    loadWorkingCopy(module.cdsSangria, request.withdrawals);
    loadWorkingCopy(module.cdsOperadorSup, request.people);
    loadWorkingCopy(module.cdsTipoReceAux, request.paymentTypes);
    loadWorkingCopy(module.cdsMovAbertura, request.shiftMovements);
  }
  loadWorkingCopy(module.cdsMovTot, request.dayMovements);
}

bool ask(std::string_view key, const CashClosingRequest& request) {
  return askConfirmation(msgPadrao(key), request.scheme);
}

std::string printProducts(const Dataset& products, const CashClosingRequest& request,
                          bool& reportSeries) {
  std::string counter;
  printProductReport(products,
                     ProductReportRequest{request.productConfirmation, request.productLayout,
                                          request.scheme},
                     counter, reportSeries);
  return counter;
}

// The withdrawal receipt, and for a closing the shift's product and closing reports.
void printReceiptAndShiftReports(TdtmEcf01600& module, const CashClosingRequest& request,
                                 std::string& coo) {
  const std::string& scheme = request.scheme;
  // Everything this part reads is checked before the first line is printed.
  requireFields(module.cdsMovFecha, {"NRENVELOPE", "NMTIPORECE", "VRFECHADIG", "VRFECHAINF"});
  requireFields(module.cdsOperadorSup, {"CDSUPERVISOR", "NMSUPERVISOR", "CDOPERADOR", "NMOPERADOR"});
  if (!request.withdrawalOnly) {
    requireProductFields(request.shiftProducts);
    requireMovementFields(module.cdsMovAbertura);
  }
  const WithdrawalReceipt receipt = [&] {
    WithdrawalReceipt read =
        readWithdrawalReceipt(module.cdsMovFecha, module.cdsOperadorSup, request.withdrawalOnly);
    read.motive = request.motive;
    read.observation = request.observation;
    read.envelopeColumn = request.envelopeColumn;
    return read;
  }();

  if (request.xReadingFirst && printXReading(scheme)) coo = readReceiptCounter(scheme);
  ReportInProgress withdrawal(scheme);
  const bool opened = withdrawal.open();
  keepFirstCounter(coo, readReceiptCounter(scheme));
  if (opened) printWithdrawalCopies(receipt, withdrawal);
  if (request.withdrawalOnly) {
    withdrawal.close();
    return;
  }
  // From here the reports that follow close it.
  withdrawal.leaveOpen();

  // The product report closes the withdrawal report before its own, and sets the flag.
  bool reportSeries = false;
  keepFirstCounter(coo, printProducts(request.shiftProducts, request, reportSeries));
  if (module.cdsMovTot.isEmpty()) {
    // Without a closing report to end it, a withdrawal report still open is closed here,
    // so the day can go on to its Z reduction.
    if (!reportSeries) closeDocument(scheme);
    return;
  }
  // Its lines of money are printed only when the host handed in the shift's movements.
  const ClosingReport shiftReport{msgPadrao("RelFechamento"), request.shiftProducts,
                                  module.cdsMovAbertura,
                                  request.shiftMovements.data().rowCount() > 0};
  keepFirstCounter(coo, printClosingReport(shiftReport, reportSeries, scheme));
}

void printDayReports(TdtmEcf01600& module, const CashClosingRequest& request, std::string& coo) {
  requireProductFields(request.dayProducts);
  requireMovementFields(module.cdsMovTot);
  bool reportSeries = true;  // nothing is left open to close before them
  keepFirstCounter(coo, printProducts(request.dayProducts, request, reportSeries));
  if (module.cdsMovTot.isEmpty()) return;
  const ClosingReport dayReport{msgPadrao("relFechamentoGeral"), request.dayProducts,
                                module.cdsMovTot, true};
  keepFirstCounter(coo, printClosingReport(dayReport, true, request.scheme));
}

// The day's Z data, read from the printer into the data module's auxiliary tables and
// copied into the host's. Every export starts from empty tables, whatever an earlier one
// left in them; the host hears that the day is saved only when the export is complete.
void exportDayData(TdtmEcf01600& module, const CashClosingRequest& request, DayZData& zData) {
  const ZExportTargets auxiliary = emptiedAuxiliaryZTargets();
  const bool complete =
      exportZData(request.scheme, request.ecfNumber, module.cdsTipoReceAux, auxiliary);
  zData.day.setData(auxiliary.dayRecord.data());
  zData.payments.setData(auxiliary.paymentTotals.data());
  zData.taxes.setData(auxiliary.taxTotals.data());
  zData.nonFiscal.setData(auxiliary.nonFiscalTotals.data());
  zData.saved = complete;
}

// The closing questions; true when the operator chose to open the cash register again.
bool askAndCloseTheDay(TdtmEcf01600& module, const CashClosingRequest& request, std::string& coo,
                       DayZData& zData) {
  if (!request.reprint) {
    if (ask("AbreCaixa", request)) return true;
    if (!request.reductionAllowed || !ask("ConfReducao", request)) return false;
  }
  if (ask("ConfRelFechamento", request)) printDayReports(module, request, coo);
  if (!request.reprint) exportDayData(module, request, zData);
  return false;
}

}  // namespace

bool closeCash(const CashClosingRequest& request, std::string& coo, DayZData& zData) {
  TdtmEcf01600& module = ensureDataModule();
  zData.saved = false;
  loadWorkingDatasets(module, request);
  if (request.printReceipt) printReceiptAndShiftReports(module, request, coo);
  // A withdrawal alone ends with its receipt: no question is asked.
  if (request.withdrawalOnly) return false;
  return askAndCloseTheDay(module, request, coo, zData);
}

}  // namespace ecf

extern "C" {

// Arguments 2 to 4 would go to the report openings, and 6 to the Z export, none of which
// reads them; 1, 15 and 18 are kept for existing hosts.
ECF_API bool GeraReciboSangria(
    const std::string& /*unused1*/, const std::string& /*productText2*/,
    const std::string& /*openText3*/, const std::string& /*openText4*/,
    const std::string& ecfNumber, std::int32_t /*exportNumber*/, std::string& coo,
    const ecf::Dataset& envelopes, const ecf::Dataset& withdrawals,
    const ecf::Dataset& shiftProducts, const ecf::Dataset& people,
    const ecf::Dataset& dayMovements, const ecf::Dataset& shiftMovements,
    const ecf::Dataset& dayProducts, ecf::DateTime /*unused15*/, bool printReceipt,
    bool reductionAllowed1, bool /*unused18*/, ecf::Dataset& zDay, ecf::Dataset& zPayments,
    ecf::Dataset& zTaxes, ecf::Dataset& zNonFiscal, bool& zSaved,
    const ecf::Dataset& paymentTypes, const std::string& productConfirmation,
    const std::string& productLayout, const std::string& xReading,
    const std::string& envelopeColumn, const std::string& scheme, bool withdrawalOnly,
    bool reprint, bool reductionAllowed2, const std::string& motive,
    const std::string& observation) {
  zSaved = false;
  return ecf::guarded("GeraReciboSangria", scheme, false, [&] {
    const ecf::CashClosingRequest request{
        .envelopes = envelopes,
        .withdrawals = withdrawals,
        .shiftProducts = shiftProducts,
        .people = people,
        .dayMovements = dayMovements,
        .shiftMovements = shiftMovements,
        .dayProducts = dayProducts,
        .paymentTypes = paymentTypes,
        .printReceipt = printReceipt,
        .withdrawalOnly = withdrawalOnly,
        .reprint = reprint,
        .reductionAllowed = reductionAllowed1 && reductionAllowed2,
        .xReadingFirst = xReading == "S",
        .envelopeColumn = envelopeColumn == "S",
        .productConfirmation = productConfirmation,
        .productLayout = productLayout,
        .motive = ecf::repairUtf8(motive),
        .observation = ecf::repairUtf8(observation),
        .scheme = scheme,
        .ecfNumber = ecfNumber,
    };
    ecf::DayZData zData{zDay, zPayments, zTaxes, zNonFiscal, zSaved};
    return ecf::closeCash(request, coo, zData);
  });
}

}  // extern "C"

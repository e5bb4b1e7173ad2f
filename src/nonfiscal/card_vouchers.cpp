// The card-transaction (TEF) vouchers of one sale, printed after its receipt in one
// management report: each voucher followed by its second copy. When the printer stops
// answering, the operator decides whether the whole set is printed again in a new report;
// the host learns from the result whether the vouchers reached the paper.
#include <cstdint>
#include <string>
#include <utility>

#include "config/status.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/operator.h"
#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {
namespace {

// Voucher texts go to the printer four lines at a time, uncut.
constexpr std::size_t kVoucherBlockLines = 4;
// Pauses that let the printer and the operator keep up: before the first step, and
// before each second copy (time to tear off the first).
constexpr int kStartPause = 2;
constexpr int kSecondCopyPause = 4;
// In this printing mode the host gives the receipt's COO itself.
constexpr std::int32_t kModeWithGivenCoo = 2;
// Transactions of this kind have no second copy to print.
constexpr const char* kWithoutSecondCopies = "APC";

class TefPrinting {
 public:
  TefPrinting(const std::string& scheme, const StringList& vouchers,
              const StringList& secondCopies, bool printSecondCopies, std::string coo)
      : scheme_(scheme),
        vouchers_(vouchers),
        secondCopies_(secondCopies),
        printSecondCopies_(printSecondCopies),
        coo_(std::move(coo)) {}

  bool run(bool readCoo) {
    Delay(kStartPause);
    while (!readFiscalState(scheme_, true)) {
      if (!askToPrintAgain()) return false;
    }
    if (vouchers_.empty()) return false;
    if (readCoo) coo_ = readReceiptCounter(scheme_);
    while (!openManagementReport(scheme_)) {
      if (!askToPrintAgain()) return false;
    }
    printPass();
    while (error_) {
      if (!askToPrintAgain()) {
        // The report is left as it is; the host decides about the transactions.
        reportOpen_ = false;
        return false;
      }
      startNewReport();
      printPass();
    }
    if (reportOpen_) closeDocument(scheme_);
    return printed_;
  }

 private:
  bool askToPrintAgain() { return askRetry(msgPadrao("Imp_N_Resp"), scheme_); }

  // Every voucher from the first, each with its second copy. A refused block gives up
  // that voucher only, until the last: its failure, or the close's, ends the pass in error.
  void printPass() {
    const std::size_t last = vouchers_.count() - 1;
    for (std::size_t k = 0; k <= last; ++k) {
      if (!error_) printVoucher(vouchers_[k]);
      if (printSecondCopies_ && k < secondCopies_.count() && !error_) {
        Delay(kSecondCopyPause);
        printVoucher(secondCopies_[k]);
      }
      if (k != last) {
        error_ = false;
        continue;
      }
      if (error_) return;
      if (!closeDocument(scheme_)) {
        error_ = true;
        reportOpen_ = false;
        return;
      }
      reportOpen_ = false;
      printed_ = true;
    }
  }

  void printVoucher(const std::string& text) {
    for (const std::string& block : chunkLines(text, kVoucherBlockLines)) {
      if (!printTextBlock(scheme_, block)) {
        error_ = true;
        reportOpen_ = true;
        return;
      }
    }
  }

  // The report left open by a refused block is closed first. When the close or the new
  // opening is refused the error stays: the next pass then skips its first voucher and
  // the operator is asked again at its end.
  void startNewReport() {
    bool opened = false;
    if (reportOpen_) {
      if (closeDocument(scheme_)) {
        reportOpen_ = false;
        opened = openManagementReport(scheme_);
      }
    } else {
      opened = openManagementReport(scheme_);
    }
    if (opened) error_ = false;
  }

  const std::string& scheme_;
  const StringList& vouchers_;
  const StringList& secondCopies_;
  const bool printSecondCopies_;
  std::string coo_;
  bool reportOpen_ = false;  // a refused block left the report open
  bool error_ = false;
  // Only a pass the printer closed puts the vouchers on paper, whatever the COO's text:
  // a host cancels the card transactions when the result is false.
  bool printed_ = false;
};

}  // namespace
}  // namespace ecf

extern "C" {

// The report-opening texts (2 and 3) are ignored by the opening; the amounts, the other
// lists and texts stay in the signature for existing hosts.
ECF_API bool ImprimeTef(const std::string& /*unused1*/, const std::string& /*reportText2*/,
                        const std::string& /*reportText3*/, const std::string& scheme,
                        const ecf::StringList& vouchers, const ecf::StringList& secondCopies,
                        const ecf::StringList& /*unused7*/, const ecf::StringList& /*unused8*/,
                        const std::string& coo, const std::string& /*unused10*/,
                        const std::string& /*unused11*/, double /*unused12*/,
                        double /*unused13*/, std::int32_t printingMode,
                        const std::string& /*unused15*/, const std::string& transactionKind) {
  return ecf::guarded("ImprimeTef", scheme, false, [&] {
    ecf::TefPrinting printing(scheme, vouchers, secondCopies,
                              transactionKind != ecf::kWithoutSecondCopies, coo);
    return printing.run(printingMode != ecf::kModeWithGivenCoo);
  });
}

}  // extern "C"

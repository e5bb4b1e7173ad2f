#include "nonfiscal/withdrawal_receipt.h"

#include "host/datamodule.h"
#include "host/hostlib.h"
#include "reports/report_values.h"

namespace ecf {
namespace {

// Both copies count their lines in one running count that starts at 1, for the empty line
// opening the first copy. When the count after a total, less 3, is a multiple of 10, one
// more empty line follows it.
class CopyPrinter {
 public:
  CopyPrinter(const WithdrawalReceipt& receipt, ReportInProgress& report)
      : receipt_(receipt), report_(report) {}

  void print(bool firstCopy) {
    printHeading(firstCopy);
    double total = 0;
    for (const Envelope& envelope : receipt_.envelopes) {
      block_.line(envelope.number + " " + TamFixo(envelope.paymentType, 25) + " " +
                  TamFixoR(fixed2(envelope.amount), 15));
      report_.print(block_);
      total += envelope.amount;
      lines_ += 1;
    }
    printTotal(total, firstCopy ? receipt_.supervisorLine : receipt_.operatorLine);
  }

 private:
  void printHeading(bool firstCopy) {
    if (firstCopy) block_.blankLine();
    block_.centred(msgPadrao(firstCopy ? "RecSangria3" : "RecSangria1")).dashes();
    lines_ += 1;
    if (!receipt_.motive.empty()) block_.line(msgPadrao("Motivo") + receipt_.motive);
    if (!receipt_.observation.empty()) block_.line(msgPadrao("Observacao") + receipt_.observation);
    if (!receipt_.motive.empty() || !receipt_.observation.empty()) block_.dashes();
    const std::string columns =
        TamFixo(msgPadrao("Modalidade"), 25) + " " + TamFixoR(msgPadrao("Valor_"), 15);
    block_.line(receipt_.envelopeColumn ? msgPadrao("Envelope") + " " + columns : columns);
    lines_ += 2;
    report_.print(block_);
  }

  void printTotal(double total, const std::string& signature) {
    block_.line(TamFixo(msgPadrao("Sangrias"), 27) + TamFixoR(fixed2(total), 15)).blankLine();
    lines_ += 2;
    if ((lines_ - 3) % 10 == 0) {
      block_.blankLine();
      lines_ += 1;
    }
    block_.dashes().cutLine(signature);
    lines_ += 2;
    report_.print(block_);
  }

  const WithdrawalReceipt& receipt_;
  ReportInProgress& report_;
  ReportBlock block_;
  int lines_ = 1;
};

}  // namespace

WithdrawalReceipt readWithdrawalReceipt(Dataset& envelopes, Dataset& people, bool counted) {
  WithdrawalReceipt receipt;
  envelopes.open();
  for (envelopes.first(); !envelopes.eof(); envelopes.next()) {
    receipt.envelopes.push_back(Envelope{fieldText(envelopes, "NRENVELOPE"),
                                         fieldText(envelopes, "NMTIPORECE"),
                                         fieldNumber(envelopes, counted ? "VRFECHADIG" : "VRFECHAINF")});
  }
  // Without a row the names are simply left blank.
  people.open();
  people.first();
  const auto field = [&](const char* name) {
    return people.isEmpty() ? std::string() : fieldText(people, name);
  };
  receipt.supervisorLine =
      msgPadrao("Superv") + " : " + field("CDSUPERVISOR") + " " + field("NMSUPERVISOR");
  receipt.operatorLine =
      msgPadrao("Operador") + " : " + field("CDOPERADOR") + " " + field("NMOPERADOR");
  return receipt;
}

void printWithdrawalCopies(const WithdrawalReceipt& receipt, ReportInProgress& report) {
  CopyPrinter copies(receipt, report);
  copies.print(true);
  copies.print(false);
}

}  // namespace ecf

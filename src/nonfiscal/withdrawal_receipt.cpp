#include "nonfiscal/withdrawal_receipt.h"

#include "base/utf8.h"
#include "host/datamodule.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {
namespace {

std::string amount(double value) { return fixedAmount(value, hostSettings()); }

std::string signatureLine(std::string_view key, const std::string& code, const std::string& name) {
  return charSubstr(msgPadrao(key) + " : " + code + " " + name, 0, kClosingLineWidth);
}

// Both copies count their lines in one running count that starts at 1, for the empty line
// opening the first copy. When the count after a total, less 3, is a multiple of 10, one
// more empty line follows it.
class CopyPrinter {
 public:
  CopyPrinter(const WithdrawalReceipt& receipt, const std::string& scheme)
      : receipt_(receipt), scheme_(scheme) {}

  void print(bool firstCopy) {
    printHeading(firstCopy);
    double total = 0;
    for (const Envelope& envelope : receipt_.envelopes) {
      printCutBlock(scheme_, LineBlock()
                                 .line(envelope.number + " " + TamFixo(envelope.paymentType, 25) +
                                       " " + TamFixoR(amount(envelope.amount), 15))
                                 .text());
      total += envelope.amount;
      lines_ += 1;
    }
    printTotal(total, firstCopy ? receipt_.supervisorLine : receipt_.operatorLine);
  }

 private:
  void printHeading(bool firstCopy) {
    LineBlock block;
    if (firstCopy) block.emptyLine();
    block.line(Centraliza(msgPadrao(firstCopy ? "RecSangria3" : "RecSangria1"), kClosingLineWidth));
    lines_ += 1;
    block.line(Replicate("-", kClosingLineWidth));
    if (!receipt_.motive.empty()) block.line(msgPadrao("Motivo") + receipt_.motive);
    if (!receipt_.observation.empty()) block.line(msgPadrao("Observacao") + receipt_.observation);
    if (!receipt_.motive.empty() || !receipt_.observation.empty()) {
      block.line(Replicate("-", kClosingLineWidth));
    }
    const std::string columns =
        TamFixo(msgPadrao("Modalidade"), 25) + " " + TamFixoR(msgPadrao("Valor_"), 15);
    block.line(receipt_.envelopeColumn ? msgPadrao("Envelope") + " " + columns : columns);
    lines_ += 2;
    printCutBlock(scheme_, block.text());
  }

  void printTotal(double total, const std::string& signature) {
    LineBlock block;
    block.line(TamFixo(msgPadrao("Sangrias"), 27) + TamFixoR(amount(total), 15)).emptyLine();
    lines_ += 2;
    if ((lines_ - 3) % 10 == 0) {
      block.emptyLine();
      lines_ += 1;
    }
    block.line(Replicate("-", kClosingLineWidth)).line(signature);
    lines_ += 2;
    printCutBlock(scheme_, block.text());
  }

  const WithdrawalReceipt& receipt_;
  const std::string& scheme_;
  int lines_ = 1;
};

}  // namespace

WithdrawalReceipt readWithdrawalReceipt(Dataset& envelopes, Dataset& people, bool counted) {
  const HostSettings& settings = hostSettings();
  WithdrawalReceipt receipt;
  envelopes.open();
  for (envelopes.first(); !envelopes.eof(); envelopes.next()) {
    receipt.envelopes.push_back(
        Envelope{envelopes.asText("NRENVELOPE", settings), envelopes.asText("NMTIPORECE", settings),
                 envelopes.asNumber(counted ? "VRFECHADIG" : "VRFECHAINF", settings)});
  }
  // Without a row the names are simply left blank.
  people.open();
  people.first();
  const auto field = [&](const char* name) {
    return people.isEmpty() ? std::string() : people.asText(name, settings);
  };
  receipt.supervisorLine =
      signatureLine("Superv", field("CDSUPERVISOR"), field("NMSUPERVISOR"));
  receipt.operatorLine = signatureLine("Operador", field("CDOPERADOR"), field("NMOPERADOR"));
  return receipt;
}

void printWithdrawalCopies(const WithdrawalReceipt& receipt, const std::string& scheme) {
  CopyPrinter copies(receipt, scheme);
  copies.print(true);
  copies.print(false);
}

}  // namespace ecf

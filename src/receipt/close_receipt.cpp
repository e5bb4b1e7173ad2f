// Closing a fiscal receipt: the subtotal discount or surcharge, the payments in the order
// they were made, the closing with its footer, and the change voucher. The steps form a
// small state machine so that a refused command is retried alone, never resending what
// the printer already accepted.
#include <functional>
#include <stdexcept>
#include <string>

#include "base/numberformat.h"
#include "base/utf8.h"
#include "config/status.h"
#include "driver/binding.h"
#include "driver/command.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "receipt/closing_input.h"
#include "receipt/footer.h"
#include "receipt/positional_input.h"
#include "receipt/receipt_datasets.h"
#include "receipt/retry_question.h"

namespace ecf {
namespace {

enum class Stage { AdjustSubtotal = 1, RegisterPayments, CloseReceipt, Closed };

// The result array: the retry indicator, position 42 and an empty text.
constexpr std::size_t kResultSize = 3;

// The printer holds payment-method names of at most this many characters.
constexpr std::size_t kPaymentNameLength = 16;

// Payment type kinds (IDTIPORECE).
constexpr const char* kAgreementKind = "8";
bool isConsumerCreditKind(const std::string& kind) { return kind == "9" || kind == "A"; }

// The movements the printer is paid with: "E" and "T".
bool isPayment(const std::string& movementKind) {
  return movementKind == "E" || movementKind == "T";
}

class ReceiptClosing {
 public:
  ReceiptClosing(const ClosingInput& input, TdtmEcf01600& module)
      : in_(input), module_(module), retryMode_(input.tefRetryMode()) {}

  // The whole closing; `result` is filled only when the call gets that far.
  bool run(Variant& result);

 private:
  void loadDatasets();
  bool printerAnswers();
  bool adjustSubtotal();
  void consolidatePayments();
  bool registerPayments();
  bool closeWithFooter();
  void issueChangeVoucher();
  void fillResult(Variant& result) const;

  // Sends until accepted; in TEF retry mode the operator may ask for it again.
  bool sendWithRetry(const std::function<bool()>& attempt);
  bool send(const Command& command, const std::string& debugLine);

  void copyMovement(Dataset& from, Dataset& to);
  void locatePaymentType(const std::string& code);

  const ClosingInput& in_;
  TdtmEcf01600& module_;
  const bool retryMode_;
  Stage stage_ = Stage::AdjustSubtotal;
  int retryIndicator_ = 0;
  PaymentFacts payments_;
  std::string tableLine_;
};

bool ReceiptClosing::send(const Command& command, const std::string& debugLine) {
  std::string returned;
  return runQuery(command, debugLine, in_.scheme, true, returned);
}

bool ReceiptClosing::sendWithRetry(const std::function<bool()>& attempt) {
  return attemptUntilAccepted(attempt, retryMode_, printerNotRespondingQuestion, in_.scheme,
                              [this] { retryIndicator_ = 1; });
}

void ReceiptClosing::loadDatasets() {
  module_.cdsMovCaixa.setData(in_.movements);
  // The consolidated payments start with the movements' fields and no rows.
  Dataset& consolidated = module_.cdsMovCaixaTef;
  consolidated.setIndexName(kMovementsByChangeOrder);
  consolidated.setData(in_.movements);
  consolidated.emptyDataSet();
  module_.cdsRecebAux.setData(in_.paymentTypes);
  module_.cdsSaldCred.setData(in_.familyBalances);
  module_.cdsFamiliaSaldo.setData(in_.familyDeductions);
  module_.cdsEmprestimo.setData(in_.familyLoans);
}

// Only a card sale in TEF mode "T" asks; the operator decides whether to keep asking.
bool ReceiptClosing::printerAnswers() {
  if (!in_.checksPrinterFirst()) return true;
  while (!readFiscalState(in_.scheme, true)) {
    if (!askToPrintAgain(printerNotRespondingQuestion(), in_.scheme)) return false;
    retryIndicator_ = 1;
  }
  return true;
}

// A discount takes precedence over a surcharge; both are cut to cents.
bool ReceiptClosing::adjustSubtotal() {
  std::string kind;
  double amount = 0;
  if (in_.discount > 0) {
    kind = "Desconto";
    amount = -Trunc2(in_.discount);
  } else if (in_.surcharge > 0) {
    kind = "Acrescimo";
    amount = Trunc2(in_.surcharge);
  } else {
    stage_ = Stage::RegisterPayments;
    return true;
  }
  const std::string value = formatPattern("0.00", amount, hostSettings());
  const Command command{"AcresceSubtotal",
                        {{"Cancelar", "", PARAMETRO_INDICADOR},
                         {"ValorAcrescimo", value, PARAMETRO_MONEY},
                         {"ValorPercentual", "", PARAMETRO_MONEY}}};
  const std::string debugLine = executedLine("AcresceSubtotal - " + kind + " - " + value);
  if (!sendWithRetry([&] { return send(command, debugLine); })) return false;
  stage_ = Stage::RegisterPayments;
  return true;
}

void ReceiptClosing::copyMovement(Dataset& from, Dataset& to) {
  to.append();
  for (const char* field : kMovementFields) to.setValue(field, from.value(field));
  to.post();
}

// In TEF retry mode the payments of one type become one payment line: "E" rows are summed
// into the type's first "E" line, and "T" rows join it once it exists.
void ReceiptClosing::consolidatePayments() {
  Dataset& movements = module_.cdsMovCaixa;
  Dataset& consolidated = module_.cdsMovCaixaTef;
  for (movements.first(); !movements.eof(); movements.next()) {
    const std::string kind = movements.asText("IDTIPOMOVIVE", hostSettings());
    if (isPayment(kind) && retryMode_ &&
        consolidated.locate("CDTIPORECE", "IDTIPOMOVIVE", movements.value("CDTIPORECE"),
                            Variant("E"))) {
      const double sum = consolidated.asNumber("VRMOVIVEND", hostSettings()) +
                         movements.asNumber("VRMOVIVEND", hostSettings());
      consolidated.edit();
      consolidated.setValue("VRMOVIVEND", sum);
      consolidated.post();
    } else {
      copyMovement(movements, consolidated);
    }
  }
}

// A payment is named after the printer's name of its payment type. A type the host did
// not hand over is an error: the payment must never go under another type's name.
void ReceiptClosing::locatePaymentType(const std::string& code) {
  Dataset& types = module_.cdsRecebAux;
  if (types.isEmpty() || !types.locate("CDTIPORECE", Variant(code))) {
    throw std::runtime_error(msgPadrao("TipoReceb_NaoEncontrado", {code}));
  }
}

bool ReceiptClosing::registerPayments() {
  Dataset& consolidated = module_.cdsMovCaixaTef;
  Dataset& types = module_.cdsRecebAux;
  consolidated.setIndexName(kMovementsByTime);
  for (consolidated.first(); !consolidated.eof(); consolidated.next()) {
    if (!isPayment(consolidated.asText("IDTIPOMOVIVE", hostSettings()))) continue;
    const std::string card = consolidated.asText("CDBANCARTCR", hostSettings());
    // A card payment carries its original payment type apart.
    const std::string typeCode =
        consolidated.asText(EmptyString(card) ? "CDTIPORECE" : "CDTIPORECEORIG", hostSettings());
    locatePaymentType(typeCode);

    const double amount = consolidated.asNumber("VRMOVIVEND", hostSettings());
    const std::string kind = types.asText("IDTIPORECE", hostSettings());
    if (kind == kAgreementKind) payments_.agreementPaymentSeen = true;
    if (isConsumerCreditKind(kind)) payments_.creditPaid += amount;

    const std::string name =
        charSubstr(repairUtf8(types.asText("NMTIPORECE", hostSettings())), 0, kPaymentNameLength);
    const std::string value = formatPattern("#0.00", amount, hostSettings());
    payments_.lastPaymentText = value;
    const Command command{"PagaCupom",
                          {{"NomeMeioPagamento", name, PARAMETRO_STRING},
                           {"TextoAdicional", "", PARAMETRO_STRING},
                           {"Valor", value, PARAMETRO_MONEY}}};
    const std::string debugLine = executedLine("PagaCupom - " + name + " - " + value);
    if (!sendWithRetry([&] { return send(command, debugLine); })) return false;
    stage_ = Stage::CloseReceipt;
  }
  consolidated.setIndexName(kMovementsByChangeOrder);
  return true;
}

bool ReceiptClosing::closeWithFooter() {
  const std::string minasLegal = minasLegalLine(in_.taxpayerId, payments_.lastPaymentText);
  // Without an accepted payment the printer cannot close the receipt.
  if (stage_ != Stage::CloseReceipt) return true;
  if (!sendWithRetry([&] {
        return sendClosingWithFooter(buildFooter(in_, payments_, tableLine_, minasLegal, module_),
                                     in_.scheme);
      })) {
    return false;
  }
  stage_ = Stage::Closed;
  return true;
}

// Sent blindly: a change voucher the printer refuses shows in its own records and the log.
// Its item opens a non-fiscal receipt, though: when the closing is refused that receipt is
// cancelled, or the next document would close it by accident.
void ReceiptClosing::issueChangeVoucher() {
  const std::string value = formatPattern("0.00", in_.changeVoucherAmount, hostSettings());
  sendCommand(Command{"EmiteItemNaoFiscal",
                      {{"CodNaoFiscal", IdTotParcCV, PARAMETRO_UINT},
                       {"NomeNaoFiscal", "", PARAMETRO_STRING},
                       {"Valor", value, PARAMETRO_MONEY}}},
              executedLine("EmiteItemNaoFiscal - " + IdTotParcCV + " -  - " + value));
  const bool opened = driver::errorCode() <= 0;
  sendCommand(Command{"EncerraDocumento", {}}, executedLine("EncerraDocumento"));
  if (opened && driver::errorCode() > 0) {
    runCommand(Command{"CancelaCupom", {}}, executedLine("CancelaCupom"), in_.scheme, true);
  }
}

void ReceiptClosing::fillResult(Variant& result) const {
  Variant::Array& elements = resultArray(result, kResultSize);
  elements[0] = Variant(retryIndicator_);
  elements[1] = Variant(in_.echoed);
  elements[2] = Variant("");
}

bool ReceiptClosing::run(Variant& result) {
  tableLine_ = tableLine(in_.tableNumber);
  loadDatasets();
  if (!printerAnswers()) return false;

  bool closed = true;
  try {
    if (!adjustSubtotal()) return false;
    consolidatePayments();
    if (!registerPayments()) return false;
    if (!closeWithFooter()) return false;
    // Without any accepted payment the receipt stays open: that is no success.
    closed = stage_ == Stage::Closed;
    if (in_.issueChangeVoucher) issueChangeVoucher();
  } catch (const DriverUnavailable& error) {
    reportUnavailable("FechaCupom", error.what());
    closed = false;
  } catch (const std::exception& error) {
    reportEscapedError("FechaCupom", in_.scheme, error.what());
    closed = false;
  }
  fillResult(result);
  return closed;
}

}  // namespace
}  // namespace ecf

extern "C" ECF_API bool FechaCupom(const ecf::Variant* values, std::int32_t high,
                                   ecf::StringList& /*unused*/, ecf::Variant& result) {
  return ecf::guarded("FechaCupom", ecf::closingScheme(values, high), false, [&] {
    const ecf::ClosingInput input = ecf::readClosingInput(values, high);
    ecf::ReceiptClosing closing(input, ecf::ensureDataModule());
    return closing.run(result);
  });
}

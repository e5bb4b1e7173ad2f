// The vouchers of consumers who buy on their account at the establishment: a debit
// sale, a credit purchase and the cancellation of one, printed as management reports.
// The two credit vouchers also register the money received or returned on the printer,
// as non-fiscal receipts under the credit totalizers.
#include <string>
#include <vector>

#include "base/utf8.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"
#include "nonfiscal/amount_text.h"
#include "nonfiscal/nonfiscal_receipt.h"
#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_lines.h"
#include "nonfiscal/report_primitives.h"
#include "receipt/drawer_cutter.h"

namespace ecf {
namespace {

// Column widths of the debit sale's product lines: code and name are cut, never padded.
constexpr std::size_t kProductCodeWidth = 10;
constexpr std::size_t kProductNameWidth = 12;
constexpr int kUnitPriceWidth = 8;
constexpr std::size_t kTotalLabelWidth = 40;
constexpr int kTotalAmountWidth = 31;
// The debit sale's balance line is left out in this balance mode.
constexpr const char* kBalanceModeWithoutBalance = "2";
// The payment method names of the credit receipts as the printer holds them.
constexpr std::size_t kPaymentMethodWidth = 16;
constexpr int kFirstCopyFeedLines = 4;
// Customer, second line: under the text after "Cliente: ".
constexpr const char* kCustomerIndent = "         ";

// The amount of a credit receipt. A text of thirteen characters or more (a thousand
// million and up) loses its thirteenth, as these receipts have always been sent; the
// printer refuses such an amount either way.
std::string creditReceiptAmount(double amount) {
  const std::string text = amountText(amount);
  constexpr std::size_t kDroppedCharacter = 12;
  if (charCount(text) <= kDroppedCharacter) return text;
  return charSubstr(text, 0, kDroppedCharacter) + charSubstr(text, kDroppedCharacter + 1);
}

// ---- the debit sale ----

struct DebitSale {
  const Variant& products;
  double total;
  std::string consumerCode;
  std::string consumerName;
  std::string customer;
  std::string customerLine2;
  std::string orderPassword;
  double balanceBefore;
  double subsidy;
  std::string balanceMode;
};

std::string debitHeading(const DebitSale& sale) {
  return ReportBlock()
      .blankLine()
      .blankLine()
      .centred(msgPadrao("ComprDebito"))
      .dashes()
      .cutLine(msgPadrao("CDCLIE") + sale.customer)
      .cutLine(kCustomerIndent + sale.customerLine2)
      .dashes()
      .blankLine()
      .cutLine(msgPadrao("CDCons") + sale.consumerCode)
      .cutLine(msgPadrao("NmCons") + sale.consumerName)
      .dashes()
      .centred(msgPadrao("ProdVend"))
      .spaces()
      .cutLine(msgPadrao("Cabecalho"))
      .text();
}

// One line per product, in the dataset's order, each printed on its own.
std::vector<std::string> productLines(Dataset& products) {
  std::vector<std::string> lines;
  for (products.first(); !products.eof(); products.next()) {
    const double quantity = products.asNumber("QTPRODCOMVEN", hostSettings());
    const double unitPrice = products.asNumber("VRPRECCOMVEN", hostSettings());
    lines.push_back(ReportBlock()
                        .line(charSubstr(products.asText("CDARVPROD", hostSettings()), 0,
                                         kProductCodeWidth) +
                              " " +
                              charSubstr(products.asText("NMPRODUTO", hostSettings()), 0,
                                         kProductNameWidth) +
                              "   " + amountText(quantity) + "  " +
                              PadL(amountText(unitPrice), kUnitPriceWidth))
                        .text());
  }
  return lines;
}

std::string balanceLine(double finalBalance) {
  return fillPlaceholders(msgPadrao2("SALDO_FIN"), {currencyText(finalBalance)});
}

std::string debitFooter(const DebitSale& sale, double finalBalance) {
  // The password line brings its own line end (carriage return and line feed).
  const std::string passwordLine =
      EmptyString(sale.orderPassword) ? "" : msgPadrao("SEN_PED") + sale.orderPassword + "\r\n";
  ReportBlock footer;
  footer.spaces()
      .line(charSubstr(msgPadrao("Total"), 0, kTotalLabelWidth) +
            PadL(amountText(sale.total), kTotalAmountWidth))
      .dashes()
      .appendCut(passwordLine)
      .spaces()
      .spaces();
  if (sale.balanceMode != kBalanceModeWithoutBalance) footer.append(balanceLine(finalBalance));
  if (sale.subsidy > 0) footer.append(msgPadrao("PRECO_SUBSIDIO") + " " + currencyText(sale.subsidy));
  return footer.text();
}

// The first refused block ends the voucher with no close: the report stays open.
bool printDebitSaleVoucher(const std::string& scheme, const DebitSale& sale) {
  Dataset& products = dataModule().cdsProdDeb;
  products.setData(sale.products.asPacket());
  const double finalBalance = sale.balanceBefore + sale.subsidy - sale.total;
  if (!(RoundDec(sale.total, 2) > 0)) {
    // Nothing was sold on the account; a total that is not a number is refused below.
    requireAmount(sale.total);
    return true;
  }
  // Every text is made before the report opens: bad input prints nothing.
  requireAmount(sale.balanceBefore);
  requireAmount(sale.subsidy);
  const std::string heading = cutBlock(debitHeading(sale));
  const std::vector<std::string> rows = productLines(products);
  const std::string footer = cutBlock(debitFooter(sale, finalBalance));

  if (!openManagementReport("")) return false;
  if (!printTextBlock(scheme, heading)) return false;
  for (const std::string& row : rows) {
    if (!printTextBlock(scheme, row)) return false;
  }
  if (!printTextBlock(scheme, footer)) return false;
  return closeDocument(scheme);
}

// ---- the credit purchase ----

struct CreditPayment {
  std::string amount;
  std::string method;
};

struct CreditPurchase {
  double total = 0;
  std::vector<CreditPayment> payments;
};

CreditPurchase readCreditPayments(Dataset& payments) {
  CreditPurchase purchase;
  for (payments.first(); !payments.eof(); payments.next()) {
    const double amount = payments.asNumber("VRMOVIVEND", hostSettings());
    purchase.payments.push_back(CreditPayment{
        creditReceiptAmount(amount),
        charSubstr(payments.asText("NMTIPORECE", hostSettings()), 0, kPaymentMethodWidth)});
    purchase.total += amount;
  }
  requireAmount(purchase.total);
  return purchase;
}

std::string creditPurchaseCopy(double total, double balanceBefore, const std::string& depositNumber,
                               const std::string& consumerName, const std::string& familyName,
                               bool firstCopy) {
  ReportBlock copy;
  copy.blankLine()
      .centred(msgPadrao("ComprCredito"))
      .dashes()
      .blankLine()
      .cutLine(msgPadrao("Nr_Deposito") + depositNumber)
      .spaces()
      .cutLine(msgPadrao("NmCons") + consumerName)
      .cutLine(msgPadrao("NmFami") + familyName)
      .cutLine(msgPadrao("VrCupom") + currencyText(total))
      .cutLine(msgPadrao("VrSaldo") + currencyText(total + balanceBefore));
  // Room to tear the first copy off before the cut.
  if (firstCopy) {
    for (int i = 0; i < kFirstCopyFeedLines; ++i) copy.spaces();
  }
  return copy.text();
}

// Two copies with a cut between them, then one receipt per payment, in order: every
// payment is sent even after a refused one, and the purchase is registered only when the
// printer accepted them all.
bool printCreditPurchase(const std::string& scheme, Dataset& paymentRows, double balanceBefore,
                         const std::string& consumerName, const std::string& depositNumber,
                         const std::string& familyName) {
  requireAmount(balanceBefore);
  const CreditPurchase purchase = readCreditPayments(paymentRows);
  const bool opened = openManagementReport("");
  if (opened) {
    for (const bool firstCopy : {true, false}) {
      printTextBlock(scheme, cutBlock(creditPurchaseCopy(purchase.total, balanceBefore,
                                                         depositNumber, consumerName,
                                                         familyName, firstCopy)));
      if (firstCopy) cutPaper(scheme);
    }
  }
  closeDocument(scheme);
  if (!opened || purchase.payments.empty()) return false;
  bool allRegistered = true;
  for (const CreditPayment& payment : purchase.payments) {
    if (!printNonFiscalReceipt(scheme, IdTotCompCred, payment.amount, payment.method)) {
      allRegistered = false;
    }
  }
  return allRegistered;
}

// ---- the credit cancellation ----

std::string creditCancellationBlock(const std::string& depositNumber, const std::string& customer,
                                    const std::string& consumerName,
                                    const std::string& familyName, double amount,
                                    double finalBalance) {
  return ReportBlock()
      .blankLine()
      .centred(msgPadrao("Canc_ComprCredito"))
      .dashes()
      .blankLine()
      .cutLine(msgPadrao("Canc_Deposito") + ": " + depositNumber)
      .spaces()
      .cutLine(msgPadrao("CDCLIE") + customer)
      .cutLine(msgPadrao("Consumidor") + ": " + consumerName)
      .cutLine(msgPadrao("NmFami") + familyName)
      .cutLine(msgPadrao("VrCupom") + currencyText(amount))
      .cutLine(msgPadrao("Sald_Cons") + currencyText(finalBalance))
      .text();
}

// The voucher's printing and closing do not decide: the receipt registers the refund.
// Nothing is registered when the report cannot be opened.
bool printCreditCancellation(const std::string& scheme, const std::string& totalizerCode,
                             const std::string& depositNumber, const std::string& customer,
                             const std::string& consumerName, const std::string& familyName,
                             const std::string& paymentMethod, double amount,
                             double finalBalance) {
  const std::string block = cutBlock(creditCancellationBlock(depositNumber, customer, consumerName,
                                                             familyName, amount, finalBalance));
  const std::string receiptAmount = creditReceiptAmount(amount);
  if (!openManagementReport(scheme)) return false;
  printTextBlock(scheme, block);
  closeDocument(scheme);
  return printNonFiscalReceipt(scheme, totalizerCode, receiptAmount, paymentMethod);
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool Comp_DebitoCons(const std::string& scheme, const ecf::Variant& products,
                             double saleTotal, const std::string& /*unused4*/,
                             const std::string& consumerCode, const std::string& consumerName,
                             const std::string& customer, const std::string& customerLine2,
                             const std::string& orderPassword, double balanceBefore,
                             double subsidy, double /*unused12*/,
                             const std::string& balanceMode, const std::string& /*unused14*/,
                             const std::string& /*unused15*/, const std::string& /*unused16*/,
                             const std::string& /*unused17*/,
                             const ecf::Variant& /*unused18*/) {
  return ecf::guarded("Comp_DebitoCons", scheme, false, [&] {
    const ecf::DebitSale sale{products,      saleTotal,     consumerCode,  consumerName,
                              customer,      customerLine2, orderPassword, balanceBefore,
                              subsidy,       balanceMode};
    return ecf::printDebitSaleVoucher(scheme, sale);
  });
}

ECF_API bool Compr_CredPessoal(
    const std::string& /*unused1*/, const std::string& /*unused2*/,
    const std::string& /*unused3*/, const std::string& /*unused4*/,
    const std::string& /*unused5*/, const std::string& scheme, std::string& /*unused7*/,
    std::string& /*unused8*/, ecf::Dataset& payments, double balanceBefore,
    const std::string& consumerName, const std::string& depositNumber,
    const std::string& /*unused13*/, const std::string& /*unused14*/,
    const std::string& /*unused15*/, const std::string& /*unused16*/,
    const std::string& /*unused17*/, const std::string& /*unused18*/,
    const std::string& /*unused19*/, const std::string& /*unused20*/,
    const std::string& /*unused21*/, const std::string& /*unused22*/,
    const std::string& /*unused23*/, const std::string& /*unused24*/, bool /*unused25*/,
    const std::string& familyName, const std::string& /*unused27*/) {
  return ecf::guarded("Compr_CredPessoal", scheme, false, [&] {
    return ecf::printCreditPurchase(scheme, payments, balanceBefore, consumerName,
                                    depositNumber, familyName);
  });
}

// The report-opening texts (3 and 4) are ignored by the opening.
ECF_API bool Cancela_Cred_Pessoal(const std::string& totalizerCode,
                                  const std::string& /*unused2*/,
                                  const std::string& /*reportText3*/,
                                  const std::string& /*reportText4*/, const std::string& scheme,
                                  std::string& /*unused6*/, const std::string& depositNumber,
                                  const std::string& customer, const std::string& consumerName,
                                  const std::string& /*unused10*/,
                                  const std::string& paymentMethod, double amount,
                                  double finalBalance, const std::string& familyName) {
  return ecf::guarded("Cancela_Cred_Pessoal", scheme, false, [&] {
    return ecf::printCreditCancellation(scheme, totalizerCode, depositNumber, customer,
                                        consumerName, familyName, paymentMethod, amount,
                                        finalBalance);
  });
}

}  // extern "C"

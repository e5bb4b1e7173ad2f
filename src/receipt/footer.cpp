#include "receipt/footer.h"

#include "base/dateformat.h"
#include "base/numberformat.h"
#include "base/utf8.h"
#include "driver/command.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/hostlib.h"
#include "host/module_env.h"

namespace ecf {

namespace {

enum class Layout {
  Agreement,          // A
  ConsumerWithName,   // B
  ConsumerId,         // C
  Plain,              // D
  FamilyListing,      // E
  FamilyListingTotal  // F
};

// Table numbers of five characters or more are order pads (comandas).
constexpr std::size_t kOrderPadLength = 5;
constexpr std::size_t kIdentificationWidth = 40;
constexpr std::size_t kTaxpayerPrefix = 8;
// Only the first rows of the family balances are listed.
constexpr int kListedFamilyRows = 2;
constexpr int kFamilyNameWidth = 25;
constexpr int kFamilyAmountWidth = 22;
constexpr int kLineWidth = 48;
constexpr int kCentredLineWidth = 47;

std::string fixed2(double value) { return formatFixed(value, 15, 2, hostSettings()); }

std::string cut(const std::string& text, std::size_t characters) {
  return charSubstr(text, 0, characters);
}

std::string passwordLine(const std::string& password) {
  return EmptyString(password) ? "" : msgPadrao("SENHA") + password;
}

std::string operatorLine(const ClosingInput& input) {
  return msgPadrao("Operador") + ": " + input.operatorCode + " - " + input.operatorName;
}

std::string subsidyAmountLine(const ClosingInput& input, const std::string& separator) {
  return msgPadrao("PRECO_SUBSIDIO") + separator + fixed2(input.subsidisedPrice) + "\n";
}

double sumOfBalances(Dataset& balances) {
  double total = 0;
  for (balances.first(); !balances.eof(); balances.next()) {
    total += balances.asNumber("VRSALDCONFAM", hostSettings());
  }
  return total;
}

double consumerBalance(const ClosingInput& input, double creditPaid, Dataset& balances) {
  const double fromPreviousBalance = input.previousBalance - creditPaid + input.subsidisedPrice;
  if (input.balanceMode == "0") {
    if (input.balanceSource == "1") {
      return balances.isEmpty() ? 0 : sumOfBalances(balances) - creditPaid;
    }
    if (input.balanceSource == "2") return fromPreviousBalance;
    return 0;
  }
  if (input.balanceMode == "1" && input.balanceSource != "1") return fromPreviousBalance;
  return 0;
}

Layout chooseLayout(const ClosingInput& input, const PaymentFacts& payments) {
  if (input.familyListing == "2" && !EmptyString(input.consumerCode) &&
      input.balanceSource == "1") {
    return Layout::FamilyListingTotal;
  }
  if (input.balanceMode == "1" && input.balanceSource == "1") return Layout::FamilyListing;
  if (payments.agreementPaymentSeen) return Layout::Agreement;
  if (!EmptyString(input.taxpayerId) && !EmptyString(input.taxpayerName)) {
    return Layout::ConsumerWithName;
  }
  if (!EmptyString(input.taxpayerId)) return Layout::ConsumerId;
  return Layout::Plain;
}

std::string saleFooter(const ClosingInput& input, const PaymentFacts& payments, Layout layout,
                       const std::string& table, const std::string& minasLegal, Dataset& balances) {
  const bool agreement = layout == Layout::Agreement;
  const bool withName = layout == Layout::ConsumerWithName;
  const bool withId = withName || layout == Layout::ConsumerId;
  const double balance = consumerBalance(input, payments.creditPaid, balances);

  std::string text = input.promotionalText + "\n";
  if (input.stateCode == "MG") text += minasLegal;
  text += "\n";
  if (agreement) {
    text += msgPadrao("Convenio") +
            " ..: " + cut(input.clientCode + " - " + input.clientName, kIdentificationWidth) + "\n";
  }
  if (withId) text += msgPadrao("CNPJCPF") + " : " + input.taxpayerId + "\n";
  if (withName) text += msgPadrao("Nome") + " : " + input.taxpayerName + "\n";
  if (!agreement && !EmptyString(input.clientCode)) {
    text += "\n" +
            cut(msgPadrao("CDCLIE") + input.clientCode + " - " + input.clientName,
                kIdentificationWidth) +
            "\n";
  }
  if (!EmptyString(input.consumerCode)) {
    text += cut(msgPadrao("Consumidor") + " : " + input.consumerCode + " - " + input.consumerName,
                kIdentificationWidth) +
            "\n";
    text += msgPadrao("Sald_Cons") + fixed2(balance) + "\n";
  }
  if (input.subsidisedPrice != 0) text += subsidyAmountLine(input, " - ");
  text += msgPadrao(kVendorContactKey) + "\r\n";
  text += operatorLine(input) + "\r\n";
  text += table + passwordLine(input.password);
  if (withId) {
    text += "\r\n" + Centraliza(input.centredLine, kCentredLineWidth) + "\r\n";
  } else {
    text += "\n";
  }
  text += input.closingRemark + "\r\n";
  return text;
}

// Moves `dataset` to the family's row; an empty dataset (or one the host left without
// fields) holds no family.
bool locateFamily(Dataset& dataset, const Variant& family) {
  return !dataset.isEmpty() && dataset.locate("CDFAMILISALD", family, true);
}

bool locateLoan(Dataset& loans, const Variant& family, const char* kind) {
  return !loans.isEmpty() && loans.locate("CDFAMILISALD", "IDTPMOVEXT", family, kind, true);
}

// The family's balance after what this sale deducts and its loan movements.
double familyBalance(TdtmEcf01600& module, const Variant& family, double balance) {
  Dataset& loans = module.cdsEmprestimo;
  const auto loanAmount = [&] { return loans.asNumber("VRMOVEXTCONS", hostSettings()); };
  if (locateFamily(module.cdsFamiliaSaldo, family)) {
    const double base = balance - module.cdsFamiliaSaldo.asNumber("VRSALDCONFAM", hostSettings());
    if (locateLoan(loans, family, "D")) return base - loanAmount();
    if (locateLoan(loans, family, "C")) return base + loanAmount();
    return base;
  }
  if (locateLoan(loans, family, "D")) return balance - loanAmount();
  return balance;
}

std::string familyLine(const std::string& name, double amount) {
  return TamFixo(name, kFamilyNameWidth) + TamFixoR(fixed2(amount), kFamilyAmountWidth) + "\n";
}

std::string familyFooter(const ClosingInput& input, const PaymentFacts& payments, Layout layout,
                         TdtmEcf01600& module) {
  std::string text = Centraliza(input.clientCode + " - " + input.clientName, kLineWidth) + "\n";
  text += Centraliza(input.consumerCode + " - " + input.consumerName, kLineWidth) + "\n";
  if (input.subsidisedPrice > 0) text += subsidyAmountLine(input, " ");

  // The limit counts rows, not listed families: a zero balance still takes its place.
  Dataset& balances = module.cdsSaldCred;
  for (balances.first(); !balances.eof() && balances.recNo() <= kListedFamilyRows;
       balances.next()) {
    const double balance = balances.asNumber("VRSALDCONFAM", hostSettings());
    if (balance == 0) continue;
    const Variant family = balances.value("CDFAMILISALD");
    const std::string name = repairUtf8(balances.asText("NMFAMILISALD", hostSettings()));
    text += familyLine(name, familyBalance(module, family, balance));
  }

  if (layout == Layout::FamilyListingTotal) {
    const double total = balances.isEmpty() ? 0 : sumOfBalances(balances) - payments.creditPaid;
    text += familyLine("Saldo Total", total) + std::string(kLineWidth, ' ') + "\n";
  }
  text += msgPadrao(kVendorContactKey) + "\r\n" + operatorLine(input);
  return text;
}

}  // namespace

std::string tableLine(const std::string& tableNumber) {
  if (EmptyString(tableNumber)) return "";
  if (charCount(tableNumber) >= kOrderPadLength) {
    return msgPadrao("Comanda") + " : " + tableNumber + "   - ";
  }
  return msgPadrao("Mesa") + "  : " + tableNumber + "           - ";
}

std::string minasLegalLine(const std::string& taxpayerId, const std::string& lastPaymentText) {
  const std::size_t separator = lastPaymentText.find(hostSettings().decimalSeparator);
  const std::string wholePart =
      separator == std::string::npos ? "" : lastPaymentText.substr(0, separator);
  return "MINAS LEGAL: " + cut(taxpayerId, kTaxpayerPrefix) +
         formatDateTime("ddmmyyyy", moduleEnv().now(), hostSettings()) + wholePart;
}

std::string buildFooter(const ClosingInput& input, const PaymentFacts& payments,
                        const std::string& table, const std::string& minasLegal,
                        TdtmEcf01600& module) {
  const Layout layout = chooseLayout(input, payments);
  if (layout == Layout::FamilyListing || layout == Layout::FamilyListingTotal) {
    return familyFooter(input, payments, layout, module);
  }
  return saleFooter(input, payments, layout, table, minasLegal, module.cdsSaldCred);
}

bool sendClosingWithFooter(const std::string& footer, const std::string& scheme) {
  std::string returned;
  return runQuery(
      Command{"EncerraDocumento",
              {{"Operador", "", PARAMETRO_STRING}, {"TextoPromocional", footer, PARAMETRO_STRING}}},
      executedLine("EncerraDocumento - " + footer), scheme, true, returned);
}

}  // namespace ecf

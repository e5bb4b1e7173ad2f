// Short balance reports over datasets the host hands in: the balance of each family
// (ImpSaldo), the consumers with a negative balance by consumer type (SaldoNegativo)
// and the personal-credit balances of families (Saldo_CredPessoal). Each adds up its
// amount column and ends with a total line.
#include <string>

#include "accounts/account_data.h"
#include "accounts/account_heading.h"
#include "config/status.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/hostlib.h"

namespace ecf {
namespace {

constexpr int kNameWidth = 37;
constexpr int kAmountWidth = 11;
constexpr int kConsumerAmountWidth = 10;
constexpr int kCreditNameWidth = 25;
constexpr int kCreditAmountWidth = 15;

// The rule above a total and the total, under the amount column.
void addTotalLines(ReportBlock& block, double total) {
  block.line(TamFixo(" ", kNameWidth) + Replicate("-", kAmountWidth))
      .line(TamFixo("Saldo Total", kNameWidth) + TamFixoR(fixed2(total), kAmountWidth));
}

// Prints only when the report opened, and says whether it did.
bool printFamilyBalances(const std::string& scheme, Dataset& balances,
                         const std::string& identification1,
                         const std::string& identification2) {
  readReceiptCounter(scheme);
  ReportInProgress report(scheme);
  if (!report.open()) return false;

  ReportBlock heading;
  heading.centred(">>> Consulta Saldo <<<")
      .dashes()
      .line(identification1 + " - " + identification2)
      .blankLine();
  report.print(heading);

  // One block for every family and the total: with more than about eleven families the
  // lines beyond 620 characters are not printed.
  ReportBlock lines;
  double total = 0;
  for (; !balances.eof(); balances.next()) {
    const double balance = fieldNumber(balances, "SALDOFAM");
    lines.line(TamFixo(fieldText(balances, "NMFAMILISALD"), kNameWidth) +
               TamFixoR(fixed2(balance), kAmountWidth));
    total += balance;
  }
  addTotalLines(lines, total);
  report.print(lines);
  report.close();
  return true;
}

// Walks the consumer types from their current row; a type without consumers is left
// out, and with none at all nothing is opened.
bool printNegativeBalances(const std::string& scheme, Dataset& types, Dataset& consumers,
                           const std::string& title, const std::string& cashRegister) {
  readReceiptCounter(scheme);
  ReportInProgress report(scheme);
  bool printed = false;
  for (; !types.eof(); types.next()) {
    showOnly(consumers, fieldEquals("CDTIPOCONS", keyText(types, "CDTIPOCONS")));
    if (consumers.isEmpty()) continue;

    ReportBlock block;
    if (!printed) {
      printAccountHeading(report, title, cashRegister);
      block.centred(">>> Saldo Negativo por Consumidor <<<");
    }
    block.dashes().line(fieldText(types, "NMTIPOCONS"));
    printed = true;

    double typeTotal = 0;
    for (toFirstRow(consumers); !consumers.eof(); consumers.next()) {
      const double balance = fieldNumber(consumers, "SALDONEGATIVO");
      block.line(TamFixo("  " + fieldText(consumers, "NMCONSUMIDOR"), kNameWidth) +
                 TamFixoR(fixed2(balance), kConsumerAmountWidth));
      typeTotal += balance;
      report.print(block);
    }
    addTotalLines(block, typeTotal);
    report.print(block);
  }
  if (!printed) return false;
  report.close();
  return true;
}

// Families with a zero balance are left out of the lines and the total.
void printPersonalCreditBalances(const std::string& scheme, const std::string& title,
                                 Dataset& balances) {
  readReceiptCounter(scheme);
  ReportInProgress report(scheme);
  report.open();
  ReportBlock block;
  block.blankLine().centred(title).spaces();
  double total = 0;
  for (toFirstRow(balances); !balances.eof(); balances.next()) {
    const double balance = fieldNumber(balances, "VRSALDCONFAM");
    if (balance == 0) continue;
    block.line(TamFixo(fieldText(balances, "NMFAMILISALD"), kCreditNameWidth) +
               TamFixoR(fixed2(balance), kCreditAmountWidth));
    total += balance;
  }
  block.dashes().line(TamFixo("Saldo Total", kCreditNameWidth) +
                      TamFixoR(fixed2(total), kCreditAmountWidth));
  report.print(block);
  report.close();
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API bool ImpSaldo(const std::string& scheme, ecf::Dataset& balances,
                      const std::string& identification1, const std::string& identification2) {
  return ecf::guarded("ImpSaldo", scheme, false, [&] {
    return ecf::printFamilyBalances(scheme, balances, identification1, identification2);
  });
}

// The pass-through text goes to the report opening, which does not use it.
ECF_API bool SaldoNegativo(const std::string& /*passThrough*/, const std::string& scheme,
                           ecf::Dataset& consumerTypes, ecf::Dataset& consumers,
                           const std::string& title, const std::string& cashRegister,
                           const std::string& /*unused7*/, const std::string& /*unused8*/) {
  return ecf::guarded("SaldoNegativo", scheme, false, [&] {
    return ecf::printNegativeBalances(scheme, consumerTypes, consumers, title, cashRegister);
  });
}

// The pass-through texts go to the report opening, which does not use them.
ECF_API void Saldo_CredPessoal(const std::string& /*passThrough1*/,
                               const std::string& /*passThrough2*/, const std::string& scheme,
                               const std::string& title, ecf::Dataset& balances) {
  ecf::guardedVoid("Saldo_CredPessoal", scheme,
                   [&] { ecf::printPersonalCreditBalances(scheme, title, balances); });
}

}  // extern "C"

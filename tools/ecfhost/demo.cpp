#include "demo.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "base/utf8_path.h"
#include "grand_total_file.h"
#include "host_tables.h"
#include "local_time.h"
#include "report.h"
#include "shift_record.h"

namespace ecfhost {
namespace {

// The host's configuration of its till.
constexpr const char* kScheme = "001";
constexpr const char* kPort = "ECF1";
constexpr const char* kBranch = "1";
constexpr const char* kCashRegister = "1";
constexpr const char* kOperatorCode = "7";
constexpr const char* kOperatorName = "Ana Souza";
constexpr const char* kSupervisorCode = "3";
constexpr const char* kSupervisorName = "Bruno Carvalho";
constexpr const char* kCashTypeCode = "001";

struct StepResult {
  StepResult(bool ok = false, std::string detail = "") : ok(ok), detail(std::move(detail)) {}
  bool ok;
  std::string detail;
};

// A step that should have succeeded and did not: the day stops there.
class StepFailed : public std::runtime_error {
 public:
  StepFailed(int number, std::string step, std::string error)
      : std::runtime_error(step + ": " + error),
        number(number),
        step(std::move(step)),
        error(std::move(error)) {}
  int number;
  std::string step;
  std::string error;
};

struct SaleLine {
  std::string productCode;
  double quantity;
};

struct Sale {
  std::string title;
  std::string cpf;           // "" for none
  std::string consumerName;  // printed with the CPF
  std::string table;         // "" for none
  std::vector<SaleLine> lines;
  int cancelledItem = 0;  // item number cancelled after the third line (0: none)
  double discount = 0;
  std::vector<Payment> payments;
};

class WorkingDay {
 public:
  explicit WorkingDay(HostSession& host) : host_(host), api_(host.api()) {}

  void run() {
    startOfDay();
    reconcileTables();
    section("Cash supply");
    step("Suprimento", "opening float " + money(kFloat, settings()),
         [&] { return StepResult{need(api_.Suprimento, "Suprimento")(kScheme, kFloat)}; });
    sell(Sale{.title = "Sale 1: counter, cash with change",
              .cpf = "",
              .consumerName = "",
              .table = "",
              .lines = {{"1001", 3}, {"1002", 2}},
              .cancelledItem = 0,
              .discount = 0,
              .payments = {{"001", 30.00}}});
    sell(Sale{.title = "Sale 2: CPF, item cancelled, discount, two payments with change",
              .cpf = "529.982.247-25",
              .consumerName = "Maria da Conceição",
              .table = "",
              .lines = {{"1003", 1}, {"1001", 2}, {"1004", 1}, {"1005", 1}},
              .cancelledItem = 3,
              .discount = 1.40,
              .payments = {{"003", 20.00}, {"001", 20.00}}});
    sell(Sale{.title = "Sale 3: table 12, credit card",
              .cpf = "",
              .consumerName = "",
              .table = "12",
              .lines = {{"1006", 1}, {"1008", 2}},
              .cancelledItem = 0,
              .discount = 0,
              .payments = {{"002", 24.00}}});
    cancelledReceipt();
    section("Cash withdrawal");
    step("Sangria", "to the safe " + money(kWithdrawal, settings()), [&] {
      ecf::Dataset unused;
      return StepResult{need(api_.Sangria, "Sangria")("", kScheme, kWithdrawal, unused)};
    });
    managementReport();
    endOfDay();
  }

 private:
  static constexpr double kFloat = 150.00;
  static constexpr double kWithdrawal = 80.00;

  const ecf::HostSettings& settings() const { return host_.settings(); }

  template <typename Function>
  Function need(Function function, const char* name) {
    if (function == nullptr) throw StepFailed(number_, name, "the module does not export it");
    return function;
  }

  void section(const std::string& title) { std::cout << "\n" << title << "\n"; }

  void step(const std::string& name, const std::string& what,
            const std::function<StepResult()>& call) {
    ++number_;
    host_.beginStep();
    StepResult result;
    try {
      result = call();
    } catch (const StepFailed&) {
      throw;
    } catch (const std::exception& error) {
      // Only the host's own code can throw here: the module never lets an exception out.
      result = StepResult{false, error.what()};
    }
    char head[64];
    std::snprintf(head, sizeof head, "  %3d  %-24s %-6s ", number_, name.c_str(),
                  result.ok ? "ok" : "FAILED");
    std::cout << head << what << (result.detail.empty() ? "" : " — " + result.detail) << std::endl;
    if (!result.ok) {
      std::string error = host_.stepError();
      if (error.empty())
        error = result.detail.empty() ? "the operation returned failure" : result.detail;
      throw StepFailed(number_, name, error);
    }
  }

  // ---- start of day ----

  void startOfDay() {
    section("Start of day");
    step("StartImpFiscal", std::string("open the printer on port ") + kPort, [&] {
      ecf::Variant bag = ecf::makeBag({{"CDFILIAL", kBranch},
                                       {"CDCAIXA", kCashRegister},
                                       {"NRSERIEIMP", serial_},
                                       {"NRSERIE", serial_},
                                       {"ESQUEMA", kScheme},
                                       {"ESQUEMACOR", kScheme},
                                       {"CDPORTAIMPFIS", kPort},
                                       {"PORTAIMPFIS", kPort}});
      return StepResult{need(api_.StartImpFiscal, "StartImpFiscal")(bag)};
    });
    bool reductionPending = false;
    step("Carrega_Dados_Impressora", "read the printer's identification", [&] {
      ecf::Variant bag = ecf::makeBag({{"ESQUEMA", kScheme},
                                       {"DATAATUIMP", ""},
                                       {"ECFIMP", ""},
                                       {"REDIMP", ""},
                                       {"SERIEIMP", ""},
                                       {"DATAIMP", ""}});
      const bool ok = need(api_.Carrega_Dados_Impressora, "Carrega_Dados_Impressora")(bag);
      const auto field = [&](const char* name) {
        const ecf::Variant* value = ecf::findBagField(bag, name);
        return value ? value->toText() : std::string();
      };
      if (!field("SERIEIMP").empty()) serial_ = field("SERIEIMP");
      if (!field("ECFIMP").empty()) ecfNumber_ = field("ECFIMP");
      reductionPending = field("REDIMP") == "F";
      // The printer's clock comes as ddmmyyhhmmss.
      std::string clock = field("DATAATUIMP");
      if (clock.size() == 12) {
        clock = clock.substr(0, 2) + "/" + clock.substr(2, 2) + "/" + clock.substr(4, 2) + " " +
                clock.substr(6, 2) + ":" + clock.substr(8, 2) + ":" + clock.substr(10, 2);
      }
      return StepResult{ok, "serial " + field("SERIEIMP") + ", ECF " + field("ECFIMP") +
                                ", clock " + clock +
                                (reductionPending ? ", Z reduction pending" : "")};
    });
    // A Z reduction taken today closes the printer's day until tomorrow (a reused
    // directory the same day): nothing can be sold, so say so instead of failing a sale.
    // Selector 10 of the printer's indicators is "fiscal day closed".
    if (api_.LeIndicadores != nullptr && api_.LeIndicadores(10)) {
      throw StepFailed(number_, "Carrega_Dados_Impressora",
                       "the printer's fiscal day was already closed today by a Z reduction; it "
                       "takes no documents until tomorrow (run the demo in a new directory)");
    }
    if (reductionPending) {
      step("Reducao_Z_Imp", "close the previous fiscal day first",
           [&] { return StepResult{need(api_.Reducao_Z_Imp, "Reducao_Z_Imp")("", kScheme, "")}; });
    }
    step("Atu_TotGeral", "record the printer's grand total in Merkato.cds", [&] {
      std::string error;
      if (!registerPrinter(host_.workspace().grandTotalFile(), kBranch, kCashRegister, serial_,
                           error)) {
        return StepResult{false, error};
      }
      return StepResult{need(api_.Atu_TotGeral, "Atu_TotGeral")(grandTotalBag("N"))};
    });
  }

  ecf::Variant grandTotalBag(const char* verify) const {
    return ecf::makeBag({{"CDFILIAL", kBranch},
                         {"CDCAIXA", kCashRegister},
                         {"NRSERIEIMP", serial_},
                         {"ESQUEMACOR", kScheme},
                         {"IDVALIDA", verify}});
  }

  // ---- the printer's tables against the host's ----

  void reconcileTables() {
    section("Printer tables against the host's");
    step("CarregaAliquota", "tax rates", [&] {
      ecf::Dataset unused;
      need(api_.CarregaAliquota, "CarregaAliquota")(kScheme, unused);
      return readTaxRates();
    });
    step("CarregaTotalizador", "non-fiscal totalizers", [&] {
      std::string changeVoucher, consumerSale, creditPurchase, creditCancel, unused5;
      ecf::Dataset unused8;
      need(api_.CarregaTotalizador, "CarregaTotalizador")(
          changeVoucher, consumerSale, creditPurchase, creditCancel, unused5, kScheme, 0, unused8);
      const std::string supply = *need(api_.idTotParcSuprimento, "idTotParcSuprimento");
      const std::string withdrawal = *need(api_.idTotParcSangria, "idTotParcSangria");
      return StepResult{!supply.empty() && !withdrawal.empty(),
                        "Suprimento " + supply + ", Sangria " + withdrawal + ", contra-vale " +
                            changeVoucher + ", venda consumidor " + consumerSale + ", crédito " +
                            creditPurchase + "/" + creditCancel};
    });
    step("CarregaRecebimento", "payment methods from the host's payment types", [&] {
      paymentTypes_ = builtInPaymentTypes();
      need(api_.CarregaRecebimento, "CarregaRecebimento")("", kScheme, 0, paymentTypes_);
      return readPaymentTypes();
    });
  }

  StepResult readTaxRates() {
    if (api_.dtmEcf01600 == nullptr || *api_.dtmEcf01600 == nullptr) {
      return {false, "the module has no data module"};
    }
    const ecf::DataPacket rates = (*api_.dtmEcf01600)->cdsAliqImpFis.data();
    std::string listed;
    int taxed = 0;
    for (std::size_t r = 0; r < rates.rowCount(); ++r) {
      const auto& row = rates.row(r);
      const auto at = [&](const char* field) {
        const int index = rates.fieldIndex(field);
        return index < 0 ? ecf::Variant() : row[static_cast<std::size_t>(index)];
      };
      if (at("IDALIQIMPFIS").toText() != "T") continue;
      ++taxed;
      const std::string code = at("CDALIQIMPFIS").toText();
      const double percent = at("VRALIQIMPFIS").toNumber();
      listed += (listed.empty() ? "" : ", ") + code + " " + money(percent, settings()) + "%";
      // The café's goods are taxed at 18 % when the printer has that rate.
      if (rateCode_.empty() || (percent == 18.0 && ratePercent_ != 18.0)) {
        rateCode_ = code;
        ratePercent_ = percent;
      }
    }
    if (taxed == 0) return {false, "the printer has no ICMS rate to sell under"};
    return {true, std::to_string(taxed) + " ICMS (" + listed + ") + " +
                      std::to_string(rates.rowCount() - static_cast<std::size_t>(taxed)) +
                      " other rows; items sold under " + rateCode_};
  }

  StepResult readPaymentTypes() {
    const ecf::DataPacket types = paymentTypes_.data();
    std::string listed;
    const int codeField = types.fieldIndex("CDTIPORECE");
    if (codeField < 0) return {false, "the payment types came back without CDTIPORECE"};
    for (std::size_t r = 0; r < types.rowCount(); ++r) {
      const std::string code = types.row(r)[static_cast<std::size_t>(codeField)].toText();
      const std::string kind = lookup(types, "CDTIPORECE", code, "IDTIPORECE");
      if (kind == "B") continue;  // not a printer payment
      const std::string printerName = lookup(types, "CDTIPORECE", code, "NMTIPORECE");
      if (printerName.empty()) {
        return {false, "payment type " + code + " (" +
                           lookup(types, "CDTIPORECE", code, "DSIMPFISCAL") +
                           ") got no printer name"};
      }
      listed += (listed.empty() ? "" : ", ") + code + " \"" + printerName + "\"";
    }
    return {true, listed};
  }

  // ---- sales ----

  ecf::Variant openBag(const std::string& cpf) const {
    return ecf::makeBag({{"ESQUEMACOR", kScheme},
                         {"INTTEFERRO", ""},
                         {"INCLUICPF", cpf},
                         {"INCLUINOME", ""},
                         {"INCLUIENDERECO", ""},
                         {"CUPNR", ""},
                         {"CONTCUPOM", ""},
                         {"TIPOTICKET", ""},
                         {"IVACOMP", ""},
                         {"IVAPROP", ""},
                         {"TIPODOC", ""},
                         {"NRDOC", ""},
                         {"MESA", ""},
                         {"IDUTILTEF", "N"},
                         {"UTILTEF", false}});
  }

  ecf::Variant itemBag(const Product& item, double quantity) const {
    return ecf::makeBag({{"ESQUEMACOR", kScheme},
                         {"INTEFERRO", ""},
                         {"MESA", ""},
                         {"FLAG", ""},
                         {"CDARVPROD", item.code},
                         {"NMPROD", item.name},
                         {"CDALIQ", rateCode_},
                         {"IDALIQ", "T"},
                         {"QTDE", quantity},
                         {"VALOR", item.price},
                         {"DESCONT", 0.0},
                         {"UNIDADE", item.unit},
                         {"TIPOTICKET", ""},
                         {"VRPERCALIQ", ratePercent_},
                         {"IDUTILTEF", "N"},
                         {"UTILTEF", false}});
  }

  void openReceipt(const std::string& cpf) {
    step("AbreCupom", cpf.empty() ? "open a receipt" : "open a receipt for CPF " + cpf, [&] {
      ecf::Variant bag = openBag(cpf);
      return StepResult{need(api_.AbreCupom, "AbreCupom")(bag)};
    });
  }

  void sellItem(const SaleLine& line) {
    const Product& item = product(line.productCode);
    char quantity[32];
    std::snprintf(quantity, sizeof quantity, "%g", line.quantity);
    step("VendaItem",
         std::string(quantity) + " × " + item.name + " at " + money(item.price, settings()), [&] {
           ecf::Variant bag = itemBag(item, line.quantity);
           return StepResult{need(api_.VendaItem, "VendaItem")(bag)};
         });
  }

  std::vector<ecf::Variant> closingPositions(const Sale& sale) const {
    std::vector<ecf::Variant> at(44);
    const ecf::DataPacket types = paymentTypes_.data();
    at[1] = "Obrigado pela preferência!";
    at[2] = kScheme;
    at[4] = false;  // no change voucher
    at[6] = sale.discount;
    at[7] = 0.0;
    at[8] = 0.0;
    at[9] = "";
    at[10] = "Volte sempre!";
    at[11] = false;
    at[13] = cashMovements(sale.payments, types, localNow());
    at[14] = types;
    at[15] = "";
    at[16] = "";
    at[17] = "";
    at[18] = "";
    at[19] = sale.cpf;
    at[20] = sale.consumerName;
    at[21] = sale.table;
    at[22] = kOperatorCode;
    at[23] = kOperatorName;
    at[27] = "2";
    at[31] = "";
    at[35] = "";
    at[36] = "";
    at[37] = 0.0;
    at[38] = 0.0;
    at[39] = "";
    at[42] = "";
    at[43] = "SP";
    return at;
  }

  void sell(const Sale& sale) {
    section(sale.title);
    openReceipt(sale.cpf);
    double subtotal = 0;
    for (std::size_t i = 0; i < sale.lines.size(); ++i) {
      sellItem(sale.lines[i]);
      const Product& item = product(sale.lines[i].productCode);
      subtotal += item.price * sale.lines[i].quantity;
      if (sale.cancelledItem != 0 && static_cast<int>(i + 1) == sale.cancelledItem) {
        const std::string number = std::to_string(sale.cancelledItem);
        step("Cancela_ItGenerico", "cancel item " + number + " (" + item.name + ")", [&] {
          return StepResult{need(api_.Cancela_ItGenerico, "Cancela_ItGenerico")(
              kScheme, number, "", "", "", "", "", "", "", 0.0, 0.0)};
        });
        subtotal -= item.price * sale.lines[i].quantity;
      }
    }
    const double due = subtotal - sale.discount;
    double paid = 0;
    std::string payments;
    const ecf::DataPacket types = paymentTypes_.data();
    for (const Payment& payment : sale.payments) {
      paid += payment.amount;
      shift_.take(payment.typeCode, payment.amount);
      payments += (payments.empty() ? "" : " + ") +
                  lookup(types, "CDTIPORECE", payment.typeCode, "DSIMPFISCAL") + " " +
                  money(payment.amount, settings());
    }
    std::string what = "total " + money(due, settings());
    if (sale.discount > 0) what += " after a discount of " + money(sale.discount, settings());
    what += "; " + payments;
    if (paid > due + 0.001) what += "; change " + money(paid - due, settings());
    step("FechaCupom", what, [&] {
      const std::vector<ecf::Variant> positions = closingPositions(sale);
      ecf::StringList unused;
      ecf::Variant result{ecf::Variant::Array(3)};
      const bool ok = need(api_.FechaCupom, "FechaCupom")(
          positions.data(), static_cast<std::int32_t>(positions.size()) - 1, unused, result);
      return StepResult{ok};
    });
    salesTotal_ += due;
    ++receipts_;
    recordSale(sale);
    if (paid > due + 0.001) shift_.take(kCashTypeCode, due - paid);  // the change, in cash
  }

  // What the host keeps of a sale for the cash closing: the items that stayed on the
  // receipt, with its discount booked against the last of them.
  void recordSale(const Sale& sale) {
    std::string last;
    for (std::size_t i = 0; i < sale.lines.size(); ++i) {
      if (sale.cancelledItem != 0 && static_cast<int>(i + 1) == sale.cancelledItem) continue;
      const Product& item = product(sale.lines[i].productCode);
      shift_.sell(item.code, sale.lines[i].quantity, item.price);
      last = item.code;
    }
    if (sale.discount > 0 && !last.empty()) shift_.discount(last, sale.discount);
  }

  void cancelledReceipt() {
    section("A receipt cancelled: the customer changed their mind");
    openReceipt("");
    sellItem({"1007", 1});
    step("Cancela_Cupom_Imp", "cancel the receipt in progress", [&] {
      std::vector<ecf::Variant> positions = {kScheme, "", "", "", kBranch, kCashRegister, serial_};
      ecf::Variant result{ecf::Variant::Array(1)};
      const bool ok = need(api_.Cancela_Cupom_Imp, "Cancela_Cupom_Imp")(
          positions.data(), static_cast<std::int32_t>(positions.size()) - 1, result);
      std::string coo;
      if (result.isArray() && !result.asArray().empty()) coo = result.asArray()[0].toText();
      return StepResult{ok, "COO " + coo};
    });
  }

  // ---- reports and the day's close ----

  std::string reportText() const {
    const auto row = [&](const std::string& label, const std::string& value) {
      std::string line = label;
      // 48 columns, the amount flush right; labels are plain ASCII or counted below.
      std::size_t width = 0;
      for (const char c : label) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      line += std::string(width + value.size() < 48 ? 48 - width - value.size() : 1, ' ');
      return line + value + "\n";
    };
    std::string text = "RESUMO DO TURNO\n";
    text += "Operadora: " + std::string(kOperatorName) + "\n\n";
    text += row("Cupons fiscais emitidos", std::to_string(receipts_));
    text += row("Vendas (R$)", money(salesTotal_, settings()));
    text += row("Suprimento (R$)", money(kFloat, settings()));
    text += row("Sangria (R$)", money(kWithdrawal, settings()));
    return text;
  }

  void managementReport() {
    section("Management report");
    step("Relatorio_Gerencial_Imp", "open a free-text report", [&] {
      return StepResult{
          need(api_.Relatorio_Gerencial_Imp, "Relatorio_Gerencial_Imp")(kScheme, "", "", "")};
    });
    step("Usa_CompNFis", "the shift summary", [&] {
      return StepResult{need(api_.Usa_CompNFis, "Usa_CompNFis")(kScheme, reportText())};
    });
    step("Usa_CompNFis", "a note for the next shift", [&] {
      return StepResult{need(api_.Usa_CompNFis, "Usa_CompNFis")(
          kScheme, "\nRecado: repor pão de queijo & açaí até às 15h.\n")};
    });
    step("FechRelatGerenc", "close the report", [&] {
      return StepResult{need(api_.FechRelatGerenc, "FechRelatGerenc")(kScheme, true, false)};
    });
  }

  // The drawer's money by payment type, as the operator hands it over in envelopes: the
  // cash is the float and the cash taken, less the withdrawal already sent to the safe.
  void handOver(std::vector<Envelope>& envelopes, std::vector<CashMovement>& movements) const {
    const ecf::DataPacket types = paymentTypes_.data();
    for (const char* code : {"001", "002", "003", "004"}) {
      const bool cash = std::string(code) == kCashTypeCode;
      const double amount = cash ? kFloat + shift_.taken(code) - kWithdrawal : shift_.taken(code);
      if (amount < 0.005) continue;
      const std::string name = lookup(types, "CDTIPORECE", code, "DSIMPFISCAL");
      char number[8];
      std::snprintf(number, sizeof number, "%06zu", envelopes.size() + 1);
      envelopes.push_back({number, name, amount});
      movements.push_back({"1", name, amount});
    }
    // The withdrawal was money of the day too; the float was not.
    movements.push_back({"5", "Sangria", kWithdrawal});
    movements.push_back({"3", "Suprimento", kFloat});
  }

  void cashClosing() {
    step("GeraReciboSangria", "cash closing: withdrawal receipt, product and closing reports", [&] {
      std::vector<Envelope> envelopes;
      std::vector<CashMovement> movements;
      handOver(envelopes, movements);
      const ecf::Dataset envelopeRows = envelopeTable(envelopes);
      const ecf::Dataset moneyMoved = cashMovementTable(movements);
      const ecf::Dataset sold = shift_.productsSold(ratePercent_);
      const ecf::Dataset people =
          closingPeople(kSupervisorCode, kSupervisorName, kOperatorCode, kOperatorName);
      const ecf::Dataset none("cdsSangria");
      ecf::Dataset zDay("zDay"), zPayments("zPayments"), zTaxes("zTaxes"), zNonFiscal("zNonFiscal");
      bool zSaved = false;
      std::string coo;
      // The till stays closed, the Z reduction is confirmed, and with one shift the shift's
      // reports are the day's: they are not printed twice.
      host_.op().script({false, true, false});
      // One shift: its products and movements are the day's too.
      const bool reopened = need(api_.GeraReciboSangria, "GeraReciboSangria")(
          "", "", "", "", ecfNumber_, 0, coo, envelopeRows, none, sold, people,
          /*day's movements*/ moneyMoved, /*shift's movements*/ moneyMoved, /*day's products*/ sold,
          ecf::DateTime(), /*print the receipt*/ true, /*Z allowed*/ true, false, zDay, zPayments,
          zTaxes, zNonFiscal, zSaved, paymentTypes_, /*product report without asking*/ "N",
          /*grouped by tax*/ "S", /*no X reading*/ "N", /*envelope column*/ "S", kScheme,
          /*withdrawal only*/ false, /*reprint*/ false, /*Z allowed*/ true, "Fechamento do caixa",
          "");
      host_.op().dropScript();
      if (reopened) return StepResult{false, "the till was opened again"};
      if (!zSaved) return StepResult{false, "the Z data was not saved"};
      const ecf::DataPacket day = zDay.data();
      const auto dayField = [&](const char* field) {
        const int index = day.fieldIndex(field);
        return day.rowCount() == 0 || index < 0 ? ecf::Variant()
                                                : day.row(0)[static_cast<std::size_t>(index)];
      };
      return StepResult{
          true, std::to_string(envelopes.size()) + " envelopes, sales " +
                    money(shift_.sales(), settings()) + ", first COO " + coo +
                    "; Z data saved for the Z at COO " + dayField("NRULTCFREDZ").toText() +
                    ": gross sales " + money(dayField("VRVENBRUREDZ").toNumber(), settings()) +
                    ", " + std::to_string(zPayments.data().rowCount()) + " payment types, " +
                    std::to_string(zTaxes.data().rowCount()) + " tax rates, " +
                    std::to_string(zNonFiscal.data().rowCount()) + " non-fiscal totalizers"};
    });
  }

  void endOfDay() {
    section("End of day");
    step("Leitura_X_Imp", "X reading",
         [&] { return StepResult{need(api_.Leitura_X_Imp, "Leitura_X_Imp")("", kScheme, "")}; });
    cashClosing();
    step("Reducao_Z_Imp", "Z reduction: the fiscal day closes",
         [&] { return StepResult{need(api_.Reducao_Z_Imp, "Reducao_Z_Imp")("", kScheme, "")}; });
    step("Atu_TotGeral", "check the recorded grand total against the printer's",
         [&] { return StepResult{need(api_.Atu_TotGeral, "Atu_TotGeral")(grandTotalBag("S"))}; });
    step("FechaPorta", "close the printer's channel",
         [&] { return StepResult{need(api_.FechaPorta, "FechaPorta")()}; });
    step("StopImpFiscal", "unbind the driver", [&] {
      need(api_.StopImpFiscal, "StopImpFiscal")();
      return StepResult{true};
    });
  }

  HostSession& host_;
  ModuleApi& api_;
  int number_ = 0;
  std::string serial_ = "VP000000000000000001";
  std::string ecfNumber_ = "001";
  ShiftRecord shift_;
  std::string rateCode_;
  double ratePercent_ = 0;
  ecf::Dataset paymentTypes_;
  double salesTotal_ = 0;
  int receipts_ = 0;
};

}  // namespace

int runDemo(const std::string& directory, bool reuse, const HostOptions& options) {
  std::unique_ptr<HostSession> host;
  try {
    host = std::make_unique<HostSession>(Workspace::prepare(directory, "ecfhost-demo", reuse),
                                         options);
  } catch (const std::exception& error) {
    std::cerr << "ecfhost: " << error.what() << "\n";
    return 2;
  }
  std::cout << "A working day on the virtual fiscal printer\n"
            << "Working in " << ecf::utf8FromPath(host->workspace().root()) << "\n";
  // With --reuse the tape already holds earlier days; this run shows what it printed.
  const std::size_t before = host->tape().all().size();
  int status = 0;
  try {
    WorkingDay(*host).run();
  } catch (const StepFailed& failure) {
    std::cout << "\nThe working day stopped at step " << failure.number << " (" << failure.step
              << "): " << failure.error << "\n";
    std::cerr << "ecfhost demo: step " << failure.number << " (" << failure.step
              << ") failed: " << failure.error << "\n";
    status = 1;
  }
  const std::string tapeNow = host->tape().all();
  const std::string printed = tapeNow.substr(std::min(before, tapeNow.size()));
  if (printed.empty()) {
    std::cout << "\nThis run printed nothing on the tape.\n";
  } else {
    std::cout << "\nThe tape of this run:\n\n" << printed << "\n";
  }
  if (status == 0) std::cout << "Every step succeeded.\n";
  printLocations(*host);
  std::cout << "See it as paper: ecfhost tape --dir " << ecf::utf8FromPath(host->workspace().root())
            << " --html tape.html\n";
  return status;
}

}  // namespace ecfhost

// A printer ready for the vouchers of a sale: its totalizers programmed, a credit card
// method that takes linked vouchers and a meal-voucher method that does not, and card
// sales rung up straight on the driver channel (the receipt operations have tests of
// their own). Also a host operator that acts when asked.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {

inline const std::string kCard = "Cartao Credito";
inline const std::string kMealVoucher = "Vale Refeicao";
inline const std::string kQuestion = "Impressora não responde. Imprimir novamente?";

class VoucherTest : public NonFiscalTest {
 protected:
  void SetUp() override {
    NonFiscalTest::SetUp();
    printer().configure({{"paymentMethods",
                          {{{"code", 0}, {"name", kCard}, {"allowsLinked", true}},
                           {{"code", 1}, {"name", kMealVoucher}, {"allowsLinked", false}}}}});
  }

  // One item of card + other, paid by card and the rest in `otherMethod`; the record,
  // messages and log mark are cleared afterwards. Returns the receipt's COO as the
  // printer counts it ("7").
  std::string ringUpSale(const std::string& card, const std::string& other,
                         const std::string& otherMethod = "Dinheiro") {
    char total[32];
    std::snprintf(total, sizeof total, "%.2f", std::stod(card) + std::stod(other));
    EXPECT_EQ(driverCommand("AbreCupomFiscal", {}), 0);
    EXPECT_EQ(driverCommand("VendaDeItem", {{"AliquotaICMS", "Y", PARAMETRO_INDICADOR},
                                            {"CodAliquota", "0", PARAMETRO_UINT},
                                            {"CodProduto", "1001", PARAMETRO_STRING},
                                            {"NomeProduto", "Refeicao", PARAMETRO_STRING},
                                            {"PrecoUnitario", total, PARAMETRO_MONEY},
                                            {"Quantidade", "1", PARAMETRO_MONEY}}),
              0);
    EXPECT_EQ(driverCommand("PagaCupom", {{"NomeMeioPagamento", kCard, PARAMETRO_STRING},
                                          {"Valor", card, PARAMETRO_MONEY}}),
              0);
    if (std::stod(other) > 0) {
      EXPECT_EQ(driverCommand("PagaCupom", {{"NomeMeioPagamento", otherMethod, PARAMETRO_STRING},
                                            {"Valor", other, PARAMETRO_MONEY}}),
                0);
    }
    EXPECT_EQ(driverCommand("EncerraDocumento", {}), 0);
    const std::string coo = std::to_string(printer().state()["counters"]["coo"].get<int>());
    forgetWhatHappened();
    return coo;
  }

  // The operator answers from the script and, on the next question, also does `action`
  // (puts the printer back on line, for instance).
  void onNextQuestion(std::function<void()> action) {
    pending_ = std::move(action);
    ecf_SetOperator([this](const ecf::OperatorMessage& message) {
      if (message.letter2 == "S" && pending_) {
        auto action = std::move(pending_);
        pending_ = nullptr;
        action();
      }
      return op().answer(message);
    });
  }

  std::vector<std::string> questions() {
    std::vector<std::string> asked;
    for (const auto& message : op().messages()) {
      if (message.letter2 == "S") asked.push_back(message.text);
    }
    return asked;
  }
  std::vector<std::string> notices() {
    std::vector<std::string> shown;
    for (const auto& message : op().messages()) {
      if (message.letter2 != "S") shown.push_back(message.text);
    }
    return shown;
  }

  // The name of the command, and for ImprimeTexto its text, of everything sent.
  std::vector<std::string> sentSteps() {
    std::vector<std::string> steps;
    for (const RecordedCommand& command : printer().commands()) {
      if (command.name == "ImprimeTexto") {
        steps.push_back("ImprimeTexto " + command.value("TextoLivre"));
      } else if (command.name == "LeInteiro") {
        steps.push_back("LeInteiro " + command.value("NomeInteiro"));
      } else {
        steps.push_back(command.name);
      }
      if (command.errorCode != 0) steps.back() += " (refused)";
    }
    return steps;
  }

  // A counter as the tape prints it: "7" -> "000007".
  static std::string sixDigits(const std::string& counter) {
    return std::string(counter.size() < 6 ? 6 - counter.size() : 0, '0') + counter;
  }

  // The kind of document left open on the printer ("none", "report", ...).
  std::string openDocument() { return printer().state()["open"]["kind"].get<std::string>(); }

 private:
  std::int32_t driverCommand(const std::string& name, const std::vector<SentParam>& params) {
    Ecf_DLLG2_LimpaParams(inCanalSerial);
    for (const auto& [param, value, type] : params) {
      Ecf_DLLG2_AdicionaParam(inCanalSerial, param.c_str(), value.c_str(), type);
    }
    Ecf_DLLG2_ExecutaComando(inCanalSerial, name.c_str());
    return Ecf_DLLG2_ObtemCodErro(inCanalSerial);
  }

  std::function<void()> pending_;
};

}  // namespace ecftest

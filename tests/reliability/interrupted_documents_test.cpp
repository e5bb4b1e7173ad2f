// A non-fiscal document cut short, by a killed host or by a refused step: the printer is
// left with nothing open, the supply counts only when the host saw it succeed, and the day
// goes on as on a clean printer.
#include <string>
#include <vector>

#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

constexpr const char* kLeftOpenNotice =
    "O documento deixado aberto na impressora fiscal foi cancelado: comprovante não fiscal.";

class InterruptedDocumentTest : public ReceiptTest {
 protected:
  // A command sent straight to the driver, as the module sends it.
  static void send(const std::string& command, const std::vector<SentParam>& params) {
    Ecf_DLLG2_LimpaParams(inCanalSerial);
    for (const auto& [name, value, type] : params) {
      Ecf_DLLG2_AdicionaParam(inCanalSerial, name.c_str(), value.c_str(), type);
    }
    Ecf_DLLG2_ExecutaComando(inCanalSerial, command.c_str());
  }

  long long suppliedCents() {
    return state()["totals"]["nonFiscal"][std::stoi(idTotParcSuprimento)].get<long long>();
  }
  int fiscalState() { return state()["derived"]["estadoFiscal"].get<int>(); }

  // A report, a sale and a supply of 150,50, each accepted as on a clean printer.
  void dayGoesOn() {
    EXPECT_TRUE(Relatorio_Gerencial_Imp(kScheme, "", "", ""));
    EXPECT_TRUE(FechRelatGerenc(kScheme, true, false));
    footerOfSale(Closing(), 10.0);
    EXPECT_TRUE(Suprimento(kScheme, 150.5));
    EXPECT_EQ(1, fiscalState());
  }
};

TEST_F(InterruptedDocumentTest, ASupplyKilledBetweenItemAndPaymentIsCancelledAtTheNextStartUp) {
  send("AbreCupomNaoFiscal", {{"EnderecoConsumidor", "", PARAMETRO_STRING},
                              {"IdConsumidor", "", PARAMETRO_STRING},
                              {"NomeConsumidor", "", PARAMETRO_STRING}});
  send("EmiteItemNaoFiscal", {{"CodNaoFiscal", idTotParcSuprimento, PARAMETRO_UINT},
                              {"NomeNaoFiscal", "", PARAMETRO_STRING},
                              {"Valor", "150,50", PARAMETRO_MONEY}});
  ASSERT_EQ(16, fiscalState());
  FechaPorta();
  forget();

  ASSERT_TRUE(start());

  EXPECT_EQ((std::vector<std::string>{"LeData", "LeHora", "EncerraDocumento", "LeInteiro",
                                      "CancelaCupom"}),
            printer().commandNames());
  EXPECT_EQ(std::vector<std::string>{kLeftOpenNotice}, op().texts());
  EXPECT_TRUE(logContains(kLeftOpenNotice));
  EXPECT_EQ(1, fiscalState());
  EXPECT_EQ(0, suppliedCents());
  dayGoesOn();
  EXPECT_EQ(15050, suppliedCents());
}

TEST_F(InterruptedDocumentTest, ARefusedSupplyStepCancelsTheReceiptAndCountsNothing) {
  const std::vector<std::string> steps{"EmiteItemNaoFiscal", "PagaCupom", "EncerraDocumento"};
  long long accepted = 0;
  for (std::size_t refused = 0; refused < steps.size(); ++refused) {
    SCOPED_TRACE(steps[refused]);
    forget();
    printer().refuseNext(steps[refused]);

    EXPECT_FALSE(Suprimento(kScheme, 150.5));

    std::vector<std::string> sent{"AbreCupomNaoFiscal"};
    sent.insert(sent.end(), steps.begin(), steps.begin() + static_cast<long>(refused) + 1);
    sent.push_back("CancelaCupom");
    EXPECT_EQ(sent, printer().commandNames());
    const std::vector<std::string> log = newDebugLines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("Comando Executado: CancelaCupom", log.back());
    EXPECT_EQ(std::vector<std::string>{kRefusalNotice}, op().texts());
    EXPECT_EQ(1, fiscalState());
    EXPECT_EQ(accepted, suppliedCents());

    dayGoesOn();
    accepted += 15050;
    EXPECT_EQ(accepted, suppliedCents());
  }
}

}  // namespace
}  // namespace ecftest

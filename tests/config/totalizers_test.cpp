// Finding and programming the seven non-fiscal totalizers.
#include <gmock/gmock.h>

#include "config/config_fixture.h"

namespace ecftest {
namespace {

using ::testing::ElementsAre;

// The printer's names of the seven totalizers.
const std::string kSupply = "Suprimento";
const std::string kWithdrawal = "Sangria";
const std::string kChangeVoucher = "CONTRA-VALE EMITIDO";
const std::string kCreditPurchase = "Cred Pessoal";
const std::string kReport = "Relatorios";
const std::string kConsumerSale = "VENDA CONSUMIDOR";
const std::string kCreditCancel = "Canc Credito";

class TotalizersTest : public ConfigTest {
 protected:
  // Runs the reconciliation with out-parameters that hold leftovers of an earlier call.
  void load() {
    changeVoucher_ = consumerSale_ = creditPurchase_ = creditCancel_ = "old";
    unused5_ = "untouched";
    ecf::Dataset unused;
    CarregaTotalizador(changeVoucher_, consumerSale_, creditPurchase_, creditCancel_, unused5_,
                       "007", 0, unused);
    EXPECT_EQ(unused5_, "untouched");
  }

  // The seven published codes in the order supply, withdrawal, change voucher, credit
  // purchase, report, consumer sale, credit cancellation; the out-parameters must agree.
  std::vector<std::string> ids() {
    EXPECT_EQ(changeVoucher_, IdTotParcCV);
    EXPECT_EQ(consumerSale_, IdTotParcVCons);
    EXPECT_EQ(creditPurchase_, IdTotCompCred);
    EXPECT_EQ(creditCancel_, IdTotCancCred);
    return {idTotParcSuprimento, idTotParcSangria, IdTotParcCV, IdTotCompCred,
            IdTotRelatorio,      IdTotParcVCons,   IdTotCancCred};
  }

  std::string changeVoucher_, consumerSale_, creditPurchase_, creditCancel_, unused5_;
};

TEST_F(TotalizersTest, AllSevenPresentAreFoundInThePrinterOwnOrder) {
  setTotalizers({kCreditCancel, kReport, kSupply, kConsumerSale, kChangeVoucher, kWithdrawal,
                 kCreditPurchase});
  load();
  EXPECT_EQ(ids(), (std::vector<std::string>{"02", "05", "04", "06", "01", "03", "00"}));
  EXPECT_TRUE(printer().commandsNamed("DefineNaoFiscal").empty());
  EXPECT_EQ(sentValues("LeNaoFiscal", "CodNaoFiscal"),
            (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_THAT(sentParams(printer().commands().front()),
              ElementsAre(SentParam{"CodNaoFiscal", "0", PARAMETRO_UINT},
                          SentParam{"NomeNaoFiscal", "", PARAMETRO_STRING}));
  const std::vector<std::string> lines = newDebugLines();
  EXPECT_EQ(lines.front(), "Comando Executado: LeNaoFiscal - CodNaoFiscal - 0");
  EXPECT_EQ(lines.back(),
            "Retorno da Impressora : Canc Credito       Relatorios         Suprimento         "
            "VENDA CONSUMIDOR   CONTRA-VALE EMITIDOSangria            Cred Pessoal       ");
  EXPECT_TRUE(VerificaTotalizador());
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(TotalizersTest, AFreshPrinterGetsTheSevenDefinedInOrder) {
  setTotalizers({});
  load();
  EXPECT_EQ(ids(), (std::vector<std::string>{"00", "01", "02", "03", "04", "05", "06"}));
  const std::vector<RecordedCommand> defined = printer().commandsNamed("DefineNaoFiscal");
  ASSERT_EQ(defined.size(), 7u);
  EXPECT_THAT(sentParams(defined[1]),
              ElementsAre(SentParam{"CodNaoFiscal", "01", PARAMETRO_UINT},
                          SentParam{"DescricaoNaoFiscal", "", PARAMETRO_STRING},
                          SentParam{"NomeNaoFiscal", "Sangria", PARAMETRO_STRING},
                          SentParam{"TipoNaoFiscal", "f", PARAMETRO_INDICADOR}));
  EXPECT_EQ(sentValues("DefineNaoFiscal", "NomeNaoFiscal"),
            (std::vector<std::string>{kSupply, kWithdrawal, kChangeVoucher, kCreditPurchase,
                                      kReport, kConsumerSale, kCreditCancel}));
  EXPECT_EQ(sentValues("DefineNaoFiscal", "TipoNaoFiscal"),
            (std::vector<std::string>{"t", "f", "f", "t", "t", "t", "t"}));
  EXPECT_EQ(printerNames("nonFiscal"),
            (std::vector<std::string>{kSupply, kWithdrawal, kChangeVoucher, kCreditPurchase,
                                      kReport, kConsumerSale, kCreditCancel}));
  EXPECT_TRUE(logContains("Comando Executado: DefineNaoFiscal : 2 - CONTRA-VALE EMITIDO"));
  EXPECT_TRUE(logContains("Comando Executado: DefineNaoFiscal : 6 - Canc Credito"));

  // A second call finds them all and programs nothing.
  forgetWhatHappened();
  load();
  EXPECT_EQ(ids(), (std::vector<std::string>{"00", "01", "02", "03", "04", "05", "06"}));
  EXPECT_TRUE(printer().commandsNamed("DefineNaoFiscal").empty());
}

// A scripted answer for the next totalizer read.
std::string totalizerAnswer(int code, const std::string& name) {
  return "CodNaoFiscal=" + std::to_string(code) + " DescricaoNaoFiscal=\"\" NomeNaoFiscal=\"" +
         name + "\" TipoNaoFiscal=t";
}

TEST_F(TotalizersTest, NamesAreComparedTrimmedCaseSensitiveOnNineteenCharacters) {
  // Code 0 answers a name running past 19 characters: compared on its first 19.
  // " Sangria " matches after trimming; "SUPRIMENTO" does not, and the printer then
  // refuses to program the same name in other capitals.
  setTotalizers({"Outro", " Sangria ", "SUPRIMENTO", "Relatorios", "VENDA CONSUMIDOR",
                 "Cred Pessoal", "Canc Credito"});
  printer().scriptNextAnswer("LeNaoFiscal", 0, 0, totalizerAnswer(0, "CONTRA-VALE EMITIDO 2"));
  load();
  EXPECT_EQ(ids(), (std::vector<std::string>{"", "01", "00", "05", "03", "04", "06"}));
  EXPECT_EQ(sentValues("DefineNaoFiscal", "NomeNaoFiscal"), (std::vector<std::string>{kSupply}));
  EXPECT_EQ(sentValues("DefineNaoFiscal", "CodNaoFiscal"), (std::vector<std::string>{"07"}));
  EXPECT_GT(printer().commandsNamed("DefineNaoFiscal").front().errorCode, 0);
}

TEST_F(TotalizersTest, TwoCodesOfTheSameNameGiveTheHigherCode) {
  setTotalizers({"Outro", kSupply, kWithdrawal});
  printer().scriptNextAnswer("LeNaoFiscal", 0, 0, totalizerAnswer(0, kWithdrawal));
  load();
  EXPECT_EQ(ids()[1], "02");
  EXPECT_EQ(ids()[0], "01");
  EXPECT_EQ(sentValues("DefineNaoFiscal", "CodNaoFiscal"),
            (std::vector<std::string>{"03", "04", "05", "06", "07"}));
}

TEST_F(TotalizersTest, AFullTableLeavesTheMissingRolesWithoutACode) {
  std::vector<std::string> names;
  for (int code = 0; code < 15; ++code) names.push_back("Outro " + std::to_string(code));
  names[9] = kWithdrawal;
  setTotalizers(names);
  load();
  EXPECT_EQ(ids(), (std::vector<std::string>{"", "09", "", "", "", "", ""}));
  EXPECT_EQ(sentValues("LeNaoFiscal", "CodNaoFiscal").size(), 15u);
  EXPECT_EQ(sentValues("DefineNaoFiscal", "CodNaoFiscal"),
            (std::vector<std::string>(6, "15")));
  EXPECT_FALSE(VerificaTotalizador());
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(TotalizersTest, ARefusedDefinitionLeavesItsRoleEmptyAndTheNextTakesTheCode) {
  setTotalizers({});
  printer().refuseNth(2, "DefineNaoFiscal");
  load();
  EXPECT_EQ(ids(), (std::vector<std::string>{"00", "", "01", "02", "03", "04", "05"}));
  EXPECT_EQ(sentValues("DefineNaoFiscal", "CodNaoFiscal"),
            (std::vector<std::string>{"00", "01", "01", "02", "03", "04", "05"}));
  EXPECT_TRUE(logContains(kNthRefusalLogLine));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_TRUE(VerificaTotalizador());

  // The credit cancellation, last of all, is judged like the others.
  setTotalizers({});
  forgetWhatHappened();
  printer().refuseNth(7, "DefineNaoFiscal");
  load();
  EXPECT_EQ(ids()[6], "");
}

TEST_F(TotalizersTest, WithoutTheCreditPurchaseTotalizerTheCheckFails) {
  setTotalizers({});
  printer().refuseNth(4, "DefineNaoFiscal");
  load();
  EXPECT_EQ(IdTotCompCred, "");
  EXPECT_FALSE(VerificaTotalizador());
  EXPECT_EQ(IdTotRelatorio, "03");
}

TEST_F(TotalizersTest, NamingATotalizerDoesNothing) {
  EXPECT_FALSE(Nomeia_TotParcial("a", "b", "c", "d", true, true));
  EXPECT_TRUE(printer().commands().empty());
}

}  // namespace
}  // namespace ecftest

// Cancelling a whole receipt with its grand-total step, and the drawer, cutter and bar
// code.
#include "support/grand_total_file.h"
#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

class CancellationTest : public ReceiptTest {
 protected:
  std::string grandTotalPath() const { return hostDir_ + "Merkato.cds"; }

  // A recorded row for branch "1", register "1" and serial "SIM0001", to be rewritten.
  void writeGrandTotalFile(const std::string& storedTotal) {
    ecftest::writeGrandTotalFile(grandTotalPath(), "S", storedTotal);
  }
  std::string recordedTotal() const { return recordedGrandTotal(grandTotalPath()); }

  bool cancelReceipt(ecf::Variant& result) {
    ecf::Variant::Array positions{ecf::Variant(kScheme),  ecf::Variant(),    ecf::Variant(),
                                  ecf::Variant(),         ecf::Variant("1"), ecf::Variant("1"),
                                  ecf::Variant("SIM0001")};
    return Cancela_Cupom_Imp(positions.data(), 6, result);
  }

  void sellAndClose(double amount) {
    openAndSell(amount);
    Closing closing;
    closing.payments({{"E", 1, "001", amount}});
    ASSERT_TRUE(close(closing));
  }
};

TEST_F(CancellationTest, TheLastReceiptIsCancelledWithItsCounterAndTheGrandTotalRecorded) {
  sellAndClose(12.34);
  const int coo = state()["counters"]["coo"].get<int>();
  writeGrandTotalFile("10,10");
  forget();
  ecf::Variant result(ecf::Variant::Array{ecf::Variant("old"), ecf::Variant("kept")});
  ASSERT_TRUE(cancelReceipt(result));

  char expected[8];
  std::snprintf(expected, sizeof expected, "%06d", coo);
  EXPECT_EQ((ecf::Variant::Array{ecf::Variant(std::string(expected)), ecf::Variant("kept")}),
            result.asArray());
  EXPECT_EQ((std::vector<std::string>{"LeInteiro", "CancelaCupom", "LeMoeda"}),
            printer().commandNames());
  EXPECT_EQ((std::vector<SentParam>{{"Operador", "", PARAMETRO_STRING}}),
            sentParams(printer().commandsNamed("CancelaCupom").at(0)));
  EXPECT_TRUE(logContains("Comando Executado: CancelaCupom"));
  EXPECT_TRUE(state()["lastFiscal"]["cancelled"].get<bool>());
  EXPECT_EQ(0, state()["totals"]["cash"].get<long long>());
  EXPECT_EQ("12,34", recordedTotal());
}

TEST_F(CancellationTest, ARefusedCancellationStillRunsTheGrandTotalStep) {
  sellAndClose(5.0);
  writeGrandTotalFile("10,10");
  forget();
  printer().refuseNext("CancelaCupom");
  ecf::Variant result;  // no array from the host: one is made
  EXPECT_FALSE(cancelReceipt(result));
  EXPECT_EQ((std::vector<std::string>{"LeInteiro", "CancelaCupom", "LeMoeda"}),
            printer().commandNames());
  EXPECT_EQ("5", recordedTotal());  // as the grand-total read writes it
  EXPECT_EQ(std::vector<std::string>{kRefusalNotice}, notices());
  ASSERT_TRUE(result.isArray());
  EXPECT_EQ(6u, result.asArray()[0].toText().size());
  EXPECT_FALSE(state()["lastFiscal"]["cancelled"].get<bool>());
}

TEST_F(CancellationTest, AnEmptyCounterSendsNothingAndLeavesTheGrandTotalAlone) {
  sellAndClose(5.0);
  writeGrandTotalFile("10,10");
  forget();
  printer().refuseNext("LeInteiro");
  ecf::Variant result(ecf::Variant::Array(3));
  EXPECT_FALSE(cancelReceipt(result));
  EXPECT_EQ(std::vector<std::string>{"LeInteiro"}, printer().commandNames());
  EXPECT_EQ(ecf::Variant(""), result.asArray()[0]);
  EXPECT_EQ("10,10", recordedTotal());
  EXPECT_TRUE(op().messages().empty());  // the counter read shows nothing
}

TEST_F(CancellationTest, AnOpenReceiptIsCancelledToo) {
  openAndSell(7.0);
  forget();
  ecf::Variant result(ecf::Variant::Array(1));
  ASSERT_TRUE(cancelReceipt(result));
  EXPECT_EQ("none", state()["open"]["kind"]);
  EXPECT_EQ(0, state()["totals"]["grossSales"].get<long long>() -
                   state()["totals"]["cancelledIcms"].get<long long>());
}

using DeviceTest = ReceiptTest;

TEST_F(DeviceTest, TheDrawerAndTheCutterSendTheirFixedValuesOnce) {
  ASSERT_TRUE(Abre_Gaveta_Imp(kScheme, true));
  EXPECT_EQ((std::vector<SentParam>{{"TempoAcionamentoGaveta", "200", PARAMETRO_UINT}}),
            sentParams(printer().commandsNamed("AbreGaveta").at(0)));
  ASSERT_TRUE(Guilhotina(kScheme, 0));
  EXPECT_EQ((std::vector<SentParam>{{"TipoCorte", "1", PARAMETRO_UINT}}),
            sentParams(printer().commandsNamed("CortaPapel").at(0)));
  EXPECT_EQ(
      (std::vector<std::string>{"Comando Executado: AbreGaveta - TempoAcionamentoGaveta - 200",
                                "Comando Executado: CortaPapel - TipoCorte - 1"}),
      newDebugLines());
  EXPECT_EQ(1, state()["conditions"]["drawerOpenings"].get<int>());
  EXPECT_EQ(1, state()["conditions"]["paperCuts"].get<int>());

  forget();
  printer().refuseNext("AbreGaveta");
  EXPECT_FALSE(Abre_Gaveta_Imp(kScheme, false));
  printer().refuseNext("CortaPapel");
  EXPECT_FALSE(Guilhotina(kScheme, 7));
  EXPECT_EQ((std::vector<std::string>{"AbreGaveta", "CortaPapel"}), printer().commandNames());
  EXPECT_EQ((std::vector<std::string>{kRefusalNotice, kRefusalNotice}), notices());
  EXPECT_TRUE(questions().empty());
}

TEST_F(DeviceTest, TheBarCodeIsAcceptedAndNothingIsSentOrLogged) {
  EXPECT_TRUE(CodigoBarra("789123", "EAN13"));
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_TRUE(newDebugLines().empty());
}

}  // namespace
}  // namespace ecftest

// A day of sales as the registers and the fiscal memory show it: after a closed
// receipt, a cancelled one, an X reading and a Z reduction.
#include <nlohmann/json.hpp>

#include "sim_fixture.h"

namespace simtest {
namespace {

class DayTotals : public SimTest {
 protected:
  nlohmann::json json() { return nlohmann::json::parse(state()); }
};

TEST_F(DayTotals, SaleCancellationXAndZMoveTotalsAndCountersAsTheFiscalMemoryKeepsThem) {
  // Receipt 1: 18 % and 7 % items and one under tax substitution, then a discount.
  openReceipt();
  ASSERT_EQ(sell("1", "Vinho", "0", "10.00", "2").code, 0);      // 20,00
  ASSERT_EQ(sell("2", "Pão", "2", "3.335", "3.000").code, 0);    // 10,005 truncated: 10,00
  ASSERT_EQ(sell("3", "Refrigerante", "-2", "5.00", "1").code, 0);  // 5,00
  ASSERT_EQ(send("AcresceSubtotal", {{"Cancelar", "", kInd},
                                     {"ValorAcrescimo", "-3.50", kMoney},
                                     {"ValorPercentual", "", kMoney}}).code, 0);
  ASSERT_EQ(pay("Dinheiro", "40.00").code, 0);
  ASSERT_EQ(close().code, 0);
  EXPECT_EQ(readInteger("COO"), "1");
  EXPECT_EQ(readInteger("CCF"), "1");
  EXPECT_EQ(readMoney("TotalDiaVendaBruta"), "35,00");
  EXPECT_EQ(readMoney("TotalDiaDescontos"), "3,50");
  EXPECT_EQ(readMoney("TotalDiaVendaLiquida"), "31,50");
  EXPECT_EQ(readMoney("GT"), "35,00");
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "31,50");  // 40,00 paid, 8,50 change
  EXPECT_EQ(readMoney("TotalDiaMeioPagamento[-2]"), "31,50");
  // The discount spreads over the codes in proportion: 2,00 / 1,00 / 0,50.
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[0]"), "18,00");
  EXPECT_EQ(readMoney("TotalDiaImpostoAliquota[0]"), "3,24");
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[2]"), "9,00");
  EXPECT_EQ(readMoney("TotalDiaImpostoAliquota[2]"), "0,63");
  EXPECT_EQ(readMoney("TotalDiaSubstituicaoTributariaICMS"), "4,50");
  EXPECT_EQ(readMoney("TotalDiaImpostoISSQN"), "0,00");

  // Receipt 2: one item cancelled, the receipt closed, then cancelled as the last one.
  openReceipt();
  ASSERT_EQ(sell("1", "Vinho", "0", "10.00", "1").code, 0);
  ASSERT_EQ(sell("4", "Queijo", "0", "5.00", "1").code, 0);
  ASSERT_EQ(send("CancelaItemFiscal").code, 0);
  ASSERT_EQ(pay("Dinheiro", "10.00").code, 0);
  ASSERT_EQ(close().code, 0);
  EXPECT_EQ(readMoney("TotalDiaCancelamentosICMS"), "5,00");
  ASSERT_EQ(send("CancelaCupom", {{"Operador", "", kText}}).code, 0);
  EXPECT_EQ(readInteger("COO"), "3");  // the cancellation is a document of its own
  EXPECT_EQ(readInteger("CCF"), "2");
  EXPECT_EQ(readInteger("CFC"), "1");
  EXPECT_EQ(readMoney("TotalDiaCancelamentosICMS"), "15,00");
  EXPECT_EQ(readMoney("TotalDiaVendaBruta"), "50,00");
  EXPECT_EQ(readMoney("TotalDiaVendaLiquida"), "31,50");
  EXPECT_EQ(readMoney("GT"), "50,00");  // the grand total never goes back
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "31,50");
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[0]"), "18,00");

  // The X reading changes nothing but COO and GNF.
  const nlohmann::json before = json();
  ASSERT_EQ(send("EmiteLeituraX", {{"Destino", "", kText}}).code, 0);
  const nlohmann::json afterX = json();
  EXPECT_EQ(afterX["totals"], before["totals"]);
  EXPECT_EQ(afterX["grandTotal"], before["grandTotal"]);
  EXPECT_EQ(afterX["counters"]["coo"], 4);
  EXPECT_EQ(afterX["counters"]["gnf"], 1);
  EXPECT_EQ(afterX["counters"]["crz"], 0);
  EXPECT_EQ(afterX["day"], before["day"]);

  // The Z reduction records the day and starts the next one from zero.
  ASSERT_EQ(send("EmiteReducaoZ").code, 0);
  EXPECT_EQ(readInteger("CRZ"), "1");
  EXPECT_EQ(readInteger("COO"), "5");
  EXPECT_EQ(readMoney("TotalDiaVendaBruta"), "0,00");
  EXPECT_EQ(readMoney("TotalDiaVendaLiquida"), "0,00");
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "0,00");
  EXPECT_EQ(readMoney("TotalDiaCancelamentosICMS"), "0,00");
  EXPECT_EQ(readMoney("GT"), "50,00");
  EXPECT_EQ(readInteger("COOInicioDia"), "0");
  EXPECT_EQ(readDate("DataAbertura"), "000000");
  EXPECT_EQ(readInteger("ContadorReinicioReducao[1]"), "1");
  const nlohmann::json memory = json()["fiscalMemory"];
  ASSERT_EQ(memory.size(), 1u);
  EXPECT_EQ(memory[0]["crz"], 1);
  EXPECT_EQ(memory[0]["coo"], 5);
  EXPECT_EQ(memory[0]["cooStartOfDay"], 1);
  EXPECT_EQ(memory[0]["grandTotal"], 5000);
  EXPECT_EQ(memory[0]["totals"]["grossSales"], 5000);
  EXPECT_EQ(memory[0]["totals"]["discountIcms"], 350);
  EXPECT_EQ(memory[0]["totals"]["cancelledIcms"], 1500);
  EXPECT_EQ(memory[0]["totals"]["cash"], 3150);
  EXPECT_EQ(memory[0]["movementDate"], (nlohmann::json{{"year", 2024}, {"month", 3}, {"day", 15}}));
}

TEST_F(DayTotals, ReceiptCancelledWhilePayingTakesBackItsSurchargeAndPayments) {
  ASSERT_EQ(send("DefineMeioPagamento", {{"NomeMeioPagamento", "Cartao", kText},
                                         {"PermiteVinculado", "Y", kInd}}).code, 0);
  openReceipt();
  ASSERT_EQ(sell("1", "Vinho", "0", "10.00", "1").code, 0);
  ASSERT_EQ(send("AcresceSubtotal", {{"ValorAcrescimo", "1.00", kMoney}}).code, 0);
  EXPECT_EQ(readMoney("TotalDiaAcrescimos"), "0,00");  // reaches the day at the first payment
  ASSERT_EQ(pay("Cartao", "5.00").code, 0);
  EXPECT_EQ(readMoney("TotalDiaAcrescimos"), "1,00");
  EXPECT_EQ(readMoney("GT"), "11,00");
  ASSERT_EQ(send("CancelaCupom", {{"Operador", "Ana", kText}}).code, 0);
  EXPECT_EQ(readMoney("TotalDiaVendaBruta"), "11,00");
  EXPECT_EQ(readMoney("TotalDiaCancelamentosICMS"), "11,00");
  EXPECT_EQ(readMoney("TotalDiaVendaLiquida"), "0,00");
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[0]"), "0,00");
  EXPECT_EQ(readMoney("TotalDiaMeioPagamento[0]"), "0,00");  // payments never counted
  EXPECT_EQ(readInteger("CFC"), "1");
  EXPECT_EQ(readInteger("COO"), "1");
}

TEST_F(DayTotals, AdjustmentRemainderGoesToTheLargestShare) {
  openReceipt();
  ASSERT_EQ(sell("1", "A", "0", "1.00", "1").code, 0);
  ASSERT_EQ(sell("2", "B", "1", "1.00", "1").code, 0);
  ASSERT_EQ(sell("3", "C", "2", "2.00", "1").code, 0);
  // 0,10 over 1,00 / 1,00 / 2,00 gives 0,02 / 0,02 / 0,05 plus one cent to code 2.
  ASSERT_EQ(send("AcresceSubtotal", {{"ValorAcrescimo", "-0.10", kMoney}}).code, 0);
  ASSERT_EQ(pay("Dinheiro", "3.90").code, 0);
  ASSERT_EQ(close().code, 0);
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[0]"), "0,98");
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[1]"), "0,98");
  EXPECT_EQ(readMoney("TotalDiaVendaAliquota[2]"), "1,94");
  EXPECT_EQ(readMoney("TotalDiaVendaLiquida"), "3,90");
}

}  // namespace
}  // namespace simtest

// The rules a real fiscal printer enforces, each shown by a sequence it refuses.
#include "sim_fixture.h"

namespace simtest {
namespace {

class DocumentRules : public SimTest {};

TEST_F(DocumentRules, FiscalReceiptRefusesItemsPaymentsAndClosingOutOfOrder) {
  // An item with no receipt open.
  Answer a = sell("1", "Cafe", "0", "3.50", "1.000");
  EXPECT_EQ(a.code, 22);
  EXPECT_EQ(a.name, "CupomFiscalNaoAberto");
  EXPECT_EQ(a.result, -22);
  // A payment or a closing with no document at all.
  EXPECT_EQ(pay("Dinheiro", "10.00").code, 21);
  EXPECT_EQ(close().code, 21);

  openReceipt();
  EXPECT_EQ(readInteger("COO"), "1");
  // A second document while the receipt is open.
  EXPECT_EQ(send("AbreGerencial", {{"CodGerencial", "0", kUInt}}).code, 20);
  // A payment before any item.
  a = pay("Dinheiro", "10.00");
  EXPECT_EQ(a.code, 23);
  EXPECT_EQ(a.name, "CupomSemItens");
  // A tax rate that is not programmed, and the service-tax rate sold as ICMS.
  EXPECT_EQ(sell("1", "Cafe", "9", "3.50", "1.000").code, 30);
  EXPECT_EQ(sell("1", "Cafe", "4", "3.50", "1.000").code, 30);
  // A zero quantity.
  EXPECT_EQ(sell("1", "Cafe", "0", "3.50", "0.000").code, 43);

  ASSERT_EQ(sell("1", "Cafe", "0", "3.50", "2.000").code, 0);
  ASSERT_EQ(sell("2", "Pao", "1", "1.25", "4.000").code, 0);  // total 12,00
  // A close before the payments cover the total, even after a partial payment.
  a = close();
  EXPECT_EQ(a.code, 24);
  EXPECT_EQ(a.name, "PagamentoInsuficiente");
  ASSERT_EQ(pay("dinheiro ", "5,00").code, 0);  // name ignores case and blanks
  EXPECT_EQ(readInteger("EstadoFiscal"), "4");
  EXPECT_EQ(close().code, 24);
  // Once paying, no more items and no subtotal adjustment.
  EXPECT_EQ(sell("3", "Suco", "0", "4.00", "1.000").code, 27);
  EXPECT_EQ(send("AcresceSubtotal", {{"ValorAcrescimo", "-1.00", kMoney}}).code, 27);
  // A method that is not programmed.
  EXPECT_EQ(pay("Cheque", "7.00").code, 32);
  ASSERT_EQ(pay("Dinheiro", "10.00").code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "8");
  EXPECT_EQ(pay("Dinheiro", "1.00").code, 44);  // already paid
  a = close("Obrigado", "Ana");
  EXPECT_EQ(a.code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "1");
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "12,00");  // 15,00 in, 3,00 change out
}

TEST_F(DocumentRules, OneSubtotalAdjustmentAndItemCancellationRules) {
  openReceipt();
  EXPECT_EQ(send("CancelaItemFiscal").code, 40);  // nothing to cancel yet
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1.000").code, 0);
  ASSERT_EQ(sell("2", "Bolo", "0", "5.00", "1.000").code, 0);
  EXPECT_EQ(send("CancelaItemFiscal", {{"NumItem", "3", kUInt}}).code, 40);
  ASSERT_EQ(send("CancelaItemFiscal", {{"NumItem", "1", kUInt}}).code, 0);
  EXPECT_EQ(send("CancelaItemFiscal", {{"NumItem", "1", kUInt}}).code, 41);
  // A discount as large as the subtotal, then the module's own form of a discount.
  EXPECT_EQ(send("AcresceSubtotal", {{"Cancelar", "", kInd},
                                     {"ValorAcrescimo", "-5.00", kMoney},
                                     {"ValorPercentual", "", kMoney}}).code, 43);
  ASSERT_EQ(send("AcresceSubtotal", {{"Cancelar", "", kInd},
                                     {"ValorAcrescimo", "-1.50", kMoney},
                                     {"ValorPercentual", "", kMoney}}).code, 0);
  EXPECT_EQ(send("AcresceSubtotal", {{"ValorAcrescimo", "2.00", kMoney}}).code, 42);
  // After the adjustment the receipt is in its payment phase.
  EXPECT_EQ(send("CancelaItemFiscal").code, 27);
  EXPECT_EQ(readMoney("SubtotalCupom"), "3,50");
  // Undoing the adjustment allows another one.
  ASSERT_EQ(send("AcresceSubtotal", {{"Cancelar", "Y", kInd}}).code, 0);
  ASSERT_EQ(send("AcresceSubtotal", {{"ValorPercentual", "10,00", kMoney}}).code, 0);
  EXPECT_EQ(readMoney("SubtotalCupom"), "5,50");
  ASSERT_EQ(pay("Dinheiro", "5.50").code, 0);
  ASSERT_EQ(close().code, 0);
  EXPECT_EQ(readMoney("TotalDiaAcrescimos"), "0,50");
  EXPECT_EQ(readMoney("TotalDiaDescontos"), "0,00");
}

TEST_F(DocumentRules, ZPendingBlocksSalesAndTheZReductionClosesTheDay) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1.000").code, 0);
  EXPECT_EQ(readDate("DataAbertura"), "150324");
  // Past midnight with the day open: a Z reduction is pending.
  ASSERT_EQ(ecfsim_set_clock(kPort, "2024-03-16 00:05:00"), 0);
  EXPECT_EQ(std::stoi(readInteger("Indicadores")) & 128, 128);
  Answer a = sell("2", "Bolo", "0", "5.00", "1.000");
  EXPECT_EQ(a.code, 25);
  EXPECT_EQ(a.name, "ReducaoZPendente");
  // The receipt in progress can still be paid and closed.
  ASSERT_EQ(pay("Dinheiro", "3.00").code, 0);
  ASSERT_EQ(close().code, 0);
  EXPECT_EQ(send("AbreCupomFiscal").code, 25);
  EXPECT_EQ(send("AbreGerencial").code, 25);

  ASSERT_EQ(send("EmiteReducaoZ").code, 0);
  EXPECT_EQ(readDate("DataAbertura"), "000000");
  EXPECT_EQ(readDate("DataUltimaReducaoZ"), "150324");
  // The reduction was for yesterday's movement: today opens a new day.
  openReceipt();
  EXPECT_EQ(readDate("DataAbertura"), "160324");
  ASSERT_EQ(send("CancelaCupom").code, 0);
  ASSERT_EQ(send("EmiteReducaoZ").code, 0);
  // Today's movement is reduced: the day stays closed until the next date.
  a = send("AbreCupomFiscal");
  EXPECT_EQ(a.code, 26);
  EXPECT_EQ(a.name, "DiaFechado");
  EXPECT_EQ(send("EmiteReducaoZ").code, 26);
  EXPECT_EQ(std::stoi(readInteger("Indicadores")) & (32 | 64 | 128), 32);
  ASSERT_EQ(ecfsim_move_clock(kPort, 24 * 3600), 0);
  EXPECT_EQ(send("AbreCupomFiscal").code, 0);
}

TEST_F(DocumentRules, NonFiscalItemsNeedAProgrammedTotalizerAndTheirDirectionDecidesPayment) {
  // A new printer has no non-fiscal totalizer at all.
  Answer a = send("EmiteItemNaoFiscal", {{"CodNaoFiscal", "00", kUInt},
                                         {"NomeNaoFiscal", "", kText},
                                         {"Valor", "50.00", kMoney}});
  EXPECT_EQ(a.code, 31);
  EXPECT_EQ(a.name, "TotalizadorNaoProgramado");
  EXPECT_EQ(readInteger("COO"), "0");  // nothing was opened by the refused item

  ASSERT_EQ(send("DefineNaoFiscal", {{"CodNaoFiscal", "00", kUInt},
                                     {"DescricaoNaoFiscal", "", kText},
                                     {"NomeNaoFiscal", "Suprimento", kText},
                                     {"TipoNaoFiscal", "t", kInd}}).code, 0);
  ASSERT_EQ(send("DefineNaoFiscal", {{"CodNaoFiscal", "01", kUInt},
                                     {"DescricaoNaoFiscal", "", kText},
                                     {"NomeNaoFiscal", "Sangria", kText},
                                     {"TipoNaoFiscal", "f", kInd}}).code, 0);
  // The withdrawal: the item alone opens the receipt, which closes without payment.
  ASSERT_EQ(send("EmiteItemNaoFiscal", {{"CodNaoFiscal", "01", kUInt},
                                        {"NomeNaoFiscal", "", kText},
                                        {"Valor", "20.00", kMoney}}).code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "16");
  EXPECT_EQ(pay("Dinheiro", "20.00").code, 27);  // money going out is not paid
  // Entries and exits do not mix in one receipt.
  EXPECT_EQ(send("EmiteItemNaoFiscal", {{"CodNaoFiscal", "00", kUInt},
                                        {"Valor", "5.00", kMoney}}).code, 27);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "-20,00");
  EXPECT_EQ(readMoney("TotalDiaNaoFiscal[1]"), "20,00");

  // The supply: an entry must be paid before the receipt closes; -2 is cash.
  ASSERT_EQ(send("AbreCupomNaoFiscal", {{"EnderecoConsumidor", "", kText}}).code, 0);
  EXPECT_EQ(pay("Dinheiro", "1.00").code, 23);
  ASSERT_EQ(send("EmiteItemNaoFiscal", {{"CodNaoFiscal", "00", kUInt},
                                        {"NomeNaoFiscal", "", kText},
                                        {"Valor", "150.50", kMoney}}).code, 0);
  EXPECT_EQ(send("EncerraDocumento").code, 24);
  ASSERT_EQ(send("PagaCupom", {{"CodMeioPagamento", "-2", kUInt},
                               {"NomeMeioPagamento", "", kText},
                               {"TextoAdicional", "", kText},
                               {"Valor", "150.50", kMoney}}).code, 0);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "130,50");
  EXPECT_EQ(readMoney("TotalDiaNaoFiscal[0]"), "150,50");
  EXPECT_EQ(readInteger("GNF"), "2");
}

TEST_F(DocumentRules, CommandsAndParametersThatDoNotFitAreRefusedWithTheirOwnErrors) {
  Answer a = send("ImprimeCheque");
  EXPECT_EQ(a.code, 1);
  EXPECT_EQ(a.name, "ComandoInexistente");
  EXPECT_NE(a.circumstance.find("ImprimeCheque"), std::string::npos);
  a = send("LeInteiro");
  EXPECT_EQ(a.code, 2);
  EXPECT_EQ(a.name, "ParametroAusente");
  EXPECT_NE(a.circumstance.find("NomeInteiro"), std::string::npos);
  // Values that do not fit their type codes.
  EXPECT_EQ(send("LeAliquota", {{"CodAliquotaProgramavel", "-1", kUInt}}).code, 3);
  EXPECT_EQ(send("LeAliquota", {{"CodAliquotaProgramavel", "1x", kUInt}}).code, 3);
  EXPECT_EQ(send("AbreGaveta", {{"TempoAcionamentoGaveta", "200", 1}}).code, 4);
  EXPECT_EQ(send("EmiteLeituraFitaDetalhe", {{"DataInicial", "31/02/24", kDate},
                                             {"DataFinal", "01/03/24", kDate}}).code, 3);
  openReceipt();
  EXPECT_EQ(sell("1", "Cafe", "0", "3,5,0", "1").code, 3);
  EXPECT_EQ(sell("1", "Cafe", "0", "3.5", "1.0001").code, 3);
  // A number sent as a text is refused: the type code is part of the command.
  EXPECT_EQ(send("VendaDeItem", {{"CodAliquota", "0", kText}}).code, 4);
  // Names ignore case, parameters come in any order, the last of a repeated name wins.
  a = send("vendadeitem", {{"quantidade", "2", kMoney},
                           {"UNIDADE", "KG", kText},
                           {"NomeProduto", "Queijo", kText},
                           {"CodProduto", "77", kText},
                           {"PrecoUnitario", "9.99", kMoney},
                           {"PrecoUnitario", "10,00", kMoney},
                           {"CODALIQUOTA", "2", kUInt}});
  EXPECT_EQ(a.code, 0) << a.circumstance;
  EXPECT_EQ(readMoney("SubtotalCupom"), "20,00");
  // A refusal is followed by a clean error state on the next accepted command.
  EXPECT_EQ(dll().ObtemCodErro(channel_), 0);
}

TEST_F(DocumentRules, CancellationOfTheReceiptInProgressOrOfTheLastOneOnly) {
  EXPECT_EQ(send("CancelaCupom").code, 50);  // nothing to cancel
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1.000").code, 0);
  ASSERT_EQ(send("CancelaCupom", {{"Operador", "", kText}}).code, 0);
  EXPECT_EQ(send("CancelaCupom").code, 50);  // already cancelled

  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1.000").code, 0);
  ASSERT_EQ(pay("Dinheiro", "3.00").code, 0);
  ASSERT_EQ(close().code, 0);
  ASSERT_EQ(send("AbreGerencial", {{"CodGerencial", "0", kUInt}}).code, 0);
  EXPECT_EQ(send("CancelaCupom").code, 50);  // a report cannot be cancelled
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  // The receipt is no longer the last document.
  EXPECT_EQ(send("CancelaCupom").code, 50);
}

TEST_F(DocumentRules, LinkedVoucherOnlyForThePaidReceiptAndAMethodThatAllowsIt) {
  ASSERT_EQ(send("DefineMeioPagamento", {{"CodMeioPagamentoProgram", "0", kUInt},
                                         {"DescricaoMeioPagamento", "", kText},
                                         {"NomeMeioPagamento", "Cartao", kText},
                                         {"PermiteVinculado", "Y", kInd}}).code, 0);
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "30.00", "1.000").code, 0);
  ASSERT_EQ(pay("Cartao", "20.00").code, 0);
  ASSERT_EQ(pay("Dinheiro", "10.00").code, 0);
  ASSERT_EQ(close().code, 0);
  auto voucher = [&](const std::string& method, const std::string& value, const std::string& coo) {
    return send("AbreCreditoDebito", {{"NomeMeioPagamento", method, kText},
                                      {"Valor", value, kMoney},
                                      {"COO", coo, kULong},
                                      {"NumItem", "1", kUInt},
                                      {"NumParcelas", "1", kUInt}});
  };
  EXPECT_EQ(voucher("Cartao", "20.00", "7").code, 51);     // not that receipt
  EXPECT_EQ(voucher("Dinheiro", "10.00", "1").code, 51);   // cash allows no voucher
  EXPECT_EQ(voucher("Cartao", "20.01", "1").code, 51);     // more than was paid
  ASSERT_EQ(voucher("Cartao", "20.00", "1").code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "64");
  ASSERT_EQ(send("ImprimeTexto", {{"TextoLivre", "VIA DO CLIENTE\nAUT 123\n", kText}}).code, 0);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  EXPECT_EQ(readInteger("CDC"), "1");
  EXPECT_EQ(voucher("Cartao", "1.00", "1").code, 51);  // the payment is used up
  // Free text goes only into a report or a voucher.
  EXPECT_EQ(send("ImprimeTexto", {{"TextoLivre", "x", kText}}).code, 21);
}

TEST_F(DocumentRules, LinkedVoucherForAnyPaidReceiptOfTheDayUntilItsCancellationOrTheZ) {
  ASSERT_EQ(send("DefineMeioPagamento", {{"NomeMeioPagamento", "Cartao", kText},
                                         {"PermiteVinculado", "Y", kInd}}).code, 0);
  auto cardSale = [&](const std::string& card, const std::string& cash) {
    openReceipt();
    ASSERT_EQ(sell("1", "Cafe", "0", "30.00", "1.000").code, 0);
    if (!card.empty()) {
      ASSERT_EQ(pay("Cartao", card).code, 0);
    }
    ASSERT_EQ(pay("Dinheiro", cash).code, 0);
    ASSERT_EQ(close().code, 0);
  };
  auto voucher = [&](const std::string& value, const std::string& coo) {
    return send("AbreCreditoDebito", {{"NomeMeioPagamento", "Cartao", kText},
                                      {"Valor", value, kMoney},
                                      {"COO", coo, kULong},
                                      {"NumItem", "1", kUInt},
                                      {"NumParcelas", "1", kUInt}});
  };
  cardSale("25.00", "5.00");  // COO 1
  cardSale("", "30.00");      // COO 2, cash only
  // The card receipt is no longer the last document, and still takes its voucher.
  ASSERT_EQ(voucher("25.00", "1").code, 0);  // COO 3
  ASSERT_EQ(send("ImprimeTexto", {{"TextoLivre", "VIA DO CLIENTE\n", kText}}).code, 0);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  EXPECT_EQ(readInteger("CCD"), "1");
  EXPECT_EQ(readInteger("CDC"), "1");
  EXPECT_EQ(readInteger("GNF"), "1");
  const std::string slip = tape().substr(tape().rfind(std::string(48, '=')));
  EXPECT_NE(slip.find("15/03/2024 10:00:00        GNF:000001 COO:000003\n"
                      "         COMPROVANTE CRÉDITO OU DÉBITO\n"
                      "                   CCD:000001\n"
                      "COO do cupom vinculado: 000001\n"
                      "Meio de pagamento: Cartao\n"
                      "VALOR R$                                   25,00\n"
                      "Parcelas: 1\n"
                      "------------------------------------------------\n"
                      "VIA DO CLIENTE\n"),
            std::string::npos)
      << slip;
  Answer a = voucher("5.00", "2");
  EXPECT_EQ(a.code, 51);  // paid in cash only
  EXPECT_EQ(a.circumstance, "O cupom 000002 não tem esse pagamento em Cartao.");

  // A cancelled receipt takes no voucher.
  cardSale("29.99", "0.01");  // COO 4
  ASSERT_EQ(send("CancelaCupom").code, 0);
  a = voucher("10.00", "4");
  EXPECT_EQ(a.code, 51);
  EXPECT_EQ(a.circumstance, "O COO 000004 não é um cupom fiscal pago do dia.");

  // The Z reduction ends the day and its receipts' vouchers.
  cardSale("29.99", "0.01");  // COO 6
  ASSERT_EQ(send("EmiteReducaoZ").code, 0);
  ASSERT_EQ(ecfsim_move_clock(kPort, 24 * 3600), 0);
  a = voucher("10.00", "6");
  EXPECT_EQ(a.code, 51);
  EXPECT_EQ(a.circumstance, "O COO 000006 não é um cupom fiscal pago do dia.");
}

TEST_F(DocumentRules, ThePaperIsCutBetweenDocumentsOrInsideAManagementReport) {
  const std::vector<P> cut{{"TipoCorte", "1", kUInt}};
  ASSERT_EQ(send("AbreGerencial").code, 0);
  EXPECT_EQ(send("CortaPapel", cut).code, 0);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  EXPECT_EQ(send("CortaPapel", cut).code, 0);
  openReceipt();
  EXPECT_EQ(send("CortaPapel", cut).code, 20);
}

TEST_F(DocumentRules, TablesRefuseDuplicatesUsedCodesAndAFullTable) {
  auto defineMethod = [&](const std::string& code, const std::string& name) {
    return send("DefineMeioPagamento", {{"CodMeioPagamentoProgram", code, kUInt},
                                        {"DescricaoMeioPagamento", "", kText},
                                        {"NomeMeioPagamento", name, kText},
                                        {"PermiteVinculado", "Y", kInd}});
  };
  // An empty code means the next free one.
  Answer a = defineMethod("", "Cartao");
  ASSERT_EQ(a.code, 0);
  EXPECT_EQ(a.returned, "CodMeioPagamentoProgram=0");
  EXPECT_EQ(defineMethod("", "CARTAO").code, 34);
  EXPECT_EQ(defineMethod("", "dinheiro").code, 34);
  EXPECT_EQ(defineMethod("0", "Cheque").code, 35);
  EXPECT_EQ(defineMethod("-2", "Cheque").code, 35);
  EXPECT_EQ(defineMethod("", "Nome de meio longo demais").code, 3);
  for (int i = 1; i < 15; ++i) ASSERT_EQ(defineMethod("", "M" + std::to_string(i)).code, 0);
  EXPECT_EQ(defineMethod("", "Outro").code, 33);
  EXPECT_EQ(defineMethod("15", "Outro").code, 33);

  for (int i = 0; i < 15; ++i) {
    ASSERT_EQ(send("DefineNaoFiscal", {{"CodNaoFiscal", std::to_string(i), kUInt},
                                       {"NomeNaoFiscal", "T" + std::to_string(i), kText},
                                       {"TipoNaoFiscal", "t", kInd}}).code, 0);
  }
  EXPECT_EQ(send("DefineNaoFiscal", {{"CodNaoFiscal", "15", kUInt},
                                     {"NomeNaoFiscal", "Relatorios", kText},
                                     {"TipoNaoFiscal", "t", kInd}}).code, 33);
  // Programming waits for the open document to end.
  openReceipt();
  EXPECT_EQ(defineMethod("", "Vale").code, 20);
}

}  // namespace
}  // namespace simtest

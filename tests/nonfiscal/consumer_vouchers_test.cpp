// Consumers' vouchers: the debit sale, the credit purchase and its cancellation, laid
// out character for character, and the non-fiscal receipts that register the money.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "nonfiscal/voucher_fixture.h"

namespace ecftest {
namespace {

using ecf::FieldDef;
using ecf::FieldType;
using ecf::Variant;

const std::string kRule(48, '-');
const std::string kSpaces(48, ' ');
const std::string kConsumer = "Conceição Araújo";
const std::string kFamily = "Família Araújo";
const std::string kMealCard = "Vale Alimentação";  // 16 characters, 18 bytes

struct Product {
  std::string code;
  std::string name;
  double quantity;
  double price;
};

Variant productPacket(const std::vector<Product>& products) {
  std::vector<std::vector<Variant>> rows;
  for (const Product& p : products) {
    rows.push_back({Variant(p.code), Variant(p.name), Variant(p.quantity), Variant(p.price)});
  }
  return Variant(ecf::DataPacket({FieldDef{"CDARVPROD", FieldType::Text, 20},
                                  FieldDef{"NMPRODUTO", FieldType::Text, 60},
                                  FieldDef{"QTPRODCOMVEN", FieldType::Real, 0},
                                  FieldDef{"VRPRECCOMVEN", FieldType::Real, 0}},
                                 std::move(rows)));
}

ecf::Dataset paymentRows(const std::vector<std::pair<double, std::string>>& payments) {
  std::vector<std::vector<Variant>> rows;
  for (const auto& [amount, method] : payments) rows.push_back({Variant(amount), Variant(method)});
  ecf::Dataset dataset("payments");
  dataset.setData(ecf::DataPacket(
      {FieldDef{"VRMOVIVEND", FieldType::Real, 0}, FieldDef{"NMTIPORECE", FieldType::Text, 40}},
      std::move(rows)));
  return dataset;
}

class ConsumerVoucherTest : public VoucherTest {
 protected:
  void SetUp() override {
    VoucherTest::SetUp();
    printer().configure({{"paymentMethods",
                          {{{"code", 0}, {"name", kCard}, {"allowsLinked", true}},
                           {{"code", 1}, {"name", kMealCard}}}}});
    forgetWhatHappened();
  }

  bool debitSale(const std::vector<Product>& products, double total,
                 const std::string& balanceMode = "1", double subsidy = 2.5,
                 const std::string& password = "47") {
    return Comp_DebitoCons("ROSA", productPacket(products), total, "x", "20231587", kConsumer,
                           "Associação dos Moradores do Jardim Botânico Norte", "Turma 5º ano B",
                           password, 100.0, subsidy, 9.99, balanceMode, "x", "x", "x", "x",
                           Variant());
  }

  bool creditPurchase(ecf::Dataset& payments) {
    std::string unused7 = "fica", unused8 = "igual";
    const bool result = Compr_CredPessoal(
        "1", "2", "3", "4", "5", "AZUL", unused7, unused8, payments, 40.0, kConsumer, "000123",
        "13", "14", "15", "16", "17", "18", "19", "20", "21", "22", "23", "24", true, kFamily,
        "27");
    EXPECT_EQ(unused7, "fica");
    EXPECT_EQ(unused8, "igual");
    return result;
  }

  bool cancellation(const std::string& totalizer, double amount) {
    std::string unused6;
    return Cancela_Cred_Pessoal(totalizer, "x", "texto 3", "texto 4", "LILAS", unused6, "000123",
                                "Escola Estrela do Saber", kConsumer, "x", "Dinheiro", amount,
                                40.0, kFamily);
  }

  long long creditTotal(const std::string& code) {
    return printer().state()["totals"]["nonFiscal"][std::stoi(code)].get<long long>();
  }
};

const std::vector<Product> kProducts = {{"7891000100103", "Pão de queijo recheado", 2, 4.5},
                                        {"42", "Açaí", 1, 12.9}};

TEST_F(ConsumerVoucherTest, DebitSaleIsLaidOutCharacterForCharacter) {
  EXPECT_TRUE(debitSale(kProducts, 21.9));

  EXPECT_EQ(sentNames(), (std::vector<std::string>{"AbreGerencial", "ImprimeTexto", "ImprimeTexto",
                                                   "ImprimeTexto", "ImprimeTexto",
                                                   "EncerraDocumento"}));
  EXPECT_EQ(printedTexts(),
            (std::vector<std::string>{
                "\n"
                "\n"
                "           Venda - Debito Consumidor            \n" +
                    kRule + "\n"
                    "Cliente: Associação dos Moradores do Jardim Botâ\n"
                    "         Turma 5º ano B\n" +
                    kRule + "\n"
                    "\n"
                    "Matricula: 20231587\n"
                    "Consumidor..: Conceição Araújo\n" +
                    kRule + "\n"
                    "               Produtos da Venda                \n" +
                    kSpaces + "\n"
                    "CODIGO     NOME          QTDE   VR.UNIT. VR.TOT.\n",
                "7891000100 Pão de queij   2,00      4,50\n",
                "42 Açaí   1,00     12,90\n",
                kSpaces + "\n"
                "Total Geral                          21,90\n" +
                    kRule + "\n"
                    "SENHA PEDIDO:  47\r\n" +
                    kSpaces + "\n" + kSpaces + "\n" +
                    "Saldo Final : R$ 80,60"
                    "Preço subsidiado: R$ 2,50"}));
  // The report opens in no colour scheme; the rest is the caller's.
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(openDocument(), "none");
}

TEST_F(ConsumerVoucherTest, DebitSaleAmountsFollowTheHostsDecimalSeparator) {
  useDecimalPoint();
  EXPECT_TRUE(debitSale({{"1", "Suco", 1234.5, 1.25}}, 1543.13, "1", 0.0, ""));
  const std::vector<std::string> texts = printedTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1], "1 Suco   1234.50      1.25\n");
  EXPECT_EQ(texts[2], kSpaces + "\n"
                      "Total Geral                        1543.13\n" +
                          kRule + "\n" + kSpaces + "\n" + kSpaces + "\n" +
                          "Saldo Final : -R$ 1,443.13");
}

TEST_F(ConsumerVoucherTest, DebitSaleLinesThatAreLeftOut) {
  // A total that rounds to nothing prints nothing and is not an error.
  EXPECT_TRUE(debitSale(kProducts, 0.004));
  EXPECT_TRUE(printer().commands().empty());

  // Balance mode "2" and no subsidy: the footer ends with its blank lines.
  EXPECT_TRUE(debitSale(kProducts, 21.9, "2", 0.0, ""));
  const std::vector<std::string> texts = printedTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[3], kSpaces + "\n"
                      "Total Geral                          21,90\n" +
                          kRule + "\n" + kSpaces + "\n" + kSpaces + "\n");
}

TEST_F(ConsumerVoucherTest, DebitSaleStopsAtTheFirstRefusalWithNoClose) {
  const std::vector<std::vector<std::string>> refusedAt = {
      {"AbreGerencial"},
      {"AbreGerencial", "ImprimeTexto"},                  // the heading
      {"AbreGerencial", "ImprimeTexto", "ImprimeTexto"},  // the first product
      {"AbreGerencial", "ImprimeTexto", "ImprimeTexto", "ImprimeTexto", "ImprimeTexto"}};
  for (const std::vector<std::string>& sent : refusedAt) {
    SCOPED_TRACE(sent.size());
    if (openDocument() != "none") {
      ASSERT_TRUE(FechRelatGerenc("", true, false));
    }
    forgetWhatHappened();
    printer().refuseNth(static_cast<int>(sent.size()));
    EXPECT_FALSE(debitSale(kProducts, 21.9));
    EXPECT_EQ(sentNames(), sent);
    EXPECT_EQ(notices(), std::vector<std::string>{"99: FalhaSimulada Falha simulada."});
  }
}

TEST_F(ConsumerVoucherTest, CreditPurchasePrintsTwoCopiesAndOneReceiptPerPayment) {
  ecf::Dataset payments =
      paymentRows({{10.0, "Dinheiro"}, {20.0, "Vale Alimentação Extra"}, {5.0, kCard}});

  EXPECT_TRUE(creditPurchase(payments));

  const std::vector<std::string> receipt{"AbreCupomNaoFiscal", "EmiteItemNaoFiscal", "PagaCupom",
                                         "EncerraDocumento"};
  std::vector<std::string> expected{"AbreGerencial", "ImprimeTexto", "CortaPapel", "ImprimeTexto",
                                    "EncerraDocumento"};
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), receipt.begin(), receipt.end());
  EXPECT_EQ(sentNames(), expected);
  const std::string copy =
      "\n"
      "               COMPRA DE CREDITO                \n" +
      kRule + "\n" + "\n" + "Nr.Deposito: 000123\n" + kSpaces + "\n" +
      "Consumidor..: Conceição Araújo\n"
      "Familia.....: Família Araújo\n"
      "Valor ......: R$ 35,00\n"
      "Saldo Final : R$ 75,00\n";
  EXPECT_EQ(printedTexts(),
            (std::vector<std::string>{
                copy + kSpaces + "\n" + kSpaces + "\n" + kSpaces + "\n" + kSpaces + "\n", copy}));

  const std::vector<RecordedCommand> items = printer().commandsNamed("EmiteItemNaoFiscal");
  const std::vector<RecordedCommand> paid = printer().commandsNamed("PagaCupom");
  ASSERT_EQ(items.size(), 3u);
  ASSERT_EQ(paid.size(), 3u);
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"10,00", "Dinheiro"}, {"20,00", kMealCard}, {"5,00", kCard}};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(items[i].value("CodNaoFiscal"), IdTotCompCred);
    EXPECT_EQ(items[i].value("Valor"), rows[i].first);
    EXPECT_EQ(paid[i].value("NomeMeioPagamento"), rows[i].second);
    EXPECT_EQ(paid[i].value("Valor"), rows[i].first);
  }
  EXPECT_EQ(creditTotal(IdTotCompCred), 3500);
  EXPECT_EQ(op().texts(), std::vector<std::string>{});
}

TEST_F(ConsumerVoucherTest, CreditPurchaseIsRegisteredOnlyWhenEveryReceiptIsAccepted) {
  ecf::Dataset payments = paymentRows({{10.0, "Dinheiro"}, {20.0, "Dinheiro"}, {5.0, "Dinheiro"}});
  printer().refuseNth(2, "AbreCupomNaoFiscal");

  EXPECT_FALSE(creditPurchase(payments));

  // The refused payment does not stop the next one.
  const std::vector<RecordedCommand> items = printer().commandsNamed("EmiteItemNaoFiscal");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].value("Valor"), "5,00");
  EXPECT_EQ(printer().commandsNamed("AbreCupomNaoFiscal").size(), 3u);
  EXPECT_EQ(creditTotal(IdTotCompCred), 1500);
}

TEST_F(ConsumerVoucherTest, CreditPurchaseWithNoPaymentOrNoReportRegistersNothing) {
  ecf::Dataset none = paymentRows({});
  EXPECT_FALSE(creditPurchase(none));
  EXPECT_EQ(sentNames(), (std::vector<std::string>{"AbreGerencial", "ImprimeTexto", "CortaPapel",
                                                   "ImprimeTexto", "EncerraDocumento"}));
  EXPECT_NE(printedTexts()[1].find("Valor ......: R$ 0,00\nSaldo Final : R$ 40,00\n"),
            std::string::npos);

  // A report that does not open still gets its close, and no receipt is sent.
  forgetWhatHappened();
  ecf::Dataset payments = paymentRows({{10.0, "Dinheiro"}});
  printer().refuseNext("AbreGerencial");
  EXPECT_FALSE(creditPurchase(payments));
  EXPECT_EQ(sentNames(), (std::vector<std::string>{"AbreGerencial", "EncerraDocumento"}));
}

TEST_F(ConsumerVoucherTest, CreditPurchaseAmountsUnderADecimalPoint) {
  useDecimalPoint();
  ecf::Dataset payments = paymentRows({{1234.5, "Dinheiro"}, {0.3, "Dinheiro"}});
  EXPECT_TRUE(creditPurchase(payments));
  EXPECT_NE(printedTexts()[0].find("Valor ......: R$ 1,234.80\nSaldo Final : R$ 1,274.80\n"),
            std::string::npos);
  const std::vector<RecordedCommand> items = printer().commandsNamed("EmiteItemNaoFiscal");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].value("Valor"), "1234.50");
  EXPECT_EQ(items[1].value("Valor"), "0.30");
  EXPECT_EQ(creditTotal(IdTotCompCred), 123480);
}

TEST_F(ConsumerVoucherTest, CreditCancellationPrintsItsVoucherAndRegistersTheRefund) {
  EXPECT_TRUE(cancellation(IdTotCancCred, 35.0));

  EXPECT_EQ(sentNames(),
            (std::vector<std::string>{"AbreGerencial", "ImprimeTexto", "EncerraDocumento",
                                      "AbreCupomNaoFiscal", "EmiteItemNaoFiscal", "PagaCupom",
                                      "EncerraDocumento"}));
  EXPECT_EQ(printedTexts(),
            std::vector<std::string>{"\n"
                                     "       CANCELAMENTO DE COMPRA DE CREDITO        \n" +
                                     kRule + "\n" + "\n" +
                                     "Cancelamento do depósito: 000123\n" + kSpaces + "\n" +
                                     "Cliente: Escola Estrela do Saber\n"
                                     "Consumidor: Conceição Araújo\n"
                                     "Familia.....: Família Araújo\n"
                                     "Valor ......: R$ 35,00\n"
                                     "Saldo Final : R$ 40,00\n"});
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("CodNaoFiscal"), IdTotCancCred);
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("Valor"), "35,00");
  EXPECT_EQ(onlyCommand("PagaCupom").value("NomeMeioPagamento"), "Dinheiro");
  EXPECT_EQ(creditTotal(IdTotCancCred), 3500);

  useDecimalPoint();
  forgetWhatHappened();
  EXPECT_TRUE(cancellation(IdTotCancCred, 7.5));
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("Valor"), "7.50");
  EXPECT_NE(printedTexts()[0].find("Valor ......: R$ 7.50\n"), std::string::npos);
}

TEST_F(ConsumerVoucherTest, CreditCancellationWithNoReportOrABadAmountRegistersNothing) {
  printer().refuseNext("AbreGerencial");
  EXPECT_FALSE(cancellation(IdTotCancCred, 35.0));
  EXPECT_EQ(sentNames(), std::vector<std::string>{"AbreGerencial"});

  // An amount that is not a number is refused before anything is sent.
  forgetWhatHappened();
  EXPECT_FALSE(cancellation(IdTotCancCred, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(notices().size(), 1u);
  EXPECT_NE(notices()[0].find("não é um valor válido"), std::string::npos);
}

TEST_F(ConsumerVoucherTest, ACreditReceiptAmountLosesItsThirteenthCharacter) {
  // 13 characters: the printer gets 12 and refuses an amount that large anyway.
  EXPECT_FALSE(cancellation(IdTotCancCred, 1234567890.12));
  EXPECT_EQ(onlyCommand("EmiteItemNaoFiscal").value("Valor"), "1234567890,1");
  EXPECT_NE(printedTexts()[0].find("Valor ......: R$ 1.234.567.890,12\n"), std::string::npos);
}

}  // namespace
}  // namespace ecftest

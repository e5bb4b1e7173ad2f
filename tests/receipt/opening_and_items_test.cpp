// Opening a receipt, selling items and cancelling them: what reaches the printer, the
// debug lines, and the retry questions after a refusal.
#include "base/utf8.h"
#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

using OpeningTest = ReceiptTest;
using ItemTest = ReceiptTest;

TEST_F(OpeningTest, WithoutCpfOnlyTheEmptyNameAndAddressAreSentAndTheHostsNeverAre) {
  ecf::Variant bag = openingBag("");
  ASSERT_TRUE(AbreCupom(bag));
  const RecordedCommand opening = printer().commandsNamed("AbreCupomFiscal").at(0);
  EXPECT_EQ((std::vector<SentParam>{{"EnderecoConsumidor", "", PARAMETRO_STRING},
                                    {"NomeConsumidor", "", PARAMETRO_STRING}}),
            sentParams(opening));
  EXPECT_EQ(std::vector<std::string>{"Comando Executado: AbreCupomFiscal - "}, newDebugLines());
  EXPECT_EQ("fiscal", state()["open"]["kind"]);
  EXPECT_EQ("", state()["open"]["consumerName"]);
}

TEST_F(OpeningTest, ACpfIsSentBetweenTheEmptyFieldsAndLogged) {
  ecf::Variant bag = openingBag("123.456.789-09");
  ASSERT_TRUE(AbreCupom(bag));
  EXPECT_EQ((std::vector<SentParam>{{"EnderecoConsumidor", "", PARAMETRO_STRING},
                                    {"IdConsumidor", "123.456.789-09", PARAMETRO_STRING},
                                    {"NomeConsumidor", "", PARAMETRO_STRING}}),
            sentParams(printer().commandsNamed("AbreCupomFiscal").at(0)));
  EXPECT_EQ(std::vector<std::string>{"Comando Executado: AbreCupomFiscal - 123.456.789-09"},
            newDebugLines());
  EXPECT_EQ("123.456.789-09", state()["open"]["consumerId"]);
}

TEST_F(OpeningTest, ARefusalIsRetriedOnlyInTefRetryMode) {
  struct Case {
    std::string tefMode;
    bool usesCards;
  };
  // "T" without cards, lower-case "s" with cards, and no TEF at all: no question.
  for (const Case& c : {Case{"T", false}, Case{"s", true}, Case{"N", true}}) {
    forget();
    printer().refuseNext("AbreCupomFiscal");
    ecf::Variant bag = openingBag("", c.tefMode, c.usesCards);
    EXPECT_FALSE(AbreCupom(bag)) << c.tefMode;
    EXPECT_EQ(1u, printer().commandsNamed("AbreCupomFiscal").size()) << c.tefMode;
    EXPECT_TRUE(questions().empty()) << c.tefMode;
    EXPECT_EQ(std::vector<std::string>{kRefusalNotice}, notices()) << c.tefMode;
    EXPECT_EQ("none", state()["open"]["kind"]) << c.tefMode;
  }
}

TEST_F(OpeningTest, TwoYesAnswersThenSuccessSendTheOpeningThreeTimes) {
  printer().refuseNth(1, "AbreCupomFiscal");
  printer().refuseNth(2, "AbreCupomFiscal");
  answerAfterRefusals({true, true});
  ecf::Variant bag = openingBag("111.222.333-44", "T", true);
  ASSERT_TRUE(AbreCupom(bag));
  const std::vector<RecordedCommand> sent = printer().commandsNamed("AbreCupomFiscal");
  ASSERT_EQ(3u, sent.size());
  for (const RecordedCommand& opening : sent) {
    EXPECT_EQ(sentParams(sent[0]), sentParams(opening));  // rebuilt whole each time
  }
  EXPECT_EQ((std::vector<std::string>{kNotResponding, kNotResponding}), questions());
  for (const auto& message : op().messages()) EXPECT_EQ(kScheme, message.scheme);
  EXPECT_EQ("fiscal", state()["open"]["kind"]);
}

TEST_F(OpeningTest, ANoAnswerEndsTheOpeningWithFalse) {
  printer().refuseNext("AbreCupomFiscal");
  answerAfterRefusals({false});
  ecf::Variant bag = openingBag("", "S", true);
  EXPECT_FALSE(AbreCupom(bag));
  EXPECT_EQ(1u, printer().commandsNamed("AbreCupomFiscal").size());
  EXPECT_EQ(std::vector<std::string>{kNotResponding}, questions());
  EXPECT_EQ("none", state()["open"]["kind"]);
}

TEST_F(OpeningTest, ABagWithoutTheCpfFieldIsRefusedWithANoticeAndNothingIsSent) {
  ecf::Variant bag =
      ecf::makeBag({{"ESQUEMACOR", kScheme}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
  EXPECT_FALSE(AbreCupom(bag));
  EXPECT_TRUE(printer().commands().empty());
  ASSERT_EQ(1u, notices().size());
  EXPECT_NE(std::string::npos, notices()[0].find("INCLUICPF"));
}

TEST_F(ItemTest, QuantitiesAreRoundedAndPricesCutToCentsUnderBothSeparators) {
  struct Sent {
    std::string quantity;
    std::string price;
  };
  const std::vector<std::pair<double, double>> items = {
      {2, 10.999}, {0.125, 0.29}, {1.23456, 1.15}};
  const std::vector<Sent> withComma = {{"2,000", "10,990"}, {"0,125", "0,290"}, {"1,235", "1,150"}};
  const std::vector<Sent> withPoint = {{"2.000", "10.990"}, {"0.125", "0.290"}, {"1.235", "1.150"}};
  // 2 x 10,99 = 21,98; 0,125 x 0,29 = 0,03 (cut); 1,235 x 1,15 = 1,42 (cut)
  const std::vector<long long> totals = {2198, 3, 142};

  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  std::size_t first = 0;
  for (const bool point : {false, true}) {
    if (point) useDecimalPoint();
    markLog();
    for (const auto& [quantity, price] : items) {
      ecf::Variant item = itemBag("7891", "Pão de queijo", quantity, price);
      ASSERT_TRUE(VendaItem(item));
    }
    const std::vector<Sent>& expected = point ? withPoint : withComma;
    const std::vector<RecordedCommand> sent = printer().commandsNamed("VendaDeItem");
    ASSERT_EQ(first + 3, sent.size());
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(expected[i].quantity, sent[first + i].value("Quantidade")) << point;
      EXPECT_EQ(expected[i].price, sent[first + i].value("PrecoUnitario")) << point;
      EXPECT_EQ(totals[i], state()["open"]["items"][first + i]["total"].get<long long>()) << point;
    }
    EXPECT_EQ("Comando Executado: VendaDeItem - 00 - 7891 - Pão de queijo - " + expected[0].price +
                  " - " + expected[0].quantity + " - UN",
              newDebugLines().at(0));
    first += 3;
  }
}

TEST_F(ItemTest, TheItemCommandCarriesItsEightParametersInOrderAndNoDiscount) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  ecf::Variant item = itemBag("7891", "Café coado", "3,5", "4,20", "01");
  ecf::setBagField(item, "DESCONT", 1.0);
  ASSERT_TRUE(VendaItem(item));
  EXPECT_EQ((std::vector<SentParam>{{"AliquotaICMS", "Y", PARAMETRO_INDICADOR},
                                    {"CodAliquota", "01", PARAMETRO_UINT},
                                    {"CodProduto", "7891", PARAMETRO_STRING},
                                    {"NomeDepartamento", "", PARAMETRO_STRING},
                                    {"NomeProduto", "Café coado", PARAMETRO_STRING},
                                    {"PrecoUnitario", "4,200", PARAMETRO_MONEY},
                                    {"Quantidade", "3,500", PARAMETRO_MONEY},
                                    {"Unidade", "UN", PARAMETRO_STRING}}),
            sentParams(printer().commandsNamed("VendaDeItem").at(0)));
  EXPECT_EQ(1470, state()["open"]["items"][0]["total"].get<long long>());
}

TEST_F(ItemTest, ARefusedItemAsksWhichItemFailedOutsideTefModeAndIsResentOnYes) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  forget();
  printer().refuseNext("VendaDeItem");
  answerAfterRefusals({true});
  const std::string name = "Pão de queijo mineiro recheado";
  ecf::Variant item = itemBag("7891", name, 1.0, 6.5);
  ASSERT_TRUE(VendaItem(item));
  EXPECT_EQ(std::vector<std::string>{"Erro ao imprimir o item: \r\n7891 - Pão de queijo mineir"
                                     "\r\nDeseja imprimir novamente?"},
            questions());
  const std::vector<RecordedCommand> sent = printer().commandsNamed("VendaDeItem");
  ASSERT_EQ(2u, sent.size());
  EXPECT_EQ(name, sent[1].value("NomeProduto"));  // whole on the printer
  EXPECT_EQ(sentParams(sent[0]), sentParams(sent[1]));
  EXPECT_EQ(1u, state()["open"]["items"].size());
  EXPECT_TRUE(logContains("Comando Executado: VendaDeItem - 00 - 7891 - " + name +
                          " - 6,500 - 1,000 - UN"));
}

TEST_F(ItemTest, InTefRetryModeTheQuestionIsThePrinterOneAndNoEndsWithFalse) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  forget();
  printer().refuseNext("VendaDeItem");
  answerAfterRefusals({false});
  ecf::Variant item = itemBag("7891", "Pão", 1.0, 1.0, "00", "T", true);
  EXPECT_FALSE(VendaItem(item));
  EXPECT_EQ(std::vector<std::string>{kNotResponding}, questions());
  EXPECT_EQ(1u, printer().commandsNamed("VendaDeItem").size());
  EXPECT_EQ(0u, state()["open"]["items"].size());
}

TEST_F(ItemTest, ANonNumericQuantityIsRefusedBeforeAnythingIsSent) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  forget();
  ecf::Variant item = itemBag("7891", "Pão", "dois", 1.0);
  EXPECT_FALSE(VendaItem(item));
  EXPECT_TRUE(printer().commandsNamed("VendaDeItem").empty());
  EXPECT_EQ(1u, notices().size());
}

// The fields are read in place from the host's bag, in any letter case and of any type: a
// code given as a number is sent as its digits, a malformed name repaired on the printer and
// in the log alike.
TEST_F(ItemTest, FieldsOfAnyCaseAndTypeAreSentAsTheirTexts) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  forget();
  ecf::Variant item = itemBag("0", "P\xFFo de mel", 2.0, "1,99");
  ecf::setBagField(item, "CDARVPROD", 7891);
  for (ecf::Variant& pair : item.asArray()) {
    ecf::Variant& name = pair.asArray()[0];
    name = ecf::lowerCase(name.toText());
  }
  ASSERT_TRUE(VendaItem(item));
  const std::vector<RecordedCommand> sent = printer().commandsNamed("VendaDeItem");
  ASSERT_EQ(1u, sent.size());
  EXPECT_EQ("7891", sent[0].value("CodProduto"));
  EXPECT_EQ("P?o de mel", sent[0].value("NomeProduto"));
  EXPECT_EQ("1,990", sent[0].value("PrecoUnitario"));
  EXPECT_EQ("2,000", sent[0].value("Quantidade"));
  EXPECT_TRUE(logContains("Comando Executado: VendaDeItem - 00 - 7891 - P?o de mel - 1,990 - "
                          "2,000 - UN"));
}

// Fields the driver does not use may be left out; any other missing field refuses the item
// before anything is sent, with a notice naming it.
TEST_F(ItemTest, OnlyTheFieldsTheItemUsesAreRequired) {
  const std::vector<std::pair<std::string, bool>> fields = {
      {"ESQUEMACOR", true}, {"INTEFERRO", false}, {"MESA", false},       {"FLAG", false},
      {"CDARVPROD", true},  {"NMPROD", true},     {"CDALIQ", true},      {"IDALIQ", false},
      {"QTDE", true},       {"VALOR", true},      {"DESCONT", false},    {"UNIDADE", true},
      {"TIPOTICKET", false}, {"VRPERCALIQ", false}, {"IDUTILTEF", true}, {"UTILTEF", true}};
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  const ecf::Variant whole = itemBag("7891", "Pão", 1.0, 2.0);
  for (const auto& [field, required] : fields) {
    forget();
    ecf::Variant::Array pairs;
    for (const ecf::Variant& pair : whole.asArray()) {
      if (pair.asArray()[0].toText() != field) pairs.push_back(pair);
    }
    ecf::Variant item(pairs);
    EXPECT_EQ(!required, VendaItem(item)) << field;
    EXPECT_EQ(required ? 0u : 1u, printer().commandsNamed("VendaDeItem").size()) << field;
    if (required) {
      ASSERT_EQ(1u, notices().size()) << field;
      EXPECT_NE(std::string::npos, notices()[0].find(field)) << notices()[0];
    } else {
      EXPECT_TRUE(notices().empty()) << field;
    }
  }
}

TEST_F(ItemTest, CancellationsOfTheLastAndOfANumberedItem) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  for (const char* name : {"Água", "Suco", "Bolo"}) {
    ecf::Variant item = itemBag("1", name, 1.0, 2.0);
    ASSERT_TRUE(VendaItem(item));
  }
  forget();
  ASSERT_TRUE(Cancela_UltimoItem(kScheme));
  EXPECT_TRUE(printer().commandsNamed("CancelaItemFiscal").at(0).params.empty());
  EXPECT_EQ((std::vector<std::string>{"Comando Executado: CancelaItemFiscal",
                                      "Retorno Impressora: Item Cancelado."}),
            newDebugLines());

  markLog();
  ASSERT_TRUE(Cancela_ItGenerico(kScheme, "1", "a", "b", "c", "d", "e", "f", "g", 1.5, -2.0));
  EXPECT_EQ((std::vector<SentParam>{{"NumItem", "1", PARAMETRO_UINT}}),
            sentParams(printer().commandsNamed("CancelaItemFiscal").at(1)));
  EXPECT_EQ((std::vector<std::string>{"Comando Executado: CancelaItemFiscal - 1",
                                      "Retorno Impressora: Item genérico Cancelado."}),
            newDebugLines());
  const auto items = state()["open"]["items"];
  EXPECT_TRUE(items[0]["cancelled"].get<bool>());
  EXPECT_FALSE(items[1]["cancelled"].get<bool>());
  EXPECT_TRUE(items[2]["cancelled"].get<bool>());

  // A refusal is sent once: the command line and the error line, no success line.
  markLog();
  op().clear();
  printer().refuseNext("CancelaItemFiscal");
  EXPECT_FALSE(Cancela_ItGenerico(kScheme, "2", "", "", "", "", "", "", "", 0, 0));
  EXPECT_EQ((std::vector<std::string>{"Comando Executado: CancelaItemFiscal - 2",
                                      "99: Erro simulado - Recusa injetada pelo teste"}),
            newDebugLines());
  EXPECT_EQ(3u, printer().commandsNamed("CancelaItemFiscal").size());
  EXPECT_TRUE(questions().empty());
  EXPECT_EQ(std::vector<std::string>{kRefusalNotice}, notices());
  EXPECT_FALSE(state()["open"]["items"][1]["cancelled"].get<bool>());

  printer().refuseNext("CancelaItemFiscal");
  EXPECT_FALSE(Cancela_UltimoItem(kScheme));
  EXPECT_EQ("99: Erro simulado - Recusa injetada pelo teste", newDebugLines().back());
  EXPECT_FALSE(state()["open"]["items"][1]["cancelled"].get<bool>());
}

// A blank or garbled item number would reach the printer as "no number", which cancels
// the last item: it is refused with a notice and nothing is sent.
TEST_F(ItemTest, AnItemNumberThatIsNotAPositiveIntegerIsRefusedAndNothingSent) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  for (const char* name : {"Água", "Suco"}) {
    ecf::Variant item = itemBag("1", name, 1.0, 2.0);
    ASSERT_TRUE(VendaItem(item));
  }
  for (const char* number : {"", " ", "0", "000", "-1", "+2", "2.0", "1,5", " 2", "abc",
                             "9999999999"}) {
    SCOPED_TRACE(number);
    op().clear();
    markLog();
    EXPECT_FALSE(Cancela_ItGenerico(kScheme, number, "", "", "", "", "", "", "", 0, 0));
    EXPECT_EQ(std::vector<std::string>{"Cancela_ItGenerico: o número do item deve ser um inteiro "
                                       "positivo; nenhum item foi cancelado."},
              notices());
    EXPECT_EQ(kScheme, op().messages().at(0).scheme);
    EXPECT_TRUE(newDebugLines().empty());
  }
  EXPECT_TRUE(printer().commandsNamed("CancelaItemFiscal").empty());
  EXPECT_FALSE(state()["open"]["items"][1]["cancelled"].get<bool>());
  ASSERT_TRUE(Cancela_ItGenerico(kScheme, "02", "", "", "", "", "", "", "", 0, 0));
  EXPECT_TRUE(state()["open"]["items"][1]["cancelled"].get<bool>());
}

}  // namespace
}  // namespace ecftest

// The footer the printer receives with the closing, in its six layouts.
#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

using FooterTest = ReceiptTest;

const std::string kHead = "Obrigado pela preferência\n";
const std::string kTail = kVendorLine + "\r\nOperador: 7 - Maria\r\n";

std::string centred(const std::string& text, std::size_t width, std::size_t length) {
  const std::size_t before = (width - length) / 2;
  return std::string(before, ' ') + text + std::string(width - length - before, ' ');
}

std::string familyLine(const std::string& name, std::size_t nameLength, const std::string& amount) {
  return name + std::string(25 - nameLength, ' ') + std::string(22 - amount.size(), ' ') + amount +
         "\n";
}

TEST_F(FooterTest, PlainSaleWithClientConsumerAndTable) {
  EXPECT_EQ(kHead + "\n" + kTail + "\n" + "Volte sempre\r\n", footerOfSale(Closing()));

  Closing closing;
  closing[15] = "C1";
  closing[16] = "Padaria Central";
  closing[17] = "55";
  closing[18] = "Ana";
  closing[21] = "12";
  closing[38] = -1.0;
  EXPECT_EQ(kHead + "\n" + "\nCliente: C1 - Padaria Central\n" + "Consumidor : 55 - Ana\n" +
                "Saldo Final : 0,00\n" + "Preço subsidiado: - -1,00\n" + kTail +
                "Mesa  : 12           - " + "\n" + "Volte sempre\r\n",
            footerOfSale(closing));
}

TEST_F(FooterTest, ConsumerIdentifiedWithAndWithoutName) {
  Closing closing;
  closing[19] = "12345678901";
  closing[39] = "Volte logo";
  closing[21] = "ABCDE";
  closing[31] = "77";
  const std::string centredLine = "\r\n" + centred("Volte logo", 47, 10) + "\r\n";
  EXPECT_EQ(kHead + "\n" + "CNPJ/CPF : 12345678901\n" + kTail + "Comanda : ABCDE   - SENHA : 77" +
                centredLine + "Volte sempre\r\n",
            footerOfSale(closing));

  closing[20] = "João Araújo";
  closing[15] = "C1";
  closing[16] = "Padaria";
  closing[21] = "";
  closing[31] = "";
  EXPECT_EQ(kHead + "\n" + "CNPJ/CPF : 12345678901\n" + "NOME : João Araújo\n" +
                "\nCliente: C1 - Padaria\n" + kTail + centredLine + "Volte sempre\r\n",
            footerOfSale(closing));
}

TEST_F(FooterTest, AnAgreementPaymentSelectsTheAgreementLayoutEvenWithCnpjAndName) {
  Closing closing;
  closing[15] = "C1";
  closing[16] = "Empresa Conveniada de Alimentos do Brasil";  // cut with its code to 40
  closing[19] = "12345678901";
  closing[20] = "João";
  closing[17] = "55";
  closing[18] = "Ana";
  closing.payments({{"E", 1, "005", 10.0}});
  EXPECT_EQ(kHead + "\n" + "Convênio ..: C1 - Empresa Conveniada de Alimentos do \n" +
                "Consumidor : 55 - Ana\n" + "Saldo Final : 0,00\n" + kTail + "\n" +
                "Volte sempre\r\n",
            footerOfSale(closing));
}

TEST_F(FooterTest, TheMinasLegalLineOnlyForUpperCaseMg) {
  useDecimalPoint();
  Closing closing;
  closing[19] = "ABCDEFGHIJ";
  closing[43] = "mg";
  closing.payments({{"E", 1, "001", 2.0}, {"E", 2, "002", 37.9}});
  const std::string rest =
      "\nCNPJ/CPF : ABCDEFGHIJ\n" + kTail + "\r\n" + std::string(47, ' ') + "\r\nVolte sempre\r\n";
  EXPECT_EQ(kHead + rest, footerOfSale(closing, 39.9));
  closing[43] = "MG";
  EXPECT_EQ(kHead + "MINAS LEGAL: ABCDEFGH0812202637" + rest, footerOfSale(closing, 39.9));
}

TEST_F(FooterTest, TheConsumerLineIsCutToFortyCharacters) {
  Closing closing;
  closing[17] = "123456";
  closing[18] = "Maria Aparecida dos Santos Silva";
  const std::string footer = footerOfSale(closing);
  EXPECT_NE(std::string::npos, footer.find("\nConsumidor : 123456 - Maria Aparecida do\nSaldo"))
      << footer;
}

TEST_F(FooterTest, FamilyListingsShowTheFirstTwoRowsAndTheTotalOfAll) {
  Closing closing;
  closing[15] = "C1";
  closing[16] = "Escola";
  closing[17] = "55";
  closing[18] = "Ana";
  closing[27] = "1";
  closing[36] = "1";
  closing[38] = -1.0;  // a negative subsidy is not printed here
  closing.families(
      {{"F1", "Família Souza", 100.0}, {"F2", "Família Lima", 50.0}, {"F3", "Família Reis", 30.0}});
  closing.deductions({{"f1", 10.0}});  // codes match ignoring case
  closing.loans({{"F1", "D", 5.0}, {"F2", "C", 7.0}});
  closing.payments({{"E", 1, "006", 10.0}});  // paid from the consumer's credit

  const std::string names =
      centred("C1 - Escola", 48, 11) + "\n" + centred("55 - Ana", 48, 8) + "\n";
  // Souza: 100 - 10 deducted - 5 lent; Lima has no deduction, and then only a debit counts.
  const std::string families =
      familyLine("Família Souza", 13, "85,00") + familyLine("Família Lima", 12, "50,00");
  EXPECT_EQ(names + families + kVendorLine + "\r\nOperador: 7 - Maria", footerOfSale(closing));

  closing[35] = "2";
  closing[38] = 2.0;
  closing[27] = "0";
  // 100 + 50 + 30 - 10 paid from credit
  EXPECT_EQ(names + "Preço subsidiado: 2,00\n" + families +
                familyLine("Saldo Total", 11, "170,00") + std::string(48, ' ') + "\n" +
                kVendorLine + "\r\nOperador: 7 - Maria",
            footerOfSale(closing));
}

TEST_F(FooterTest, AZeroBalanceInTheFirstRowStillTakesItsPlace) {
  Closing closing;
  closing[27] = "1";
  closing[36] = "1";
  closing.families({{"F1", "Alfa", 0.0}, {"F2", "Beta", 20.0}, {"F3", "Gama", 30.0}});
  const std::string footer = footerOfSale(closing);
  EXPECT_NE(std::string::npos, footer.find(familyLine("Beta", 4, "20,00")));
  EXPECT_EQ(std::string::npos, footer.find("Alfa"));
  EXPECT_EQ(std::string::npos, footer.find("Gama"));
}

TEST_F(FooterTest, TheBalanceFollowsItsModeAndSource) {
  struct Case {
    std::string mode;
    std::string source;
    std::string balance;  // "" when the layout shows none
  };
  // Previous balance 50, credit paid 20, subsidy 5, family balances 100 + 30.
  for (const Case& c : {Case{"0", "1", "110,00"}, Case{"0", "2", "35,00"}, Case{"0", "3", "0,00"},
                        Case{"1", "2", "35,00"}, Case{"1", "", "35,00"}, Case{"2", "2", "0,00"},
                        Case{"9", "2", "0,00"}, Case{"1", "1", ""}}) {
    Closing closing;
    closing[17] = "55";
    closing[18] = "Ana";
    closing[27] = c.mode;
    closing[36] = c.source;
    closing[37] = 50.0;
    closing[38] = 5.0;
    closing.families({{"F1", "Um", 100.0}, {"F2", "Dois", 30.0}});
    closing.payments({{"E", 1, "001", 0.5}, {"E", 2, "007", 19.5}, {"E", 3, "006", 0.5}});
    const std::string footer = footerOfSale(closing, 20.5);
    if (c.balance.empty()) {
      EXPECT_EQ(std::string::npos, footer.find("Saldo Final")) << c.mode << c.source;
    } else {
      EXPECT_NE(std::string::npos,
                footer.find("\nSaldo Final : " + c.balance + "\nPreço subsidiado: - 5,00\n"))
          << c.mode << "/" << c.source << ": " << footer;
    }
  }

  Closing noFamilies;
  noFamilies[17] = "55";
  noFamilies[27] = "0";
  noFamilies[36] = "1";
  noFamilies.families({});
  EXPECT_NE(std::string::npos, footerOfSale(noFamilies).find("\nSaldo Final : 0,00\n"));
}

}  // namespace
}  // namespace ecftest

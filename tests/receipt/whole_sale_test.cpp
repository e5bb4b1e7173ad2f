// Whole sales from the opening to the change voucher: the printer's day totals, its
// counters and its tape must agree with what was sold, to the cent.
#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

using WholeSaleTest = ReceiptTest;

// A tape line with `left` at the margin and `right` flush with column 48.
std::string leftRight(const std::string& left, std::size_t leftChars, const std::string& right) {
  return left + std::string(48 - leftChars - right.size(), ' ') + right;
}

int methodCode(const nlohmann::json& state, const std::string& name) {
  const auto& methods = state["tables"]["methods"];
  for (std::size_t code = 0; code < methods.size(); ++code) {
    if (methods[code]["programmed"].get<bool>() && methods[code]["name"] == name) {
      return static_cast<int>(code);
    }
  }
  ADD_FAILURE() << "no method " << name;
  return 0;
}

long long cents(const nlohmann::json& value) { return value.get<long long>(); }

TEST_F(WholeSaleTest, TwoSalesWithDiscountTwoMethodsChangeAndVoucherAddUpToTheCent) {
  const nlohmann::json before = state();
  const int coo = before["counters"]["coo"].get<int>();
  const int debit = methodCode(before, "Cartao Debito");
  const auto voucher = static_cast<std::size_t>(std::stoi(changeVoucherCode_));

  // First sale: CPF, two items with accented names, a discount, card and cash, change
  // in a voucher.
  ecf::Variant opening = openingBag("123.456.789-09");
  ASSERT_TRUE(AbreCupom(opening));
  ecf::Variant bread = itemBag("7891", "Pão de queijo", 3.0, 4.5, "00");
  ASSERT_TRUE(VendaItem(bread));
  ecf::Variant coffee = itemBag("7892", "Café com leite", 1.0, 5.75, "01");
  ASSERT_TRUE(VendaItem(coffee));
  Closing closing;
  closing[6] = 1.25;
  closing[4] = true;
  closing[7] = 2.0;
  closing.payments({{"E", 2, "001", 10.0}, {"E", 1, "002", 10.0}});
  ecf::Variant result(ecf::Variant::Array(3));
  ASSERT_TRUE(close(closing, result));

  nlohmann::json after = state();
  EXPECT_EQ(coo + 2, after["counters"]["coo"].get<int>());  // the receipt and the voucher
  EXPECT_EQ(before["counters"]["ccf"].get<int>() + 1, after["counters"]["ccf"].get<int>());
  EXPECT_EQ(1925, cents(after["totals"]["grossSales"]));
  EXPECT_EQ(125, cents(after["totals"]["discountIcms"]));
  EXPECT_EQ(1800, cents(after["totals"]["rateSales"][0]) + cents(after["totals"]["rateSales"][1]));
  EXPECT_EQ(1000, cents(after["totals"]["methods"][debit]));
  EXPECT_EQ(1000 - 200 - 200, cents(after["totals"]["cash"]));  // change, then the voucher
  EXPECT_EQ(200, cents(after["totals"]["nonFiscal"][voucher]));
  EXPECT_EQ(1925, cents(after["grandTotal"]));
  EXPECT_EQ(200, cents(after["lastFiscal"]["change"]));
  EXPECT_EQ(debit, after["lastFiscal"]["payments"][0]["method"].get<int>());

  const std::string tape = printer().tape();
  for (const std::string& line :
       {std::string("CPF/CNPJ consumidor: 123.456.789-09"), std::string("001 7891 Pão de queijo"),
        leftRight("    3,000 UN x 4,50 T00", 23, "13,50"), std::string("002 7892 Café com leite"),
        leftRight("    1,000 UN x 5,75 T01", 23, "5,75"), leftRight("DESCONTO R$", 11, "-1,25"),
        leftRight("TOTAL R$", 8, "18,00"), leftRight("Cartao Debito", 13, "10,00"),
        leftRight("Dinheiro", 8, "10,00"), leftRight("TROCO R$", 8, "2,00"),
        std::string("Obrigado pela preferência"), kVendorLine, std::string("Operador: 7 - Maria"),
        std::string("Volte sempre")}) {
    EXPECT_NE(std::string::npos, tape.find("\n" + line + "\n")) << line;
  }
  EXPECT_LT(tape.find("Cartao Debito"), tape.find(leftRight("Dinheiro", 8, "10,00")));
  EXPECT_NE(std::string::npos, tape.find(changeVoucherCode_ + " CONTRA-VALE EMITIDO"));

  // Second sale: no CPF, cash with change and no voucher.
  opening = openingBag("");
  ASSERT_TRUE(AbreCupom(opening));
  ecf::Variant sugar = itemBag("7893", "Açúcar cristal", 2.0, 3.99, "02");
  ASSERT_TRUE(VendaItem(sugar));
  Closing second;
  second.payments({{"E", 5, "001", 10.0}});
  ASSERT_TRUE(close(second, result));

  after = state();
  EXPECT_EQ(coo + 3, after["counters"]["coo"].get<int>());
  EXPECT_EQ(1925 + 798, cents(after["totals"]["grossSales"]));
  EXPECT_EQ(600 + 1000 - 202, cents(after["totals"]["cash"]));
  EXPECT_EQ(1000, cents(after["totals"]["methods"][debit]));
  EXPECT_EQ(200, cents(after["totals"]["nonFiscal"][voucher]));
  EXPECT_EQ(1925 + 798, cents(after["grandTotal"]));
  EXPECT_EQ("", after["lastFiscal"]["consumerId"]);
  EXPECT_NE(std::string::npos,
            printer().tape().find(leftRight("    2,000 UN x 3,99 T02", 23, "7,98")));
}

}  // namespace
}  // namespace ecftest

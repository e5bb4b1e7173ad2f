#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

using ecf::FieldDef;
using ecf::FieldType;
using ecf::Variant;

// The test's day (see the module fixture) at 10:<minute>.
ecf::DateTime movementTime(int minute) {
  return ecf::DateTime::fromParts(2026, 12, 8, 10, minute, 0);
}

std::vector<FieldDef> without(std::vector<FieldDef> fields, const std::string& leaveOut) {
  std::erase_if(fields, [&](const FieldDef& field) { return field.name == leaveOut; });
  return fields;
}

std::vector<Variant> withoutValue(const std::vector<FieldDef>& all, std::vector<Variant> row,
                                  const std::string& leaveOut) {
  for (std::size_t i = all.size(); i-- > 0;) {
    if (all[i].name == leaveOut) row.erase(row.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return row;
}

}  // namespace

Closing::Closing() : values_(44) {
  // Positions this module never reads hold what no reader could take for a text.
  for (const int unread : {0, 3, 5, 12, 24, 25, 26, 28, 29, 30, 40, 41}) {
    values_[static_cast<std::size_t>(unread)] = Variant(Variant::Array{Variant("x")});
  }
  (*this)[1] = "Obrigado pela preferência";
  (*this)[2] = kScheme;
  (*this)[4] = false;
  (*this)[6] = 0.0;
  (*this)[7] = 0.0;
  (*this)[8] = 0.0;
  (*this)[9] = "N";
  (*this)[10] = "Volte sempre";
  (*this)[11] = false;
  payments({});
  paymentTypes(standardPaymentTypes());
  (*this)[22] = "7";
  (*this)[23] = "Maria";
  (*this)[27] = "2";
  (*this)[37] = 0.0;
  (*this)[38] = 0.0;
  (*this)[42] = "ECO42";
  (*this)[43] = "SP";
}

void Closing::payments(const std::vector<Movement>& movements) {
  (*this)[13] = movementPacket(movements);
}

void Closing::paymentTypes(const std::vector<PaymentType>& types) {
  (*this)[14] = paymentTypePacket(types);
}

void Closing::families(const std::vector<Family>& balances) {
  std::vector<std::vector<Variant>> rows;
  for (const Family& family : balances) {
    rows.push_back({Variant(family.code), Variant(family.name), Variant(family.balance)});
  }
  (*this)[32] = ecf::DataPacket(
      {FieldDef{"CDFAMILISALD", FieldType::Text, 10}, FieldDef{"NMFAMILISALD", FieldType::Text, 40},
       FieldDef{"VRSALDCONFAM", FieldType::Real, 0}},
      std::move(rows));
}

void Closing::deductions(const std::vector<std::pair<std::string, double>>& amounts) {
  std::vector<std::vector<Variant>> rows;
  for (const auto& [family, amount] : amounts) rows.push_back({Variant(family), Variant(amount)});
  (*this)[33] = ecf::DataPacket(
      {FieldDef{"CDFAMILISALD", FieldType::Text, 10}, FieldDef{"VRSALDCONFAM", FieldType::Real, 0}},
      std::move(rows));
}

void Closing::loans(const std::vector<std::tuple<std::string, std::string, double>>& movements) {
  std::vector<std::vector<Variant>> rows;
  for (const auto& [family, kind, amount] : movements) {
    rows.push_back({Variant(family), Variant(kind), Variant(amount)});
  }
  (*this)[34] = ecf::DataPacket(
      {FieldDef{"CDFAMILISALD", FieldType::Text, 10}, FieldDef{"IDTPMOVEXT", FieldType::Text, 1},
       FieldDef{"VRMOVEXTCONS", FieldType::Real, 0}},
      std::move(rows));
}

ecf::DataPacket movementPacket(const std::vector<Movement>& movements,
                               const std::string& leaveOut) {
  const std::vector<FieldDef> all = {
      {"CDFILIAL", FieldType::Text, 4},       {"IDTIPOMOVIVE", FieldType::Text, 1},
      {"DTHRINCMOV", FieldType::DateTime, 0}, {"CDTIPORECE", FieldType::Text, 3},
      {"NMTIPORECE", FieldType::Text, 40},    {"IDTIPORECE", FieldType::Text, 1},
      {"VRMOVIVEND", FieldType::Real, 0},     {"VRMOVIVEOUT", FieldType::Real, 0},
      {"VRCOTINDOUT", FieldType::Real, 0},    {"CDTIPOTROCO", FieldType::Text, 3},
      {"NRORDTROCO", FieldType::Text, 3},     {"CDCLIENTE", FieldType::Text, 10},
      {"CDCONSUMIDOR", FieldType::Text, 20},  {"DTMOVIMCAIXA", FieldType::DateTime, 0},
      {"DSIMPFISCAL", FieldType::Text, 50},   {"CDFPIMPFIS", FieldType::Text, 10},
      {"NRCARTBANCO", FieldType::Text, 30},   {"CDNSUHOSTTEF", FieldType::Text, 20},
      {"CDBANCARTCR", FieldType::Text, 10},   {"CDTIPORECEORIG", FieldType::Text, 3},
      {"OBSERVACAO", FieldType::Text, 20}};
  std::vector<std::vector<Variant>> rows;
  for (const Movement& m : movements) {
    rows.push_back(withoutValue(all,
                                {Variant("1"),
                                 Variant(m.kind),
                                 Variant(movementTime(m.minute)),
                                 Variant(m.type),
                                 Variant("nome do host"),
                                 Variant("1"),
                                 Variant(m.amount),
                                 Variant(0.0),
                                 Variant(0.0),
                                 Variant(""),
                                 Variant("001"),
                                 Variant(""),
                                 Variant(""),
                                 Variant(ecf::DateTime::fromParts(2026, 12, 8)),
                                 Variant(""),
                                 Variant(""),
                                 Variant(""),
                                 Variant(""),
                                 Variant(m.card),
                                 Variant(m.originalType),
                                 Variant("extra")},
                                leaveOut));
  }
  return ecf::DataPacket(without(all, leaveOut), std::move(rows));
}

ecf::DataPacket paymentTypePacket(const std::vector<PaymentType>& types,
                                  const std::string& leaveOut) {
  const std::vector<FieldDef> all = {{"CDTIPORECE", FieldType::Text, 3},
                                     {"NMTIPORECE", FieldType::Text, 40},
                                     {"IDTIPORECE", FieldType::Text, 1}};
  std::vector<std::vector<Variant>> rows;
  for (const PaymentType& type : types) {
    rows.push_back(
        withoutValue(all, {Variant(type.code), Variant(type.name), Variant(type.kind)}, leaveOut));
  }
  return ecf::DataPacket(without(all, leaveOut), std::move(rows));
}

std::vector<PaymentType> standardPaymentTypes() {
  return {{"001", "Dinheiro", "1"},         {"002", "Cartao Debito", "2"},
          {"003", "Cartao Credito", "3"},   {"004", "Vale Alimentação Extra", "4"},
          {"005", "Convenio Empresa", "8"}, {"006", "Credito Pessoal", "9"},
          {"007", "Credito Familia", "A"},  {"010", "TEF", "5"}};
}

void ReceiptTest::SetUp() {
  ModuleTest::SetUp();
  ASSERT_TRUE(start());
  for (const char* method : {"Cartao Debito", "Cartao Credito", "Vale Alimentação",
                             "Convenio Empresa", "Credito Pessoal", "Credito Familia"}) {
    ASSERT_TRUE(Config_FormaPg("", method, false, false)) << method;
  }
  std::string changeVoucher, consumerSale, creditPurchase, creditCancel, unused;
  ecf::Dataset unusedDataset;
  CarregaTotalizador(changeVoucher, consumerSale, creditPurchase, creditCancel, unused, "", 0,
                     unusedDataset);
  ASSERT_FALSE(IdTotParcCV.empty());
  changeVoucherCode_ = IdTotParcCV;
  forget();
}

ecf::Variant ReceiptTest::openingBag(const std::string& cpf, const std::string& tefMode,
                                     bool usesCards) const {
  return ecf::makeBag({{"ESQUEMACOR", kScheme},
                       {"INTTEFERRO", "N"},
                       {"INCLUICPF", cpf},
                       {"INCLUINOME", "João da Silva"},
                       {"INCLUIENDERECO", "Rua das Flores, 10"},
                       {"CUPNR", ""},
                       {"CONTCUPOM", ""},
                       {"TIPOTICKET", ""},
                       {"IVACOMP", ""},
                       {"IVAPROP", ""},
                       {"TIPODOC", ""},
                       {"NRDOC", ""},
                       {"MESA", "12"},
                       {"IDUTILTEF", tefMode},
                       {"UTILTEF", usesCards}});
}

ecf::Variant ReceiptTest::itemBag(const std::string& code, const std::string& name,
                                  const ecf::Variant& quantity, const ecf::Variant& price,
                                  const std::string& taxCode, const std::string& tefMode,
                                  bool usesCards) const {
  return ecf::makeBag({{"ESQUEMACOR", kScheme},
                       {"INTEFERRO", "N"},
                       {"MESA", ""},
                       {"FLAG", ""},
                       {"CDARVPROD", code},
                       {"NMPROD", name},
                       {"CDALIQ", taxCode},
                       {"IDALIQ", "T"},
                       {"QTDE", quantity},
                       {"VALOR", price},
                       {"DESCONT", 0.0},
                       {"UNIDADE", "UN"},
                       {"TIPOTICKET", ""},
                       {"VRPERCALIQ", 18.0},
                       {"IDUTILTEF", tefMode},
                       {"UTILTEF", usesCards}});
}

void ReceiptTest::openAndSell(double amount, const std::string& cpf) {
  ecf::Variant opening = openingBag(cpf);
  ASSERT_TRUE(AbreCupom(opening));
  ecf::Variant item = itemBag("100", "Produto", 1.0, amount);
  ASSERT_TRUE(VendaItem(item));
}

bool ReceiptTest::close(const Closing& closing, ecf::Variant& result) {
  ecf::StringList unused;
  return FechaCupom(closing.data(), closing.high(), unused, result);
}

bool ReceiptTest::close(const Closing& closing) {
  ecf::Variant result(ecf::Variant::Array(3));
  return close(closing, result);
}

std::string ReceiptTest::footerOfSale(Closing closing, double amount) {
  openAndSell(amount);
  if (closing[13].asPacket().rowCount() == 0) closing.payments({{"E", 1, "001", amount}});
  printer().clearRecord();
  EXPECT_TRUE(close(closing));
  const std::vector<RecordedCommand> sent = printer().commandsNamed("EncerraDocumento");
  if (sent.empty()) {
    ADD_FAILURE() << "no closing was sent";
    return "";
  }
  return sent.front().value("TextoPromocional");
}

std::vector<std::string> ReceiptTest::questions() {
  std::vector<std::string> texts;
  for (const auto& message : op().messages()) {
    if (message.letter2 == "S") texts.push_back(message.text);
  }
  return texts;
}

std::vector<std::string> ReceiptTest::notices() {
  std::vector<std::string> texts;
  for (const auto& message : op().messages()) {
    if (message.letter2 == "N") texts.push_back(message.text);
  }
  return texts;
}

std::vector<std::string> ReceiptTest::sentValues(const std::string& command,
                                                 const std::string& param) {
  std::vector<std::string> values;
  for (const RecordedCommand& sent : printer().commandsNamed(command)) {
    values.push_back(sent.value(param));
  }
  return values;
}

}  // namespace ecftest

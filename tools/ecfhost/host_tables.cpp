#include "host_tables.h"

#include <cstdio>
#include <stdexcept>

namespace ecfhost {
namespace {

using ecf::FieldType;

ecf::FieldDef text(const char* name, int size = 0) { return {name, FieldType::Text, size}; }
ecf::FieldDef real(const char* name) { return {name, FieldType::Real, 0}; }
ecf::FieldDef when(const char* name) { return {name, FieldType::DateTime, 0}; }

}  // namespace

ecf::Dataset builtInPaymentTypes() {
  std::vector<ecf::FieldDef> fields = {
      text("CDTIPORECE", 3), text("DSIMPFISCAL", 50), text("NMTIPORECE", 40), text("IDTIPORECE", 1),
      text("IDTPBUTTON", 1), text("IDMOSTRARECE", 1), text("CDFPIMPFIS", 10), text("IDEMIVALE", 1)};
  // Code, fiscal name (the printer's name of the method), kind.
  const std::vector<std::vector<std::string>> types = {
      {"001", "Dinheiro", "1"},         {"002", "Cartão de crédito", "2"},
      {"003", "Cartão de débito", "3"}, {"004", "Vale-refeição", "4"},
      {"005", "Conta do cliente", "B"},
  };
  std::vector<std::vector<ecf::Variant>> rows;
  for (const auto& type : types) {
    rows.push_back({type[0], type[1], "", type[2], "5", "S", "", ""});
  }
  ecf::Dataset dataset("cdsTipoReceHost");
  dataset.setData(ecf::DataPacket(std::move(fields), std::move(rows)));
  return dataset;
}

const Product& product(const std::string& code) {
  static const std::vector<Product> menu = {
      {"1001", "Pão de queijo", "UN", 4.50},         {"1002", "Café expresso", "UN", 5.50},
      {"1003", "Açaí 500ml", "UN", 18.90},           {"1004", "Suco de laranja", "UN", 8.00},
      {"1005", "Água mineral 500ml", "UN", 3.50},    {"1006", "Bolo de cenoura", "FT", 12.00},
      {"1007", "Croissant de presunto", "UN", 7.90}, {"1008", "Café com leite", "UN", 6.00},
  };
  for (const Product& item : menu) {
    if (item.code == code) return item;
  }
  throw std::out_of_range("no product " + code);
}

ecf::DataPacket cashMovements(const std::vector<Payment>& payments,
                              const ecf::DataPacket& paymentTypes, const ecf::DateTime& first) {
  std::vector<ecf::FieldDef> fields = {
      text("CDFILIAL", 4),     text("IDTIPOMOVIVE", 1),  when("DTHRINCMOV"),
      text("CDTIPORECE", 3),   text("NMTIPORECE", 40),   text("IDTIPORECE", 1),
      real("VRMOVIVEND"),      real("VRMOVIVEOUT"),      real("VRCOTINDOUT"),
      text("CDTIPOTROCO", 3),  text("NRORDTROCO", 3),    text("CDCLIENTE"),
      text("CDCONSUMIDOR"),    when("DTMOVIMCAIXA"),     text("DSIMPFISCAL", 50),
      text("CDFPIMPFIS", 10),  text("NRCARTBANCO"),      text("CDNSUHOSTTEF"),
      text("CDBANCARTCR", 10), text("CDTIPORECEORIG", 3)};
  std::vector<std::vector<ecf::Variant>> rows;
  for (std::size_t i = 0; i < payments.size(); ++i) {
    const std::string& code = payments[i].typeCode;
    const auto field = [&](const char* name) {
      return lookup(paymentTypes, "CDTIPORECE", code, name);
    };
    rows.push_back({"1",
                    "E",
                    first.addMillis(static_cast<std::int64_t>(i) * 1000),
                    code,
                    field("NMTIPORECE"),
                    field("IDTIPORECE"),
                    payments[i].amount,
                    0.0,
                    0.0,
                    "",
                    "",
                    "",
                    "",
                    first.date(),
                    field("DSIMPFISCAL"),
                    field("CDFPIMPFIS"),
                    "",
                    "",
                    "",
                    ""});
  }
  return ecf::DataPacket(std::move(fields), std::move(rows));
}

std::string lookup(const ecf::DataPacket& packet, const std::string& keyField,
                   const std::string& key, const std::string& field) {
  const int keyIndex = packet.fieldIndex(keyField);
  const int fieldIndex = packet.fieldIndex(field);
  if (keyIndex < 0 || fieldIndex < 0) return "";
  for (std::size_t r = 0; r < packet.rowCount(); ++r) {
    const auto& row = packet.row(r);
    if (row[static_cast<std::size_t>(keyIndex)].toText() == key) {
      return row[static_cast<std::size_t>(fieldIndex)].toText();
    }
  }
  return "";
}

std::string money(double amount, const ecf::HostSettings& settings) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", amount);
  std::string out = text;
  for (char& c : out) {
    if (c == '.') c = settings.decimalSeparator;
  }
  return out;
}

}  // namespace ecfhost

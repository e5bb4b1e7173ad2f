// A started printer with the non-fiscal totalizers programmed and the payment methods of
// a small restaurant, a cashier who rings up the day's sales straight on the printer, and
// readers of the Z datasets and of the printed Z reduction.
#pragma once

#include <cmath>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "base/utf8.h"
#include "support/module_fixture.h"

namespace ecftest {

inline const std::string kScheme = "AZUL";

// One parameter of a command the cashier sends: name, value, type code.
using Param = std::tuple<std::string, std::string, int>;

class DayCloseTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(start());
    std::string changeVoucher, consumerSale, creditPurchase, creditCancel, unused;
    ecf::Dataset unusedDataset;
    CarregaTotalizador(changeVoucher, consumerSale, creditPurchase, creditCancel, unused, "", 0,
                       unusedDataset);
    ASSERT_EQ(idTotParcSuprimento, "00");
    ASSERT_EQ(idTotParcSangria, "01");
    // Two card methods that the host counts as one payment type, whatever their accents.
    printer().configure({{"paymentMethods",
                          {{{"code", 0}, {"name", "Cartao"}, {"allowsLinked", true}},
                           {{"code", 1}, {"name", "Cheque"}},
                           {{"code", 2}, {"name", "Cartão"}},
                           {{"code", 3}, {"name", "Vale Refeicao"}}}}});
    forget();
  }

  void forget() {
    printer().clearRecord();
    op().clear();
    markLog();
  }

  // Sends one command straight to the printer, in its 8-bit text, as the sale operations
  // would; the error code (0 when accepted).
  int send(const std::string& command, const std::vector<Param>& params = {}) {
    Ecf_DLLG2_LimpaParams(inCanalSerial);
    for (const auto& [name, value, type] : params) {
      Ecf_DLLG2_AdicionaParam(inCanalSerial, name.c_str(), ecf::utf8ToCp1252(value).c_str(), type);
    }
    Ecf_DLLG2_ExecutaComando(inCanalSerial, command.c_str());
    return Ecf_DLLG2_ObtemCodErro(inCanalSerial);
  }

  void openReceipt() { ASSERT_EQ(send("AbreCupomFiscal"), 0); }
  // One item: tax code ("0", "2", "-3"...), price, quantity; ISSQN codes with icms false.
  void sell(const std::string& taxCode, const std::string& price,
            const std::string& quantity = "1", bool icms = true) {
    ASSERT_EQ(send("VendaDeItem", {{"AliquotaICMS", icms ? "Y" : "N", PARAMETRO_INDICADOR},
                                   {"CodAliquota", taxCode, PARAMETRO_UINT},
                                   {"CodProduto", "7891", PARAMETRO_STRING},
                                   {"NomeProduto", "Prato do dia", PARAMETRO_STRING},
                                   {"PrecoUnitario", price, PARAMETRO_MONEY},
                                   {"Quantidade", quantity, PARAMETRO_MONEY},
                                   {"Unidade", "UN", PARAMETRO_STRING}}),
              0);
  }
  void adjust(const std::string& amount) {
    ASSERT_EQ(send("AcresceSubtotal", {{"ValorAcrescimo", amount, PARAMETRO_MONEY}}), 0);
  }
  void pay(const std::string& method, const std::string& amount) {
    ASSERT_EQ(send("PagaCupom", {{"NomeMeioPagamento", method, PARAMETRO_STRING},
                                 {"Valor", amount, PARAMETRO_MONEY}}),
              0);
  }
  void closeReceipt() { ASSERT_EQ(send("EncerraDocumento"), 0); }

  // The host's payment types: (CDTIPORECE, NMTIPORECE).
  static ecf::Dataset paymentTypes(
      const std::vector<std::pair<std::string, std::string>>& types = {
          {"001", "DINHEIRO"}, {"002", "CARTAO"}, {"003", "Cheque"}, {"004", "Ticket"}}) {
    std::vector<std::vector<ecf::Variant>> rows;
    for (const auto& [code, name] : types) rows.push_back({code, name, "1"});
    ecf::Dataset dataset("cdsTipoReceHost");
    dataset.setData(ecf::DataPacket({{"CDTIPORECE", ecf::FieldType::Text, 3},
                                     {"NMTIPORECE", ecf::FieldType::Text, 40},
                                     {"IDTIPORECE", ecf::FieldType::Text, 1}},
                                    std::move(rows)));
    return dataset;
  }

  // The four datasets as a host hands them: closed and empty.
  struct ZDatasets {
    ecf::Dataset day{"day"}, payments{"payments"}, taxes{"taxes"}, nonFiscal{"nonFiscal"};
  };

  bool exportDay(ZDatasets& z, const ecf::Dataset& types = paymentTypes(),
                 const std::string& ecfNumber = "0007") {
    return ExportRedZ("", kScheme, ecfNumber, 0, types, z.day, z.payments, z.taxes, z.nonFiscal);
  }

  // Every row of a dataset as texts of the given fields, in storage order.
  static std::vector<std::vector<std::string>> rows(const ecf::Dataset& dataset,
                                                    const std::vector<std::string>& fields) {
    const ecf::DataPacket packet = dataset.data();
    std::vector<std::vector<std::string>> out;
    for (std::size_t r = 0; r < packet.rowCount(); ++r) {
      std::vector<std::string> row;
      for (const std::string& field : fields) {
        const int index = packet.fieldIndex(field);
        row.push_back(index < 0 ? "<no field>"
                                : packet.row(r)[static_cast<std::size_t>(index)].toText());
      }
      out.push_back(row);
    }
    return out;
  }

  // A number field of row `r`; a missing row or field fails the test and reads as NaN.
  static double number(const ecf::Dataset& dataset, std::size_t r, const std::string& field) {
    const ecf::DataPacket packet = dataset.data();
    const int index = packet.fieldIndex(field);
    if (index < 0 || r >= packet.rowCount()) {
      ADD_FAILURE() << "no field " << field << " in row " << r;
      return std::nan("");
    }
    return packet.row(r)[static_cast<std::size_t>(index)].toNumber();
  }

  // The last document on the tape (the text after its last separator line).
  std::string lastDocument() {
    const std::string tape = printer().tape();
    const std::string separator = std::string(48, '=') + "\n";
    const std::size_t at = tape.rfind(separator);
    return at == std::string::npos ? tape : tape.substr(at + separator.size());
  }

  // The amount a printed line of the document shows after its label, as the printer
  // writes it ("1.234,56"); "" when no line starts with the label.
  static std::string printedAmount(const std::string& document, const std::string& label) {
    const std::regex line("(^|\n)" + label + " +(-?[0-9.]+,[0-9]{2})(\n|$)");
    std::smatch match;
    return std::regex_search(document, match, line) ? match[2].str() : "";
  }
};

}  // namespace ecftest

// Reconciling the host's payment types with the printer's payment methods.
#include <gmock/gmock.h>

#include <map>

#include "config/config_fixture.h"

namespace ecftest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// One host payment type, as the host's table holds it.
struct PaymentType {
  std::string code;
  std::string fiscalName;
  std::string kind = "1";    // IDTIPORECE
  std::string shown = "S";   // IDMOSTRARECE
  std::string button = "5";  // IDTPBUTTON
  std::string mark = "";     // CDFPIMPFIS
};

// What the reconciliation writes into a host row.
struct Outcome {
  std::string printerName;  // NMTIPORECE
  std::string mark;         // CDFPIMPFIS
  std::string voucher;      // IDEMIVALE
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
  *out << "{" << o.printerName << ", " << o.mark << ", " << o.voucher << "}";
}

const Outcome kUntouched{"antes", "", "?"};

ecf::Dataset hostTable(const std::vector<PaymentType>& types) {
  const auto text = [](const char* name, int size) {
    return ecf::FieldDef{name, ecf::FieldType::Text, size};
  };
  std::vector<ecf::FieldDef> fields{
      text("CDTIPORECE", 3),   text("IDTPBUTTON", 1), text("IDTIPORECE", 1),
      text("IDMOSTRARECE", 1), text("DSIMPFISCAL", 50), text("NMTIPORECE", 40),
      text("CDFPIMPFIS", 10),  text("IDEMIVALE", 1),  text("DSBUTTON", 40)};
  std::vector<std::vector<ecf::Variant>> rows;
  for (const PaymentType& t : types) {
    rows.push_back({t.code, t.button, t.kind, t.shown, t.fiscalName, "antes", t.mark, "?",
                    "Botao " + t.code});
  }
  ecf::Dataset table("TiposRecebimento");
  table.setData(ecf::DataPacket(fields, rows));
  return table;
}

class PaymentMethodsTest : public ConfigTest {
 protected:
  void TearDown() override {
    ecf_SetMessagePump({});
    ConfigTest::TearDown();
  }

  void reconcile(ecf::Dataset& table) { CarregaRecebimento("", "007", 0, table); }

  // Every row of the host table, whatever its filter, by type code.
  static std::map<std::string, Outcome> outcomes(const ecf::Dataset& table) {
    const ecf::DataPacket data = table.data();
    const auto at = [&](std::size_t row, const char* field) {
      return data.row(row)[static_cast<std::size_t>(data.fieldIndex(field))].toText();
    };
    std::map<std::string, Outcome> result;
    for (std::size_t row = 0; row < data.rowCount(); ++row) {
      result[at(row, "CDTIPORECE")] = {at(row, "NMTIPORECE"), at(row, "CDFPIMPFIS"),
                                       at(row, "IDEMIVALE")};
    }
    return result;
  }
};

TEST_F(PaymentMethodsTest, TypesFindTheirMethodIgnoringCaseAndTakeThePrinterName) {
  setPaymentMethods({"CHEQUE", "CARTÃO CRÉDITO", "Vale Refeição"});
  ecf::Dataset table = hostTable({{"001", "dinheiro"},
                                  {"002", "Cheque"},
                                  {"003", "cartão crédito"},
                                  {"004", "vale refeição", "4"}});
  reconcile(table);
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001"), (Outcome{"Dinheiro", "S", "S"}));
  EXPECT_EQ(result.at("002"), (Outcome{"CHEQUE", "S", "S"}));
  EXPECT_EQ(result.at("003"), (Outcome{"CARTÃO CRÉDITO", "S", "S"}));
  EXPECT_EQ(result.at("004"), (Outcome{"Vale Refeição", "S", "N"}));
  // Only the report method was missing.
  EXPECT_EQ(sentValues("DefineMeioPagamento", "NomeMeioPagamento"),
            (std::vector<std::string>{"Rel Gerencial"}));
  EXPECT_EQ(sentValues("DefineMeioPagamento", "CodMeioPagamentoProgram"),
            (std::vector<std::string>{"3"}));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(PaymentMethodsTest, TheTableIsReadFromTheCashMethodUpAndLogged) {
  setPaymentMethods({"Cheque", "Rel Gerencial"});
  ecf::Dataset table = hostTable({});
  reconcile(table);
  EXPECT_EQ(sentValues("LeMeioPagamento", "CodMeioPagamentoProgram"),
            (std::vector<std::string>{"-2", "0", "1", "2"}));
  EXPECT_THAT(sentParams(printer().commands().front()),
              ElementsAre(SentParam{"CodMeioPagamentoProgram", "-2", PARAMETRO_UINT},
                          SentParam{"NomeMeioPagamento", "", PARAMETRO_STRING}));
  const std::vector<std::string> lines = newDebugLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(),
            "Comando Executado: LeMeioPagamento - NomeMeioPagamento - CodMeioPagamentoProgram - -2");
  EXPECT_EQ(lines.back(),
            "Retorno da Impressora : -2Dinheiro        0 Cheque          1 Rel Gerencial   ");
  EXPECT_TRUE(printer().commandsNamed("DefineMeioPagamento").empty());
}

TEST_F(PaymentMethodsTest, MissingTypesAreDefinedOnSixteenCharactersThenTheReportMethod) {
  setPaymentMethods({});
  ecf::Dataset table = hostTable({{"001", "Cartao de Credito Visa"},
                                  {"002", "Cartao de Credito Master"},
                                  {"003", "Ticket", "4"}});
  reconcile(table);
  const std::vector<RecordedCommand> defined = printer().commandsNamed("DefineMeioPagamento");
  ASSERT_EQ(defined.size(), 3u);
  EXPECT_THAT(sentParams(defined[0]),
              ElementsAre(SentParam{"CodMeioPagamentoProgram", "0", PARAMETRO_UINT},
                          SentParam{"DescricaoMeioPagamento", "", PARAMETRO_STRING},
                          SentParam{"NomeMeioPagamento", "Cartao de Credit", PARAMETRO_STRING},
                          SentParam{"PermiteVinculado", "Y", PARAMETRO_INDICADOR}));
  EXPECT_EQ(sentValues("DefineMeioPagamento", "NomeMeioPagamento"),
            (std::vector<std::string>{"Cartao de Credit", "Ticket", "Rel Gerencial"}));
  EXPECT_EQ(sentValues("DefineMeioPagamento", "CodMeioPagamentoProgram"),
            (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_TRUE(logContains("Comando Executado: DefineMeioPagamento - Cartao de CreditY"));
  EXPECT_TRUE(logContains("Comando Executado: DefineMeioPagamento - Rel GerencialY"));
  EXPECT_EQ(printerNames("methods"),
            (std::vector<std::string>{"Cartao de Credit", "Ticket", "Rel Gerencial"}));

  // Both cards share the one method defined; every defined type learns its name.
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001"), (Outcome{"Cartao de Credit", "S", "S"}));
  EXPECT_EQ(result.at("002"), (Outcome{"Cartao de Credit", "S", "S"}));
  EXPECT_EQ(result.at("003"), (Outcome{"Ticket", "S", "N"}));
}

TEST_F(PaymentMethodsTest, ANameMatchesOnlyTheStartOfOnePrinterMethod) {
  setPaymentMethods({"Cartao Debito XY", "Cheque", "Rel Gerencial"});
  ecf::Dataset table = hostTable({{"001", "CARTAO DEBITO"},
                                  {"002", "Debito"},              // inside a name
                                  {"003", "XY1 Cheque"}});         // across two entries
  reconcile(table);
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001"), (Outcome{"Cartao Debito XY", "S", "S"}));
  EXPECT_EQ(result.at("002"), (Outcome{"Debito", "S", "S"}));
  EXPECT_EQ(sentValues("DefineMeioPagamento", "NomeMeioPagamento"),
            (std::vector<std::string>{"Debito", "XY1 Cheque"}));
  EXPECT_EQ(result.at("003"), (Outcome{"XY1 Cheque", "S", "S"}));
}

TEST_F(PaymentMethodsTest, HiddenBlockedAndOtherButtonRowsAreLeftAlone) {
  setPaymentMethods({"Cheque", "Rel Gerencial"});
  ecf::Dataset table = hostTable({{"001", "Cheque", "B"},
                                  {"002", "Cheque", "1", "N"},
                                  {"003", "Vale", "B"},
                                  {"004", "Cheque", "1", ""},
                                  {"005", "Convenio", "1", "S", "2"}});
  reconcile(table);
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001"), kUntouched);
  EXPECT_EQ(result.at("002"), kUntouched);
  EXPECT_EQ(result.at("003"), kUntouched);
  EXPECT_EQ(result.at("004"), (Outcome{"Cheque", "S", "S"}));
  EXPECT_EQ(result.at("005"), kUntouched);
  EXPECT_TRUE(printer().commandsNamed("DefineMeioPagamento").empty());

  // The host's table is left showing its payment buttons only, past the last one.
  EXPECT_TRUE(table.filtered());
  EXPECT_EQ(table.filter(), "IDTPBUTTON = '5'");
  EXPECT_EQ(table.recordCount(), 4);
  EXPECT_TRUE(table.eof());
  // The working copy got everything.
  EXPECT_EQ(dtmEcf01600->cdsReceb.data().rowCount(), 5u);
}

TEST_F(PaymentMethodsTest, TypesOfTheSameFiscalNameShareTheirPrinterMark) {
  setPaymentMethods({"Cheque", "Rel Gerencial"});
  ecf::Dataset table = hostTable({{"001", "Cheque", "1", "S", "5", "07"},
                                  {"002", "CHEQUE", "1", "S", "5", ""},
                                  {"003", "Cheque", "1", "S", "5", " "}});
  reconcile(table);
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001").mark, "07");
  EXPECT_EQ(result.at("002").mark, "07");
  EXPECT_EQ(result.at("003").mark, "07");
}

TEST_F(PaymentMethodsTest, ARefusedDefinitionLeavesTheRowAndItsCode) {
  setPaymentMethods({});
  printer().refuseNext("DefineMeioPagamento");
  ecf::Dataset table = hostTable({{"001", "Cheque"}, {"002", "Ticket"}});
  reconcile(table);
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001"), kUntouched);
  EXPECT_EQ(result.at("002"), (Outcome{"Ticket", "S", "S"}));
  EXPECT_EQ(sentValues("DefineMeioPagamento", "CodMeioPagamentoProgram"),
            (std::vector<std::string>{"0", "0", "1"}));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_TRUE(logContains(kRefusalLogLine));
}

TEST_F(PaymentMethodsTest, TheHostInterfaceGetsItsTurnOncePerRow) {
  int turns = 0;
  ecf_SetMessagePump([&] { ++turns; });
  setPaymentMethods({"Cheque", "Rel Gerencial"});
  ecf::Dataset table = hostTable({{"001", "Cheque"},
                                  {"002", "Cheque", "B"},
                                  {"003", "Cheque", "1", "S", "1"},
                                  {"004", "Cheque"}});
  reconcile(table);
  EXPECT_EQ(turns, 3);
}

TEST_F(PaymentMethodsTest, AHostTableWithoutTheFiscalNameIsRefusedWithAPlainMessage) {
  ecf::Dataset table("TiposRecebimento");
  table.setData(ecf::DataPacket({{"CDTIPORECE", ecf::FieldType::Text, 3},
                                 {"IDTPBUTTON", ecf::FieldType::Text, 1}},
                                {{"001", "5"}}));
  reconcile(table);
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_THAT(op().messages()[0].text, HasSubstr("IDTIPORECE"));
  EXPECT_EQ(op().messages()[0].scheme, "007");
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_FALSE(table.filtered());

  // Every other field there but the fiscal name: the message names it.
  op().clear();
  table.setData(ecf::DataPacket({{"CDTIPORECE", ecf::FieldType::Text, 3},
                                 {"IDTPBUTTON", ecf::FieldType::Text, 1},
                                 {"IDTIPORECE", ecf::FieldType::Text, 1},
                                 {"IDMOSTRARECE", ecf::FieldType::Text, 1},
                                 {"NMTIPORECE", ecf::FieldType::Text, 40},
                                 {"CDFPIMPFIS", ecf::FieldType::Text, 10},
                                 {"IDEMIVALE", ecf::FieldType::Text, 1}},
                                {{"001", "5", "1", "S", "", "", ""}}));
  reconcile(table);
  ASSERT_EQ(op().messages().size(), 1u);
  EXPECT_THAT(op().messages()[0].text, HasSubstr("DSIMPFISCAL"));
  EXPECT_TRUE(printer().commands().empty());
}

TEST_F(PaymentMethodsTest, ATypeWithoutAFiscalNameMatchesNothing) {
  setPaymentMethods({"Rel Gerencial"});
  ecf::Dataset table = hostTable({{"001", ""}, {"002", "   "}});
  reconcile(table);
  const auto result = outcomes(table);
  EXPECT_EQ(result.at("001"), kUntouched);
  EXPECT_EQ(result.at("002"), kUntouched);
  EXPECT_TRUE(printer().commandsNamed("DefineMeioPagamento").empty());
}

TEST_F(PaymentMethodsTest, OneMethodIsDefinedOnDemand) {
  setPaymentMethods({"Cheque"});
  EXPECT_TRUE(Config_FormaPg("007", "Cartao de Credito Visa", false, false));
  EXPECT_THAT(sentParams(printer().commands().back()),
              ElementsAre(SentParam{"CodMeioPagamentoProgram", "", PARAMETRO_UINT},
                          SentParam{"DescricaoMeioPagamento", "", PARAMETRO_STRING},
                          SentParam{"NomeMeioPagamento", "Cartao de Credit", PARAMETRO_STRING},
                          SentParam{"PermiteVinculado", "Y", PARAMETRO_INDICADOR}));
  EXPECT_THAT(newDebugLines(),
              ElementsAre("Comando Executado: DefineMeioPagamento : Cartao de CreditY"));
  EXPECT_EQ(printerNames("methods"), (std::vector<std::string>{"Cheque", "Cartao de Credit"}));

  // The printer will not hold the same name twice; the refusal is logged, not shown.
  EXPECT_FALSE(Config_FormaPg("007", "cheque", false, false));
  EXPECT_TRUE(op().messages().empty());
}

}  // namespace
}  // namespace ecftest

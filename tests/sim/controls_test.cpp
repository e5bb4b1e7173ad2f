// The ecfsim_ controls: planned refusals, the command record, off line, out of paper,
// the clock, the drawer, configuration and reset.
#include <ctime>

#include <nlohmann/json.hpp>

#include "core/platform.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

class Controls : public SimTest {
 protected:
  nlohmann::json records() { return nlohmann::json::parse(record()); }
};

TEST_F(Controls, ARefusalPlannedForTheNextCommandAndItsRecord) {
  ASSERT_EQ(ecfsim_clear_record(kPort), 0);
  ASSERT_EQ(ecfsim_fail_command(kPort, nullptr, 1, 99, "FalhaMecanica", "Cabeça travada."), 0);
  Answer a = send("LeInteiro", {{"NomeInteiro", "COO", kText}});
  EXPECT_EQ(a.code, 99);
  EXPECT_EQ(a.result, -99);
  EXPECT_EQ(a.name, "FalhaMecanica");
  EXPECT_EQ(a.circumstance, "Cabeça travada.");
  EXPECT_EQ(a.returned, "");
  a = send("LeInteiro", {{"NomeInteiro", "COO", kText}});
  EXPECT_EQ(a.code, 0);

  const nlohmann::json log = records();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0]["command"], "LeInteiro");
  EXPECT_EQ(log[0]["result"], 99);
  EXPECT_EQ(log[0]["error"], "FalhaMecanica");
  EXPECT_EQ(log[1]["result"], 0);
  EXPECT_EQ(log[1]["returned"], "ValorInteiro=0");
  EXPECT_EQ(log[1]["params"],
            nlohmann::json::parse(R"([{"name":"NomeInteiro","value":"COO","type":7}])"));
}

TEST_F(Controls, TheNthCommandOfANameIsRefusedAndLeavesNoTrace) {
  ASSERT_EQ(ecfsim_fail_command(kPort, "VendaDeItem", 2, 77, nullptr, nullptr), 0);
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "1.00", "1").code, 0);
  EXPECT_EQ(readInteger("NumeroItens"), "1");  // other commands do not count
  Answer a = sell("2", "Pão de queijo", "0", "2.00", "1");
  EXPECT_EQ(a.code, 77);
  EXPECT_EQ(a.name, "FalhaSimulada");
  EXPECT_EQ(readInteger("NumeroItens"), "1");
  EXPECT_EQ(readMoney("GT"), "1,00");
  ASSERT_EQ(sell("2", "Pão de queijo", "0", "2.00", "1").code, 0);
  EXPECT_EQ(readMoney("GT"), "3,00");

  // The record keeps every command with its parameters in the order they were added.
  const nlohmann::json log = records();
  nlohmann::json refused;
  for (const auto& entry : log) {
    if (entry["result"] == 77) refused = entry;
  }
  ASSERT_FALSE(refused.is_null());
  EXPECT_EQ(refused["command"], "VendaDeItem");
  const std::vector<std::string> order = {"AliquotaICMS", "CodAliquota", "CodProduto",
                                          "NomeDepartamento", "NomeProduto", "PrecoUnitario",
                                          "Quantidade", "Unidade"};
  ASSERT_EQ(refused["params"].size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(refused["params"][i]["name"], order[i]);
  }
  EXPECT_EQ(refused["params"][4]["value"], "Pão de queijo");  // back in UTF-8
  EXPECT_EQ(refused["params"][5]["type"], kMoney);
  ASSERT_EQ(ecfsim_clear_record(kPort), 0);
  EXPECT_EQ(record(), "[]");
}

TEST_F(Controls, PlannedRefusalsSurviveTheProcessAndCanBeDropped) {
  ASSERT_EQ(ecfsim_fail_command(kPort, "EmiteReducaoZ", 1, 15, "Falha", "Z"), 0);
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  EXPECT_EQ(send("EmiteReducaoZ").code, 15);
  ASSERT_EQ(ecfsim_fail_command(kPort, nullptr, 3, 16, "Falha", "3"), 0);
  ASSERT_EQ(ecfsim_clear_faults(kPort), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(send("LeInteiro", {{"NomeInteiro", "COO", kText}}).code, 0);
  EXPECT_EQ(ecfsim_fail_command(kPort, nullptr, 0, 1, nullptr, nullptr), -1);
  EXPECT_EQ(ecfsim_fail_command(kPort, nullptr, 1, 0, nullptr, nullptr), -1);
}

TEST_F(Controls, ScriptedAnswersReplaceTheCommandInTheOrderPlanned) {
  ASSERT_EQ(ecfsim_script_answer(kPort, "LeMoeda", -5, 0, nullptr, nullptr,
                                 "ValorMoeda=12.345,67"), 0);
  ASSERT_EQ(ecfsim_script_answer(kPort, "LeMoeda", 0, 0, nullptr, nullptr, "ValorMoeda="), 0);
  ASSERT_EQ(ecfsim_script_answer(kPort, "abrecupomfiscal", 0, -1, "", "", "COO=77"), 0);
  Answer a = send("LeMoeda", {{"NomeDadoMonetario", "GT", kText}});
  EXPECT_EQ(a.result, -5);
  EXPECT_EQ(a.code, 0);
  EXPECT_EQ(a.returned, "ValorMoeda=12.345,67");
  a = send("LeMoeda", {{"NomeDadoMonetario", "GT", kText}});
  EXPECT_EQ(a.returned, "ValorMoeda=");
  EXPECT_EQ(send("LeMoeda", {{"NomeDadoMonetario", "GT", kText}}).returned, "ValorMoeda=0,00");
  // The scripted command is not carried out.
  a = send("AbreCupomFiscal");
  EXPECT_EQ(a.code, -1);
  EXPECT_EQ(a.returned, "COO=77");
  EXPECT_EQ(readInteger("COO"), "0");
  EXPECT_EQ(readInteger("EstadoFiscal"), "1");
}

TEST_F(Controls, OffLineRefusesEverythingAndOutOfPaperRefusesPrinting) {
  ASSERT_EQ(ecfsim_set_offline(kPort, 1), 0);
  Answer a = send("LeInteiro", {{"NomeInteiro", "COO", kText}});
  EXPECT_EQ(a.code, 10);
  EXPECT_EQ(a.name, "ImpressoraNaoResponde");
  EXPECT_EQ(send("AbreCupomFiscal").code, 10);
  ASSERT_EQ(ecfsim_set_offline(kPort, 0), 0);

  ASSERT_EQ(ecfsim_set_paper_out(kPort, 1), 0);
  a = send("AbreCupomFiscal");
  EXPECT_EQ(a.code, 11);
  EXPECT_EQ(a.name, "SemPapel");
  EXPECT_EQ(std::stoi(readInteger("Indicadores")) & 256, 256);
  EXPECT_EQ(send("AbreGaveta", {{"TempoAcionamentoGaveta", "200", kUInt}}).code, 0);
  ASSERT_EQ(ecfsim_set_paper_out(kPort, 0), 0);
  EXPECT_EQ(std::stoi(readInteger("Indicadores")) & 256, 0);
  EXPECT_EQ(send("AbreCupomFiscal").code, 0);
}

TEST_F(Controls, TheClockMovesByAnOffsetOrToAFixedTime) {
  ASSERT_EQ(ecfsim_move_clock(kPort, 90 * 60), 0);
  Answer a = send("LeHora", {{"NomeHora", "hora", kText}});
  EXPECT_EQ(a.returned, "ValorHora=\"113000\"");
  ASSERT_EQ(ecfsim_set_clock(kPort, "2025-12-31 23:59:59"), 0);
  EXPECT_EQ(readDate("Data"), "311225");
  EXPECT_EQ(ecfsim_set_clock(kPort, "2025-02-30 10:00:00"), -1);
  EXPECT_EQ(readDate("Data"), "311225");
  // Back on the computer's clock.
  ASSERT_EQ(ecfsim_set_clock(kPort, ""), 0);
  const std::tm local = ecfsim::platform::localTime(std::time(nullptr));
  char expected[16];
  std::strftime(expected, sizeof expected, "%d%m%y", &local);
  EXPECT_EQ(readDate("Data"), expected);
}

TEST_F(Controls, ConfigurationFromJsonOnAClosedPrinter) {
  const char* port = "COM9";
  const char* config = R"({
    "serial": "VP999", "ecfNumber": 12, "model": "ECF TESTE",
    "taxRates": [{"code": 0, "percent": "17,00"}, {"code": 3, "percent": 2.5, "icms": false}],
    "paymentMethods": [{"code": 0, "name": "Cartão", "allowsLinked": true}],
    "nonFiscalTotalizers": [{"code": 0, "name": "Suprimento"},
                            {"code": 1, "name": "Sangria", "entry": false}],
    "drawerSensor": true, "fixedTime": "2024-06-01 08:00:00"
  })";
  ASSERT_EQ(ecfsim_configure(port, config), 0);
  // Bad configurations change nothing.
  EXPECT_EQ(ecfsim_configure(port, "{\"serail\": \"X\"}"), -3);
  EXPECT_EQ(ecfsim_configure(port, "{\"ecfNumber\": 0}"), -3);
  EXPECT_EQ(ecfsim_configure(port, "not json"), -1);
  EXPECT_EQ(ecfsim_configure(port, R"({"serial": "OUTRO", "taxRates": [{"code": 16, "percent": 1}]})"),
            -3);

  const std::int32_t channel = dll().IniciaDriver(port);
  ASSERT_GT(channel, 0);
  Answer a = sendOn(channel, "LeTexto", {{"NomeTexto", "NumeroSerieECF", kText}});
  EXPECT_EQ(a.returned, "ValorTexto=\"VP999\"");
  a = sendOn(channel, "LeInteiro", {{"NomeInteiro", "ECF", kText}});
  EXPECT_EQ(a.returned, "ValorInteiro=12");
  a = sendOn(channel, "LeAliquota", {{"CodAliquotaProgramavel", "3", kUInt}});
  EXPECT_EQ(a.returned, "AliquotaICMS=N CodAliquotaProgramavel=03 PercentualAliquota=2,50");
  EXPECT_EQ(sendOn(channel, "LeAliquota", {{"CodAliquotaProgramavel", "1", kUInt}}).code, 30);
  a = sendOn(channel, "LeNaoFiscal", {{"CodNaoFiscal", "1", kUInt}});
  EXPECT_EQ(a.returned,
            "CodNaoFiscal=1 DescricaoNaoFiscal=\"\" NomeNaoFiscal=\"Sangria\" TipoNaoFiscal=f");
  a = sendOn(channel, "LeIndicador", {{"NomeIndicador", "SensorGaveta", kText}});
  EXPECT_EQ(a.returned[23], '1');
  a = sendOn(channel, "LeData", {{"NomeData", "Data", kText}});
  EXPECT_EQ(a.returned, "ValorData=\"010624\"");
  // A control on an open printer acts on it at once.
  ASSERT_EQ(ecfsim_set_drawer(port, 0), 0);
  a = sendOn(channel, "LeIndicador", {{"NomeIndicador", "SensorGaveta", kText}});
  EXPECT_EQ(a.returned[23], '0');
  dll().EncerraDriver(channel);
}

TEST_F(Controls, ResetWipesAnOpenPrinter) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "1.00", "1").code, 0);
  ASSERT_FALSE(tape().empty());
  ASSERT_EQ(ecfsim_reset(kPort), 0);
  EXPECT_EQ(readInteger("COO"), "0");
  EXPECT_EQ(readInteger("EstadoFiscal"), "1");
  EXPECT_EQ(readMoney("GT"), "0,00");
  EXPECT_EQ(tape(), "");
  EXPECT_EQ(nlohmann::json::parse(record()).size(), 3u);  // the three reads above
}

TEST_F(Controls, TextControlsReportTheirLengthAndNeverSplitACharacter) {
  openReceipt();
  const std::string full = tape();
  const int length = ecfsim_get_tape(kPort, nullptr, 0);
  EXPECT_EQ(length, static_cast<int>(full.size()));
  // "EMPRESA DEMONSTRAÇÃO": a buffer ending inside "Ç" stops before it.
  const auto cedilla = full.find("Ç");
  ASSERT_NE(cedilla, std::string::npos);
  std::vector<char> buffer(cedilla + 2);  // room for the first byte of Ç only
  EXPECT_EQ(ecfsim_get_tape(kPort, buffer.data(), static_cast<int>(buffer.size())), length);
  EXPECT_EQ(std::string(buffer.data()), full.substr(0, cedilla));
  EXPECT_LT(ecfsim_get_tape(nullptr, nullptr, 0), 0);
  const std::string tapePath =
      controlText([](char* b, int s) { return ecfsim_get_tape_path(kPort, b, s); });
  EXPECT_EQ(std::filesystem::path(tapePath), directory() / "tape.txt");
}

}  // namespace
}  // namespace simtest

// `ecfhost demo`: a whole working day on a fresh virtual printer, judged by what the
// printer printed and recorded and by what the module logged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <regex>

#include "ecfhost/run_tool.h"

namespace ecfhosttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::size_t characters(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// A tape line: `left`, then `right` flush with column 48.
std::string row(const std::string& left, const std::string& right) {
  return left + std::string(48 - characters(left) - characters(right), ' ') + right + "\n";
}

// What a document is: the first centred line after its "... COO:nnnnnn" header line.
std::string title(const std::string& document) {
  static const std::regex counters(R"(COO:\d{6}\n(?:[^ \n][^\n]*\n)* +([^\n]*)\n)");
  std::smatch match;
  return std::regex_search(document, match, counters) ? std::string(match[1]) : "";
}

std::map<std::string, int> commandCounts(const std::filesystem::path& record) {
  std::map<std::string, int> counts;
  std::istringstream lines(readFile(record));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) ++counts[nlohmann::json::parse(line).at("command").get<std::string>()];
  }
  return counts;
}

std::map<std::string, int> loggedCommandCounts(const std::filesystem::path& hostDirectory) {
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(hostDirectory)) {
    if (entry.path().filename().string().rfind("impdebug", 0) == 0) log += readFile(entry.path());
  }
  static const std::regex executed(R"((^|\n)Comando Executado: (\w+))");
  std::map<std::string, int> counts;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), executed);
       it != std::sregex_iterator(); ++it) {
    ++counts[(*it)[2]];
  }
  return counts;
}

TEST(EcfhostDemo, RunsAWholeWorkingDayOnAFreshPrinter) {
  ScratchDirectory scratch;
  const auto day = scratch.path() / "day";
  const ToolRun run = runTool({"demo", "--dir", day.string()}, scratch.path());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, HasSubstr("Every step succeeded."));
  EXPECT_THAT(run.output,
              HasSubstr("Tape:             " + (day / "printers" / "ECF1" / "tape.txt").string()));
  EXPECT_THAT(run.output,
              HasSubstr("Grand-total file: " + (day / "host" / "Merkato.cds").string() + "\n"));
  EXPECT_GT(std::filesystem::file_size(day / "host/Merkato.cds"), 0u);

  const std::vector<std::string> documents =
      tapeDocuments(readFile(day / "printers/ECF1/tape.txt"));
  std::vector<std::string> titles;
  for (const auto& document : documents) titles.push_back(title(document));
  ASSERT_THAT(titles, ElementsAre("COMPROVANTE NÃO-FISCAL", "CUPOM FISCAL", "CUPOM FISCAL",
                                  "CUPOM FISCAL", "CUPOM FISCAL", "COMPROVANTE NÃO-FISCAL",
                                  "RELATÓRIO GERENCIAL", "LEITURA X", "RELATÓRIO GERENCIAL",
                                  "RELATÓRIO GERENCIAL", "RELATÓRIO GERENCIAL", "REDUÇÃO Z"));

  // The cash supply, paid in cash.
  EXPECT_THAT(documents[0], HasSubstr(row("00 Suprimento", "150,00") + row("TOTAL R$", "150,00") +
                                      row("Dinheiro", "150,00")));
  // Sale 1: cash with change.
  EXPECT_THAT(documents[1], HasSubstr(row("    3,000 UN x 4,50 T00", "13,50")));
  EXPECT_THAT(documents[1], HasSubstr(row("TOTAL R$", "24,50") + row("Dinheiro", "30,00") +
                                      row("TROCO R$", "5,50")));
  // Sale 2: CPF, accented names, item 3 cancelled, discount, two payments, change.
  EXPECT_THAT(documents[2], HasSubstr("CPF/CNPJ consumidor: 529.982.247-25\n"));
  EXPECT_THAT(documents[2], HasSubstr("001 1003 Açaí 500ml\n"));
  EXPECT_THAT(documents[2], HasSubstr("002 1001 Pão de queijo\n"));
  EXPECT_THAT(documents[2], HasSubstr(row("CANCELAMENTO DO ITEM 003", "-8,00") +
                                      "004 1005 Água mineral 500ml\n"));
  EXPECT_THAT(documents[2], HasSubstr(row("SUBTOTAL R$", "31,40") + row("DESCONTO R$", "-1,40") +
                                      row("TOTAL R$", "30,00") + row("Cartão de débito", "20,00") +
                                      row("Dinheiro", "20,00") + row("TROCO R$", "10,00")));
  EXPECT_THAT(documents[2], HasSubstr("NOME : Maria da Conceição\n"));
  // Sale 3: the credit card's printer name is its fiscal name cut to 16 characters.
  EXPECT_THAT(documents[3], HasSubstr(row("TOTAL R$", "24,00") + row("Cartão de crédit", "24,00")));
  EXPECT_THAT(documents[3], HasSubstr("Mesa  : 12"));
  // The receipt cancelled in progress.
  EXPECT_THAT(documents[4], HasSubstr("Croissant de presunto\n"));
  EXPECT_THAT(documents[4],
              HasSubstr("CUPOM FISCAL CANCELADO\n" + row("VALOR CANCELADO R$", "7,90")));
  // The withdrawal, the report, the X reading and the Z reduction.
  EXPECT_THAT(documents[5], HasSubstr(row("01 Sangria", "80,00")));
  EXPECT_THAT(documents[6],
              HasSubstr(row("Vendas (R$)", "78,50") + row("Suprimento (R$)", "150,00") +
                        row("Sangria (R$)", "80,00")));
  for (const std::size_t reading : {7u, 11u}) {
    EXPECT_THAT(documents[reading], HasSubstr(row("VENDA BRUTA DIÁRIA", "95,80")));
    EXPECT_THAT(documents[reading], HasSubstr(row("CANCELAMENTO ICMS", "15,90")));
    EXPECT_THAT(documents[reading], HasSubstr(row("DESCONTO ICMS", "1,40")));
    EXPECT_THAT(documents[reading], HasSubstr(row("VENDA LÍQUIDA", "78,50")));
    // 150 in, 80 out, 24,50 and 20,00 - 10,00 change from the sales.
    EXPECT_THAT(documents[reading], HasSubstr(row("Dinheiro", "104,50")));
  }
  EXPECT_THAT(documents[11], HasSubstr(row("REDUÇÕES Z CRZ", "000001")));

  // The cash closing before the Z: the envelopes in two copies, the products sold grouped
  // by tax, and the money handed over against the sales.
  const std::string cash = row("000001 Dinheiro", "104,50");
  const std::string withdrawal = documents[8];
  ASSERT_NE(withdrawal.find(cash), std::string::npos);
  EXPECT_NE(withdrawal.find(cash, withdrawal.find(cash) + 1), std::string::npos);
  EXPECT_THAT(withdrawal, HasSubstr("Supervisor : 3 Bruno Carvalho\n"));
  EXPECT_THAT(withdrawal, HasSubstr("Operador : 7 Ana Souza\n"));
  EXPECT_THAT(documents[9], HasSubstr("Tributacao  18,00\n" +
                                      row("1001        Pão de queijo         5,00", "22,50")));
  EXPECT_THAT(documents[9], HasSubstr(row("Total de Descontos", "1,40")));
  EXPECT_THAT(documents[10], HasSubstr(row("TOTAL VENDAS", "78,50")));
  EXPECT_THAT(documents[10], HasSubstr(row("TOTAL SANGRIAS", "78,50") + "\n" +
                                       row("SOBRA", "0,00")));
  EXPECT_THAT(run.output, HasSubstr("Z data saved for the Z at COO 0000000012: gross sales 95,80"));

  // Every command the printer received has its debug-log line, but the silent closing
  // of a document left open that start-up sends before anything else.
  std::map<std::string, int> expected = commandCounts(day / "printers/ECF1/commands.jsonl");
  ASSERT_GT(expected["EncerraDocumento"], 0);
  --expected["EncerraDocumento"];
  EXPECT_EQ(loggedCommandCounts(day / "host"), expected);
  EXPECT_EQ(expected["VendaDeItem"], 9);
  EXPECT_EQ(expected["PagaCupom"], 5);
}

TEST(EcfhostDemo, AHostWithADecimalPointSendsItsAmountsWithAPoint) {
  ScratchDirectory scratch;
  const auto day = scratch.path() / "day";
  const ToolRun run = runTool({"demo", "--dir", day.string(), "--decimal-point"}, scratch.path());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, HasSubstr("opening float 150.00"));
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(day / "host")) {
    if (entry.path().filename().string().rfind("impdebug", 0) == 0) log += readFile(entry.path());
  }
  EXPECT_THAT(log, HasSubstr("Comando Executado: EmiteItemNaoFiscal - 00 -  - 150.00 - "));
  EXPECT_THAT(
      log,
      HasSubstr(
          "Comando Executado: VendaDeItem - 00 - 1001 - Pão de queijo - 4.500 - 3.000 - UN - "));
  EXPECT_THAT(log, HasSubstr("Comando Executado: AcresceSubtotal - Desconto - -1.40 - "));
  EXPECT_THAT(log, HasSubstr("Comando Executado: PagaCupom - Cartão de débito - 20.00 - "));
  EXPECT_THAT(log, HasSubstr("Comando Executado: EmiteItemNaoFiscal - 01 -  - 80.00 - "));
  // The printer reads either separator and prints its own.
  const std::string tape = readFile(day / "printers/ECF1/tape.txt");
  EXPECT_THAT(tape, HasSubstr(row("DESCONTO R$", "-1,40")));
  EXPECT_THAT(tape, HasSubstr(row("VENDA LÍQUIDA", "78,50")));
  // The module's own reports write the host's separator.
  EXPECT_THAT(tape, HasSubstr("1001        Pão de queijo         5.00     22.50\n"));
  EXPECT_THAT(tape, HasSubstr(row("TOTAL SANGRIAS", "78.50")));
}

TEST(EcfhostDemo, LeavesADirectoryInUseAloneUnlessToldToReuseIt) {
  ScratchDirectory scratch;
  const auto used = scratch.path() / "used";
  std::filesystem::create_directories(used / "printers");
  const ToolRun run = runTool({"demo", "--dir", used.string()}, scratch.path());
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_THAT(run.output, HasSubstr("pass --reuse"));
  EXPECT_FALSE(std::filesystem::exists(used / "host"));

  // With no --dir the day gets a directory of its own under the current one.
  const ToolRun fresh = runTool({"demo"}, scratch.path());
  ASSERT_EQ(fresh.status, 0) << fresh.output;
  int created = 0;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
    if (entry.path().filename().string().rfind("ecfhost-demo-", 0) == 0) ++created;
  }
  EXPECT_EQ(created, 1);
}

}  // namespace
}  // namespace ecfhosttest

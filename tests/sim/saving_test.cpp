// When the printer writes its memory: a command inside a document appends what it changed
// to the journal, a command that completes a document replaces the state file and starts
// the journal over, a reading or a refusal writes neither, and every command is recorded.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/test_platform.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

using Saving = SimTest;

std::string contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The printer's memory on disk: the state file (a replacement gives it a new identity)
// and the journal of the changes since.
struct Memory {
  unsigned long long identity = 0;
  std::string state;
  std::string journal;
  bool operator==(const Memory&) const = default;
};

Memory memory(const std::filesystem::path& directory) {
  return {testplatform::fileIdentity(directory / "state.json"), contents(directory / "state.json"),
          contents(directory / "journal.jsonl")};
}

std::size_t lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::size_t recordedCommands(const std::string& record) {
  std::size_t count = 0;
  for (std::size_t at = record.find("\"command\""); at != std::string::npos;
       at = record.find("\"command\"", at + 1)) {
    ++count;
  }
  return count;
}

TEST_F(Saving, ReadingsAndRefusalsWriteNothingAndChangesAreWrittenByWhatTheyChanged) {
  openReceipt();
  ASSERT_EQ(sell("1", "Pão de queijo", "0", "4.50", "2").code, 0);
  const Memory before = memory(directory());
  ASSERT_FALSE(before.state.empty());
  const std::size_t recordedBefore = recordedCommands(record());

  struct Case {
    std::string command;
    std::vector<P> params;
    int code;  // 0 accepted, otherwise refused
  };
  const std::vector<Case> untouched = {
      {"LeInteiro", {{"NomeInteiro", "NumeroItens", kText}}, 0},
      {"LeMoeda", {{"NomeDadoMonetario", "SubtotalCupom", kText}}, 0},
      {"LeData", {{"NomeData", "Data", kText}}, 0},
      {"LeHora", {{"NomeHora", "Hora", kText}}, 0},
      {"LeTexto", {{"NomeTexto", "NumeroSerieECF", kText}}, 0},
      {"LeIndicador", {{"NomeIndicador", "DiaAberto", kText}}, 0},
      {"LeAliquota", {{"CodAliquotaProgramavel", "0", kUInt}}, 0},
      {"LeMeioPagamento", {{"CodMeioPagamentoProgram", "-2", kUInt}}, 0},
      {"LeInteiro", {{"NomeInteiro", "NaoExiste", kText}}, 1},
      // refusals of commands that would change the memory
      {"VendaDeItem", {{"CodAliquota", "0", kUInt}, {"CodProduto", "2", kText}}, 1},
      {"EmiteReducaoZ", {}, 1},
  };
  for (const Case& c : untouched) {
    const Answer answer = send(c.command, c.params);
    EXPECT_EQ(answer.code == 0, c.code == 0) << c.command << ": " << answer.circumstance;
    EXPECT_TRUE(memory(directory()) == before) << c.command;
  }
  EXPECT_EQ(recordedCommands(record()), recordedBefore + untouched.size());

  // An item inside the receipt: one more journal line holding that item and not the one
  // before it; the state file untouched.
  ASSERT_EQ(sell("2", "Café", "0", "3.00", "1").code, 0);
  const Memory afterSale = memory(directory());
  EXPECT_EQ(afterSale.identity, before.identity);
  EXPECT_EQ(afterSale.state, before.state);
  ASSERT_EQ(afterSale.journal.compare(0, before.journal.size(), before.journal), 0);
  const std::string added = afterSale.journal.substr(before.journal.size());
  EXPECT_EQ(lines(added), 1u);
  EXPECT_NE(added.find("Café"), std::string::npos);
  EXPECT_EQ(added.find("Pão de queijo"), std::string::npos);
  EXPECT_EQ(readInteger("NumeroItens"), "2");

  // The receipt's end: the state file replaced (never written over), the journal empty.
  ASSERT_EQ(pay("Dinheiro", "12.00").code, 0);
  ASSERT_EQ(close().code, 0);
  const Memory afterClose = memory(directory());
  EXPECT_NE(afterClose.identity, before.identity);
  EXPECT_NE(afterClose.state.find("Café"), std::string::npos);
  EXPECT_EQ(afterClose.journal, "");
  reopen();
  EXPECT_EQ(readInteger("COO"), "1");
  EXPECT_EQ(readMoney("GT"), "12,00");
}

// What the printer keeps open between commands it lets go of when it starts afresh:
// the new tape and record hold only what came after.
TEST_F(Saving, AfterAResetTheTapeAndTheRecordStartAgain) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1").code, 0);
  ASSERT_NE(tape().find("Cafe"), std::string::npos);
  ASSERT_EQ(ecfsim_reset(kPort), 0);
  openReceipt();
  ASSERT_EQ(sell("2", "Bolo", "0", "4.00", "1").code, 0);
  const std::string after = tape();
  EXPECT_EQ(after.find("Cafe"), std::string::npos);
  EXPECT_NE(after.find("Bolo"), std::string::npos);
  EXPECT_EQ(record().find("Cafe"), std::string::npos);
  EXPECT_EQ(recordedCommands(record()), 2u);
}

}  // namespace
}  // namespace simtest

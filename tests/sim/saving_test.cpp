// When the printer writes its memory: a command that changes it replaces the state file,
// a reading or a refusal leaves the file as it was, and every command is recorded.
#include <fstream>
#include <sstream>

#include "platform/test_platform.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

using Saving = SimTest;

// The state file's identity and contents: a replacement gives it a new identity.
struct StateFile {
  unsigned long long identity = 0;
  std::string contents;
  bool operator==(const StateFile&) const = default;
};

StateFile stateFile(const std::filesystem::path& directory) {
  StateFile file;
  file.identity = testplatform::fileIdentity(directory / "state.json");
  std::ifstream in(directory / "state.json", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  file.contents = text.str();
  return file;
}

std::size_t recordedCommands(const std::string& record) {
  std::size_t count = 0;
  for (std::size_t at = record.find("\"command\""); at != std::string::npos;
       at = record.find("\"command\"", at + 1)) {
    ++count;
  }
  return count;
}

TEST_F(Saving, ReadingsAndRefusalsLeaveTheStateFileAloneAndChangesReplaceIt) {
  openReceipt();
  ASSERT_EQ(sell("1", "Pão de queijo", "0", "4.50", "2").code, 0);
  const StateFile before = stateFile(directory());
  ASSERT_FALSE(before.contents.empty());
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
    EXPECT_TRUE(stateFile(directory()) == before) << c.command;
  }
  EXPECT_EQ(recordedCommands(record()), recordedBefore + untouched.size());

  ASSERT_EQ(sell("2", "Café", "0", "3.00", "1").code, 0);
  const StateFile afterSale = stateFile(directory());
  EXPECT_NE(afterSale.identity, before.identity);  // replaced, never written over
  EXPECT_NE(afterSale.contents, before.contents);
  EXPECT_EQ(readInteger("NumeroItens"), "2");
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

// The printer's memory survives the process: closing the channel, a crash in the middle
// of a save, a crash between printing and saving. And its directory never leaves the
// state root.
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

#include "base/utf8_path.h"
#include "core/printer.h"
#include "platform/child_role.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

class Persistence : public SimTest {
 protected:
  static void writeFile(const std::filesystem::path& path, const std::string& text,
                        std::ios::openmode mode = std::ios::trunc) {
    std::ofstream out(path, std::ios::binary | mode);
    out << text;
  }
};

TEST_F(Persistence, ReopeningAfterClosingTheChannelContinuesTheOpenReceipt) {
  ASSERT_EQ(send("DefineNaoFiscal", {{"NomeNaoFiscal", "Suprimento", kText}}).code, 0);
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "2").code, 0);
  const std::string tapeBefore = tape();
  reopen();
  EXPECT_EQ(readInteger("EstadoFiscal"), "2");
  EXPECT_EQ(readInteger("NumeroItens"), "1");
  EXPECT_EQ(readMoney("GT"), "6,00");
  EXPECT_EQ(tape().substr(0, tapeBefore.size()), tapeBefore);
  ASSERT_EQ(sell("2", "Bolo", "0", "4.00", "1").code, 0);
  ASSERT_EQ(pay("Dinheiro", "10.00").code, 0);
  ASSERT_EQ(close().code, 0);
  reopen();
  EXPECT_EQ(readInteger("COO"), "1");
  EXPECT_EQ(readMoney("TotalDiaDinheiro"), "10,00");
  EXPECT_EQ(send("LeNaoFiscal", {{"CodNaoFiscal", "0", kUInt}}).code, 0);
  EXPECT_EQ(readDate("DataAbertura"), "150324");  // the clock setting survives too
}

TEST_F(Persistence, ACrashMidSaveOrBetweenPrintingAndSavingLosesNothingKept) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1").code, 0);
  const std::filesystem::path dir = directory();
  const std::string tapeKept = tape();
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  channel_ = -1;
  // What a kill leaves behind: half a temporary state file, and lines on the tape the
  // state never heard of.
  writeFile(dir / "state.json.tmp", "{\"format\": 1, \"counters\": {\"coo\": 9");
  writeFile(dir / "tape.txt", "LINHA SEM ESTADO\n", std::ios::app);
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "state.json.tmp"));
  EXPECT_EQ(tape(), tapeKept);
  EXPECT_EQ(readInteger("COO"), "1");
  EXPECT_EQ(readInteger("EstadoFiscal"), "2");
  ASSERT_EQ(pay("Dinheiro", "3.00").code, 0);
  EXPECT_EQ(close().code, 0);
}

// The child: a sale begun on the printer of ECFSIM_ROOT, then the process just ends, with
// no EncerraDriver and no clean-up, as a killed one does.
const testplatform::ChildRole sellAndDie("sell-and-die", [] {
  const std::int32_t channel = dll().IniciaDriver("COM1");  // the fixture's port
  auto run = [&](const char* command, std::vector<P> params) {
    dll().LimpaParams(channel);
    for (const P& p : params) dll().AdicionaParam(channel, p.name.c_str(), p.value.c_str(), p.type);
    dll().ExecutaComando(channel, command);
    return dll().ObtemCodErro(channel);
  };
  int failures = run("AbreCupomFiscal", {});
  failures += run("VendaDeItem", {{"CodAliquota", "0", kUInt}, {"CodProduto", "1", kText},
                                  {"NomeProduto", "Cafe", kText},
                                  {"PrecoUnitario", "2.50", kMoney},
                                  {"Quantidade", "4", kMoney}});
  return failures == 0 ? 0 : 1;
});

TEST_F(Persistence, AProcessKilledWithoutClosingLeavesEverythingItDid) {
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  channel_ = -1;
  ASSERT_EQ(testplatform::runChildRole("sell-and-die"), 0);
  channel_ = dll().IniciaDriver(kPort);  // the lock died with the process
  ASSERT_GT(channel_, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "2");
  EXPECT_EQ(readMoney("GT"), "10,00");
}

TEST_F(Persistence, AReaderHoldingTheStateFileForAMomentDoesNotStopASave) {
  const std::filesystem::path statePath = directory() / "state.json";
  ASSERT_TRUE(std::filesystem::exists(statePath));
  std::promise<void> readerOpen;
  std::string seen;
  std::thread reader([&] {
    std::ifstream in(statePath, std::ios::binary);
    readerOpen.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  readerOpen.get_future().wait();
  const Answer opened = send("AbreCupomFiscal", {});
  reader.join();
  EXPECT_EQ(opened.code, 0) << opened.circumstance;
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), '{');  // the reader saw the old state whole
  EXPECT_EQ(seen.back(), '}');
  reopen();
  EXPECT_EQ(readInteger("EstadoFiscal"), "2");
}

// A command inside a document is written to the journal, one that completes a document
// replaces the state file: whichever cannot be written, the command is refused and leaves
// no trace, and the printer goes on once the file can be written again.
TEST_F(Persistence, ASaveThatCannotBeWrittenRefusesTheCommandAndKeepsAll) {
  struct Case {
    const char* blocked;
    const char* command;
    const char* counter;  // what the command would have moved
  };
  for (const Case& c : {Case{"state.json", "EmiteLeituraX", "COO"},
                        Case{"journal.jsonl", "AbreCupomFiscal", "COO"}}) {
    SCOPED_TRACE(c.blocked);
    const std::filesystem::path blocked = directory() / c.blocked;
    const std::string tapeBefore = tape();
    const std::string counterBefore = readInteger(c.counter);
    // Its name taken by a directory that holds something: no file can be written there.
    std::filesystem::remove(blocked);
    std::filesystem::create_directories(blocked / "inside");
    const Answer refused = send(c.command, {});
    EXPECT_EQ(refused.code, 12) << refused.circumstance;  // FalhaGravacao
    EXPECT_EQ(refused.name, "FalhaGravacao");
    EXPECT_EQ(tape(), tapeBefore);
    EXPECT_EQ(readInteger(c.counter), counterBefore);
    EXPECT_FALSE(std::filesystem::exists(directory() / "state.json.tmp"));
    std::filesystem::remove_all(blocked);
    const Answer done = send(c.command, {});
    EXPECT_EQ(done.code, 0) << done.circumstance;
    reopen();
    EXPECT_EQ(readInteger(c.counter), std::to_string(std::stoi(counterBefore) + 1));
  }
}

TEST_F(Persistence, OnlyOneHolderAndAnUnreadableStateRefusesToOpen) {
  const std::filesystem::path dir = directory();
  // The same printer cannot be driven from elsewhere while a channel holds it.
  EXPECT_THROW(ecfsim::Printer::open(dir), ecfsim::OpenError);
  // A second channel of this process shares the printer.
  const std::int32_t second = dll().IniciaDriver(kPort);
  ASSERT_GT(second, 0);
  EXPECT_NE(second, channel_);
  ASSERT_EQ(sendOn(second, "AbreCupomFiscal", {}).code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "2");
  ASSERT_EQ(dll().EncerraDriver(second), 0);
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  channel_ = -1;

  writeFile(dir / "state.json", "{ not json");
  EXPECT_LT(dll().IniciaDriver(kPort), 0);
  EXPECT_EQ(ecfsim_reset(kPort), 0);  // the wipe works on an unreadable state too
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  EXPECT_EQ(readInteger("COO"), "0");
}

TEST_F(Persistence, PortTextsNeverLeaveTheStateRoot) {
  for (const char* port : {"../../etc", "..", "/dev/ttyS0", "a/../../b", "COM1:", ".hidden",
                           "C:\\Windows\\system32", ""}) {
    const std::int32_t channel = dll().IniciaDriver(port);
    ASSERT_GT(channel, 0) << port;
    const std::filesystem::path dir = ecf::pathFromUtf8(controlText(
        [&](char* b, int s) { return ecfsim_get_directory(port, b, s); }));
    EXPECT_EQ(dir.parent_path(), root_) << port;
    const std::string name = dir.filename().string();
    EXPECT_EQ(name.find(".."), std::string::npos) << port;
    EXPECT_NE(name[0], '.') << port;
    EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-"),
              std::string::npos)
        << port;
    EXPECT_EQ(dll().EncerraDriver(channel), 0);
  }
  EXPECT_EQ(ecf::pathFromUtf8(controlText([](char* b, int s) {
              return ecfsim_get_directory("", b, s);
            })).filename(),
            "default");
  EXPECT_FALSE(std::filesystem::exists(root_.parent_path() / "etc" / "state.json"));
}

TEST_F(Persistence, APortThatCannotBeOpenedGivesANegativeChannel) {
  ASSERT_EQ(ecfsim_refuse_open("COM7", 1), 0);
  EXPECT_LT(dll().IniciaDriver("COM7"), 0);
  ASSERT_EQ(ecfsim_refuse_open("COM7", 0), 0);
  const std::int32_t channel = dll().IniciaDriver("COM7");
  EXPECT_GT(channel, 0);
  dll().EncerraDriver(channel);
  // A state root that is a file cannot hold printers.
  writeFile(root_ / "not-a-dir", "x");
  testplatform::setEnvironment("ECFSIM_ROOT", ecf::utf8FromPath(root_ / "not-a-dir"));
  EXPECT_LT(dll().IniciaDriver("COM8"), 0);
  EXPECT_LT(ecfsim_set_offline("COM8", 1), 0);
  testplatform::setEnvironment("ECFSIM_ROOT", ecf::utf8FromPath(root_));
}

}  // namespace
}  // namespace simtest

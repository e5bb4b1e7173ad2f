// A working day killed at random moments, as a power cut or a crashed host would, each
// kill followed by a restart on the same directories. Whatever the moment, nothing that
// was done is lost, the printer's memory, its tape and the host's grand-total file agree,
// and no counter goes backwards.
//
// The child reports each operation that completed; the parent checks, after the restart,
// that the printer holds at least all of it. Nothing here depends on how or when the
// printer saves, only on what it promises.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>
#include <thread>

#include "receipt/receipt_fixture.h"
#include "support/grand_total_file.h"

namespace ecftest {
namespace {

using nlohmann::json;

constexpr int kKills = 30;
constexpr std::int64_t kSaleCents = 1000;  // every sale is one item of 10,00

// What the child reports through its pipe, one byte per completed operation.
constexpr char kSaleClosed = 'S';
constexpr char kTotalRecorded = 'T';
constexpr char kReportPrinted = 'R';
constexpr char kReadingTaken = 'X';

// What a restart finds, to compare with the next one.
struct Reading {
  std::int64_t grandTotal = 0;
  json counters;
  std::int64_t recordedTotal = 0;  // the grand-total file's, in cents
};

std::int64_t cents(std::string amount) {
  std::replace(amount.begin(), amount.end(), ',', '.');
  return std::llround(std::strtod(amount.c_str(), nullptr) * 100);
}

// The COO of each document on the tape, in order (from its header line).
std::vector<int> documentCoos(const std::string& tape) {
  static const std::string separator(48, '=');
  static const std::regex header(R"(COO:(\d{6})$)");
  std::vector<int> coos;
  std::smatch found;
  bool inHeader = false;
  for (std::size_t start = 0; start < tape.size();) {
    const std::size_t end = std::min(tape.find('\n', start), tape.size());
    const std::string line = tape.substr(start, end - start);
    if (line == separator) {
      inHeader = true;
    } else if (inHeader && std::regex_search(line, found, header)) {
      coos.push_back(std::stoi(found[1]));
      inHeader = false;
    }
    start = end + 1;
  }
  return coos;
}

class KilledDayTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    writeGrandTotalFile(grandTotalPath(), "S", "10,10", "SIM0001");
    ASSERT_TRUE(recordTotal());
  }

  std::string grandTotalPath() const { return hostDir_ + "Merkato.cds"; }

  bool recordTotal() {
    return Atu_TotGeral(ecf::makeBag({{"CDFILIAL", "1"},
                                      {"CDCAIXA", "1"},
                                      {"NRSERIEIMP", "SIM0001"},
                                      {"ESQUEMACOR", kScheme},
                                      {"IDVALIDA", "N"}}));
  }

  bool sale() {
    ecf::Variant opening = openingBag();
    ecf::Variant item = itemBag("100", "Pão de queijo", 1.0, 10.0);
    Closing closing;
    closing.payments({{"E", 1, "001", 10.0}});
    return AbreCupom(opening) && VendaItem(item) && close(closing);
  }

  bool report() {
    return Relatorio_Gerencial_Imp(kScheme, "", "", "") &&
           Usa_CompNFis(kScheme, "Conferência de caixa\nTurno da manhã\n") &&
           FechRelatGerenc(kScheme, false, false);
  }

  // The child: starts the printer and works until it is killed, reporting each
  // operation that completed.
  [[noreturn]] void workUntilKilled(int report_) {
    const auto tell = [&](char what) {
      if (::write(report_, &what, 1) != 1) ::_exit(4);
    };
    if (!start()) ::_exit(3);
    for (int round = 0;; ++round) {
      if (sale()) tell(kSaleClosed);
      if (recordTotal()) tell(kTotalRecorded);
      if (round % 2 == 1 && report()) tell(kReportPrinted);
      if (round % 3 == 2 && Leitura_X_Imp("", kScheme, "")) tell(kReadingTaken);
    }
  }

  // Forks the child, waits until it has reported `done` operations, lets it work for
  // `delay` more, kills it, and returns everything it reported. Waiting for reports rather
  // than for a time keeps the kills in the middle of real work on a slow machine too.
  std::string runAndKill(int done, std::chrono::microseconds delay) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
      ::close(pipeEnds[0]);
      workUntilKilled(pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    std::string reported;
    char buffer[256];
    while (static_cast<int>(reported.size()) < done) {
      pollfd wait{pipeEnds[0], POLLIN, 0};
      if (::poll(&wait, 1, 60'000) <= 0) break;  // a child that stalls fails below
      const ssize_t got = ::read(pipeEnds[0], buffer, 1);
      if (got <= 0) break;
      reported.append(buffer, 1);
    }
    EXPECT_EQ(static_cast<int>(reported.size()), done) << "the child stopped working";
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself, status " << status;
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
      reported.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    return reported;
  }

  // Restarts on the same directories and checks that the memory, the tape and the
  // grand-total file agree with each other and with everything `before` and the child's
  // report promise.
  Reading restartAndCheck(const Reading& before, const std::string& reported) {
    Reading now;
    EXPECT_TRUE(start()) << "the restart must succeed";
    const json state = printer().state();
    const std::string tape = printer().tape();
    now.grandTotal = state["grandTotal"].get<std::int64_t>();
    now.counters = state["counters"];

    // The tape holds whole lines, exactly as long as the memory says, and one document
    // for each COO the printer counted, in order.
    EXPECT_EQ(state["tapeBytes"].get<std::int64_t>(), static_cast<std::int64_t>(tape.size()));
    EXPECT_TRUE(tape.empty() || tape.back() == '\n');
    const std::vector<int> coos = documentCoos(tape);
    const int coo = now.counters["coo"].get<int>();
    EXPECT_EQ(coos.empty() ? -1 : coos.back(), coo)
        << "the memory and the tape disagree on the last document";
    for (std::size_t i = 1; i < coos.size(); ++i) {
      EXPECT_TRUE(coos[i] == coos[i - 1] || coos[i] == coos[i - 1] + 1)
          << "COO " << coos[i - 1] << " followed by " << coos[i];
    }

    // Nothing the child finished is lost; no counter goes backwards.
    const auto count = [&](char what) {
      return static_cast<int>(std::count(reported.begin(), reported.end(), what));
    };
    const int sales = count(kSaleClosed);
    EXPECT_GE(now.grandTotal, before.grandTotal + sales * kSaleCents);
    EXPECT_GE(now.counters["ccf"].get<int>(), before.counters["ccf"].get<int>() + sales);
    EXPECT_GE(coo, before.counters["coo"].get<int>() + sales + count(kReportPrinted) +
                       count(kReadingTaken));
    for (const auto& [name, value] : before.counters.items()) {
      if (name == "cooStartOfDay") continue;  // a day's first COO, not a count
      EXPECT_GE(now.counters[name].get<int>(), value.get<int>()) << "counter " << name;
    }

    // The grand-total file is whole, never ahead of the printer, and keeps at least what
    // the child last recorded.
    now.recordedTotal = cents(recordedGrandTotal(grandTotalPath()));
    EXPECT_LE(now.recordedTotal, now.grandTotal);
    EXPECT_GE(now.recordedTotal, before.recordedTotal);
    const std::size_t lastRecord = reported.rfind(kTotalRecorded);
    if (lastRecord != std::string::npos) {
      const auto salesBefore =
          std::count(reported.begin(), reported.begin() + static_cast<std::ptrdiff_t>(lastRecord),
                     kSaleClosed);
      EXPECT_GE(now.recordedTotal, before.grandTotal + salesBefore * kSaleCents);
    }

    // Recording again works, and leaves no temporary file of a killed save behind.
    EXPECT_TRUE(recordTotal());
    now.recordedTotal = cents(recordedGrandTotal(grandTotalPath()));
    EXPECT_EQ(now.recordedTotal, now.grandTotal);
    for (const auto& entry : std::filesystem::directory_iterator(hostDir_)) {
      EXPECT_EQ(entry.path().filename().string().find("Merkato.cds.tmp-"), std::string::npos)
          << entry.path();
    }
    return now;
  }
};

TEST_F(KilledDayTest, AKillAtAnyMomentLosesNothingAndTheRestartAgrees) {
  Reading reading;
  reading.grandTotal = printer().state()["grandTotal"].get<std::int64_t>();
  reading.counters = printer().state()["counters"];
  reading.recordedTotal = cents(recordedGrandTotal(grandTotalPath()));
  std::mt19937 random(20261208);
  // From before the child has even started the printer to the middle of its ninth
  // operation: a receipt, a save of the grand-total file, a report or a reading.
  std::uniform_int_distribution<int> operationsDone(0, 8);
  std::uniform_int_distribution<int> delayMicros(0, 40'000);
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill + 1));
    ASSERT_TRUE(FechaPorta());  // the child opens the printer itself
    const int done = operationsDone(random);
    const std::string reported =
        runAndKill(done, std::chrono::microseconds(delayMicros(random)));
    reading = restartAndCheck(reading, reported);
    if (HasFatalFailure()) return;
  }
  // The printer still sells.
  EXPECT_TRUE(sale());
}

}  // namespace
}  // namespace ecftest

// A host whose second thread writes to the module's debug log while the first one sells:
// the log line waits its turn like any other operation.
#include <chrono>
#include <future>
#include <thread>

#include "receipt/receipt_fixture.h"

namespace ecftest {
namespace {

using HostThreadsTest = ReceiptTest;

TEST_F(HostThreadsTest, ALogLineWaitsForTheSaleInProgress) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  markLog();
  printer().refuseNext("VendaDeItem");
  std::future<void> logging;
  bool loggedDuringTheSale = true;
  // The sale holds the module while its operator decides whether to print again; the
  // host's other thread logs at that very moment.
  ecf_SetOperator([&](const ecf::OperatorMessage& message) {
    if (message.letter2 != "S" || logging.valid()) return false;
    logging = std::async(std::launch::async, [] { ImpFisDebug("Linha do outro fio do host"); });
    loggedDuringTheSale =
        logging.wait_for(std::chrono::milliseconds(300)) == std::future_status::ready;
    return true;
  });
  ecf::Variant item = itemBag("7891", "Pão", 1.0, 6.5);
  EXPECT_TRUE(VendaItem(item));
  ASSERT_TRUE(logging.valid());
  logging.wait();

  EXPECT_FALSE(loggedDuringTheSale);
  const std::vector<std::string> lines = newDebugLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(kRefusalLogLine, lines[1]);
  EXPECT_EQ("Linha do outro fio do host", lines.back());  // after the sale's own lines
}

TEST_F(HostThreadsTest, LoggingAndSellingAtOnceLoseNoLine) {
  ecf::Variant opening = openingBag();
  ASSERT_TRUE(AbreCupom(opening));
  markLog();
  constexpr int kLines = 200;
  constexpr int kItems = 20;
  std::thread logger([] {
    for (int i = 0; i < kLines; ++i) ImpFisDebug("Linha do host " + std::to_string(i));
  });
  for (int i = 0; i < kItems; ++i) {
    ecf::Variant item = itemBag("7891", "Pão", 1.0, 1.0);
    EXPECT_TRUE(VendaItem(item));
  }
  logger.join();

  int hostLines = 0;
  int saleLines = 0;
  for (const std::string& line : newDebugLines()) {
    if (line == "Linha do host " + std::to_string(hostLines)) ++hostLines;
    if (line.rfind("Comando Executado: VendaDeItem - 00 - 7891 - Pão", 0) == 0) ++saleLines;
  }
  EXPECT_EQ(kLines, hostLines);
  EXPECT_EQ(kItems, saleLines);
  EXPECT_EQ(static_cast<std::size_t>(kItems), state()["open"]["items"].size());
}

}  // namespace
}  // namespace ecftest

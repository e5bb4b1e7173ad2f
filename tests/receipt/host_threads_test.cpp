// A host whose second thread writes to the module's debug log while the first one sells:
// the log line waits its turn like any other operation.
#include <chrono>
#include <future>

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

}  // namespace
}  // namespace ecftest

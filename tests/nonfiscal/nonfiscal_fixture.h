// A started printer whose non-fiscal totalizers are programmed, with the record, the
// operator's messages and the log mark cleared, plus small readers of what was sent.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "support/module_fixture.h"

namespace ecftest {


class NonFiscalTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(start());
    programTotalizers();
    forgetWhatHappened();
  }

  // Finds or programs the seven totalizers on the printer and publishes their codes.
  void programTotalizers() {
    std::string changeVoucher, consumerSale, creditPurchase, creditCancel, unused;
    ecf::Dataset unusedDataset;
    CarregaTotalizador(changeVoucher, consumerSale, creditPurchase, creditCancel, unused, "", 0,
                       unusedDataset);
    ASSERT_FALSE(idTotParcSuprimento.empty());
    ASSERT_FALSE(idTotParcSangria.empty());
    ASSERT_NE(idTotParcSuprimento, idTotParcSangria);
  }

  void forgetWhatHappened() {
    printer().clearRecord();
    op().clear();
    markLog();
  }

  std::vector<std::string> sentNames() { return printer().commandNames(); }

  // The one command of that name sent since the record was cleared.
  RecordedCommand onlyCommand(const std::string& name) {
    const std::vector<RecordedCommand> found = printer().commandsNamed(name);
    EXPECT_EQ(found.size(), 1u) << name;
    return found.empty() ? RecordedCommand{} : found.front();
  }

  // Exactly one notice, the injected refusal, in the colour scheme.
  void expectRefusalShown(const std::string& scheme) {
    ASSERT_EQ(op().messages().size(), 1u);
    EXPECT_EQ(op().messages()[0].text, kRefusalNotice);
    EXPECT_EQ(op().messages()[0].scheme, scheme);
    EXPECT_EQ(op().messages()[0].kind, 3);
    EXPECT_EQ(op().messages()[0].letter2, "N");
  }
};

}  // namespace ecftest

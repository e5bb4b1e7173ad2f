// A started printer with the start-up's commands, messages and log lines forgotten, plus
// ways to give the printer the tables a test needs and small readers of what was sent.
#pragma once

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "support/module_fixture.h"

namespace ecftest {


struct TaxRateSlot {
  bool icms;
  int hundredths;  // 1800 is 18,00 %
};

class ConfigTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(start());
    forgetWhatHappened();
  }

  void forgetWhatHappened() {
    printer().clearRecord();
    op().clear();
    markLog();
  }

  // The printer's tax rates: codes 0 upward as given, the rest not programmed.
  void setTaxRates(const std::vector<TaxRateSlot>& rates) {
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t code = 0; code < rates.size(); ++code) {
      char percent[16];
      std::snprintf(percent, sizeof percent, "%d,%02d", rates[code].hundredths / 100,
                    rates[code].hundredths % 100);
      list.push_back({{"code", code}, {"percent", percent}, {"icms", rates[code].icms}});
    }
    printer().configure({{"taxRates", list}});
  }

  // Names at codes 0 upward; an empty name leaves that code free.
  static nlohmann::json namedSlots(const std::vector<std::string>& names) {
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t code = 0; code < names.size(); ++code) {
      if (!names[code].empty()) list.push_back({{"code", code}, {"name", names[code]}});
    }
    return list;
  }

  void setTotalizers(const std::vector<std::string>& names) {
    printer().configure({{"nonFiscalTotalizers", namedSlots(names)}});
  }

  void setPaymentMethods(const std::vector<std::string>& names) {
    printer().configure({{"paymentMethods", namedSlots(names)}});
  }

  // The names the printer holds in a table of the state ("methods", "nonFiscal").
  std::vector<std::string> printerNames(const char* table) {
    std::vector<std::string> names;
    const nlohmann::json state = printer().state();
    for (const auto& slot : state["tables"][table]) {
      names.push_back(slot.value("programmed", false) ? slot.value("name", "") : "");
    }
    while (!names.empty() && names.back().empty()) names.pop_back();
    return names;
  }

  // The values of one parameter over the commands of that name, in order.
  std::vector<std::string> sentValues(const std::string& command, const std::string& param) {
    std::vector<std::string> values;
    for (const RecordedCommand& sent : printer().commandsNamed(command)) {
      values.push_back(sent.value(param));
    }
    return values;
  }
};

}  // namespace ecftest

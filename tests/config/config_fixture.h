// A started printer with the start-up's commands, messages and log lines forgotten, plus
// ways to give the printer the tables a test needs and small readers of what was sent.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "support/module_fixture.h"

namespace ecftest {

using SentParam = std::tuple<std::string, std::string, int>;

inline std::vector<SentParam> sentParams(const RecordedCommand& command) {
  std::vector<SentParam> params;
  for (const RecordedParam& p : command.params) params.emplace_back(p.name, p.value, p.type);
  return params;
}

// What the module writes and shows for the printer's injected refusal.
inline const std::string kRefusalLogLine = "99: Erro simulado - Recusa injetada pelo teste";
inline const std::string kRefusalNotice = "99: Erro simulado Recusa injetada pelo teste";

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
    nlohmann::json slots = nlohmann::json::array();
    for (std::size_t code = 0; code < 16; ++code) {
      if (code < rates.size()) {
        slots.push_back({{"programmed", true},
                         {"icms", rates[code].icms},
                         {"percent", rates[code].hundredths}});
      } else {
        slots.push_back({{"programmed", false}, {"icms", true}, {"percent", 0}});
      }
    }
    printer().configure({{"tables", {{"taxRates", slots}}}});
  }

  // Names at codes 0 upward; an empty name leaves that code free.
  static nlohmann::json namedSlots(const std::vector<std::string>& names, const char* flag,
                                   bool flagValue) {
    nlohmann::json slots = nlohmann::json::array();
    for (std::size_t code = 0; code < 15; ++code) {
      const bool used = code < names.size() && !names[code].empty();
      slots.push_back({{"programmed", used},
                       {"name", used ? names[code] : ""},
                       {"description", ""},
                       {flag, flagValue}});
    }
    return slots;
  }

  void setTotalizers(const std::vector<std::string>& names) {
    printer().configure({{"tables", {{"nonFiscal", namedSlots(names, "entry", true)}}}});
  }

  void setPaymentMethods(const std::vector<std::string>& names) {
    printer().configure({{"tables", {{"methods", namedSlots(names, "allowsLinked", true)}}}});
  }

  // The names the printer holds in a table of the state ("methods", "nonFiscal").
  std::vector<std::string> printerNames(const char* table) {
    std::vector<std::string> names;
    for (const auto& slot : printer().state()["tables"][table]) {
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

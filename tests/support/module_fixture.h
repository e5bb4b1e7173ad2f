// A fresh host directory and a fresh virtual printer for every test, a scripted operator,
// a controllable clock, and access to the debug log, the printer's command record and
// its tape. The module is the real shared library; the printer is loaded by it by name.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "ecf/module.h"
#include "support/virtual_printer.h"

namespace ecftest {

// Answers questions from a script (then a default) and remembers every message shown.
// Notices never consume a scripted answer.
class ScriptedOperator {
 public:
  void answerNext(bool answer) { answers_.push_back(answer); }
  void setDefaultAnswer(bool answer) { defaultAnswer_ = answer; }
  bool answer(const ecf::OperatorMessage& message);

  const std::vector<ecf::OperatorMessage>& messages() const { return messages_; }
  std::vector<std::string> texts() const;
  void clear() { messages_.clear(); }

 private:
  std::deque<bool> answers_;
  bool defaultAnswer_ = false;
  std::vector<ecf::OperatorMessage> messages_;
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The bag a host hands StartImpFiscal for this test's printer.
  ecf::Variant startBag() const;
  // StartImpFiscal with startBag(); expects success unless told otherwise.
  bool start();

  // Sets the module's clock and the printer's to the same time (they start agreeing).
  void setClock(const ecf::DateTime& now);
  ecf::DateTime clock() const { return now_; }
  // Host settings for number formatting (comma by default).
  void useDecimalPoint();
  void useDecimalComma();

  // Lines of this month's debug log without their " - date time" ending.
  std::vector<std::string> debugLines() const;
  // Debug lines written since the last call of markLog().
  void markLog();
  std::vector<std::string> newDebugLines() const;
  bool logContains(const std::string& line) const;

  ScriptedOperator& op() { return operator_; }
  VirtualPrinter& printer() { return printer_; }

  // The text of every ImprimeTexto the printer received, in order.
  std::vector<std::string> printedTexts();
  // The printer's COO counter as the module reads it: six digits.
  std::string printerCoo();

  std::string hostDir_;
  std::string printerRoot_;
  std::string port_;

 private:
  ecf::DateTime now_;
  ScriptedOperator operator_;
  VirtualPrinter printer_;
  std::size_t logMark_ = 0;
};

}  // namespace ecftest

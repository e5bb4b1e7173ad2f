// The person at the till, as the module sees it: every notice it shows and every yes/no
// question it asks. On a terminal the questions are asked for real; without one they are
// answered from a script and then from a default, and the tool says what it answered.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ecf/host.h"

namespace ecfhost {

class HostOperator {
 public:
  // `defaultAnswer`: the answer when nobody can be asked (no terminal, or --answer given).
  // `interactive`: ask on the terminal once the script runs out.
  HostOperator(bool defaultAnswer, bool interactive)
      : defaultAnswer_(defaultAnswer), interactive_(interactive) {}

  // The callback to install with ecf_SetOperator.
  bool answer(const ecf::OperatorMessage& message);

  // Answers for the next questions, used before anything else.
  void script(std::vector<bool> answers);
  std::size_t unusedAnswers() const { return script_.size(); }
  void dropScript() { script_.clear(); }

  // A printer that keeps refusing would be retried for ever on a default "yes": after
  // this many default answers in one step the answer becomes "no".
  static constexpr int kDefaultYesLimit = 5;

  // What was shown since the last clear.
  const std::vector<std::string>& notices() const { return notices_; }
  const std::vector<std::string>& questions() const { return questions_; }
  void clear();

  // Indentation of the lines it prints, so they sit under the current step.
  void setIndent(std::string indent) { indent_ = std::move(indent); }

 private:
  bool ask(const std::string& text);

  bool defaultAnswer_;
  bool interactive_;
  std::deque<bool> script_;
  std::vector<std::string> notices_;
  std::vector<std::string> questions_;
  int defaultYesGiven_ = 0;  // since the last clear()
  std::string indent_ = "      ";
};

// True when both standard input and standard output are terminals.
bool onTerminal();

// "yes"/"no" (also "sim"/"nao", "s"/"n", "y"); nullopt for anything else.
std::optional<bool> parseAnswer(const std::string& text);

}  // namespace ecfhost

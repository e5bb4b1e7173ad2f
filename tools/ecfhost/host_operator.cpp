#include "host_operator.h"

#include "platform.h"

#include <cctype>
#include <iostream>

namespace ecfhost {
namespace {

// The module's texts may hold line breaks; on the progress output they stay on one line.
std::string oneLine(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\r') continue;
    out += c == '\n' ? ' ' : c;
  }
  return out;
}

}  // namespace

bool onTerminal() { return platform::onTerminal(); }

std::optional<bool> parseAnswer(const std::string& text) {
  std::string word;
  for (const char c : text) {
    if (!std::isspace(static_cast<unsigned char>(c))) {
      word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  if (word == "yes" || word == "y" || word == "sim" || word == "s") return true;
  if (word == "no" || word == "n" || word == "nao" || word == "não") return false;
  return std::nullopt;
}

void HostOperator::script(std::vector<bool> answers) {
  script_.assign(answers.begin(), answers.end());
}

void HostOperator::clear() {
  notices_.clear();
  questions_.clear();
  defaultYesGiven_ = 0;
}

bool HostOperator::answer(const ecf::OperatorMessage& message) {
  // Letters "N","S" mark a question whose answer matters; everything else is a notice.
  if (message.letter2 != "S") {
    notices_.push_back(message.text);
    std::cout << indent_ << "notice: " << oneLine(message.text) << std::endl;
    return false;
  }
  questions_.push_back(message.text);
  return ask(message.text);
}

bool HostOperator::ask(const std::string& text) {
  const std::string shown = oneLine(text);
  if (!script_.empty()) {
    const bool answer = script_.front();
    script_.pop_front();
    std::cout << indent_ << "question: " << shown << " -> " << (answer ? "yes" : "no")
              << " (scripted)" << std::endl;
    return answer;
  }
  if (interactive_) {
    while (true) {
      std::cout << indent_ << "question: " << shown << " [yes/no] " << std::flush;
      std::string line;
      if (!std::getline(std::cin, line)) break;
      if (const auto answer = parseAnswer(line)) return *answer;
    }
    std::cout << std::endl;
  }
  if (defaultAnswer_ && ++defaultYesGiven_ > kDefaultYesLimit) {
    std::cout << indent_ << "question: " << shown << " -> no (already answered yes "
              << kDefaultYesLimit << " times)" << std::endl;
    return false;
  }
  std::cout << indent_ << "question: " << shown << " -> " << (defaultAnswer_ ? "yes" : "no")
            << " (default answer)" << std::endl;
  return defaultAnswer_;
}

}  // namespace ecfhost

// The operator behind the module's questions, reached over HTTP: a question the request did
// not answer waits at /v1/questions until someone answers it, or its time runs out (no).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "event_hub.h"

namespace ecfd {

using Json = nlohmann::json;

class OperatorDesk {
 public:
  // Called once with the questions waiting, as a JSON list.
  using Waiter = std::function<void(const Json& questions)>;

  OperatorDesk(EventHub& events, std::chrono::seconds timeout) : events_(events), timeout_(timeout) {}

  // Blocks the calling (worker) thread until the question is answered, the time runs out
  // or the desk closes; those two give no.
  bool ask(const std::string& text);
  void notice(const std::string& text);

  // False when no question of that id is waiting.
  bool answer(std::uint64_t id, bool yes);
  // Calls `waiter` at once when questions are waiting, else with the next question.
  // Returns a ticket for cancel() (0 when already called).
  std::uint64_t waitForQuestions(Waiter waiter);
  void cancel(std::uint64_t ticket);
  Json waiting() const;
  // Every waiting question is answered no; later ones are no at once.
  void close();

 private:
  Json waitingLocked() const;

  EventHub& events_;
  const std::chrono::seconds timeout_;
  mutable std::mutex mutex_;
  std::condition_variable answered_;
  struct Question {
    std::string text;
    std::optional<bool> answer;
  };
  std::map<std::uint64_t, Question> questions_;
  std::map<std::uint64_t, Waiter> waiters_;
  std::uint64_t nextId_ = 1;
  std::uint64_t nextTicket_ = 1;
  bool closed_ = false;
};

}  // namespace ecfd

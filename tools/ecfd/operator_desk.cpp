#include "operator_desk.h"

namespace ecfd {

bool OperatorDesk::ask(const std::string& text) {
  std::map<std::uint64_t, Waiter> toCall;
  std::uint64_t id = 0;
  Json waiting;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) return false;
    id = nextId_++;
    questions_[id] = Question{text, std::nullopt};
    toCall.swap(waiters_);
    waiting = waitingLocked();
  }
  events_.publish("question", {{"id", id}, {"text", text}});
  for (auto& entry : toCall) entry.second(waiting);

  std::unique_lock<std::mutex> lock(mutex_);
  const bool inTime = answered_.wait_for(lock, timeout_, [&] {
    return closed_ || questions_.at(id).answer.has_value();
  });
  const bool yes = inTime && !closed_ && questions_.at(id).answer.value_or(false);
  const char* by = questions_.at(id).answer.has_value() ? "operator" : (closed_ ? "shutdown" : "timeout");
  questions_.erase(id);
  lock.unlock();
  events_.publish("answered", {{"id", id}, {"answer", yes ? "yes" : "no"}, {"by", by}});
  return yes;
}

void OperatorDesk::notice(const std::string& text) { events_.publish("notice", {{"text", text}}); }

bool OperatorDesk::answer(std::uint64_t id, bool yes) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = questions_.find(id);
    if (found == questions_.end() || found->second.answer.has_value()) return false;
    found->second.answer = yes;
  }
  answered_.notify_all();
  return true;
}

std::uint64_t OperatorDesk::waitForQuestions(Waiter waiter) {
  Json waiting;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting = waitingLocked();
    if (waiting.empty()) {
      const std::uint64_t ticket = nextTicket_++;
      waiters_.emplace(ticket, std::move(waiter));
      return ticket;
    }
  }
  waiter(waiting);
  return 0;
}

void OperatorDesk::cancel(std::uint64_t ticket) {
  std::lock_guard<std::mutex> lock(mutex_);
  waiters_.erase(ticket);
}

Json OperatorDesk::waiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return waitingLocked();
}

Json OperatorDesk::waitingLocked() const {
  Json list = Json::array();
  for (const auto& [id, question] : questions_) {
    if (!question.answer.has_value()) list.push_back({{"id", id}, {"text", question.text}});
  }
  return list;
}

void OperatorDesk::close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  answered_.notify_all();
}

}  // namespace ecfd

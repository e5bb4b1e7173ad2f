#include "task_board.h"

namespace ecfd {

std::string TaskBoard::create(const std::string& route) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string id = "t" + std::to_string(next_++);
  tasks_[id] = {{"id", id}, {"route", route}, {"state", "queued"}, {"status", nullptr}, {"body", nullptr}};
  order_.push_back(id);
  while (order_.size() > kKept) {
    tasks_.erase(order_.front());
    order_.pop_front();
  }
  return id;
}

void TaskBoard::finish(const std::string& id, int status, const Json& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = tasks_.find(id);
  if (found == tasks_.end()) return;
  found->second["state"] = "done";
  found->second["status"] = status;
  found->second["body"] = body;
}

std::optional<Json> TaskBoard::find(const std::string& id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = tasks_.find(id);
  if (found == tasks_.end()) return std::nullopt;
  return found->second;
}

}  // namespace ecfd

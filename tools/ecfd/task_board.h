// Requests run with "async": true: a task id at once, the outcome at /v1/tasks/{id}.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

class TaskBoard {
 public:
  std::string create(const std::string& route);
  void finish(const std::string& id, int status, const Json& body);
  // {"id", "route", "state": "queued" | "done", "status", "body"}, or nothing.
  std::optional<Json> find(const std::string& id) const;

 private:
  static constexpr std::size_t kKept = 1000;  // the oldest finished tasks are forgotten
  mutable std::mutex mutex_;
  std::map<std::string, Json> tasks_;
  std::deque<std::string> order_;
  std::uint64_t next_ = 1;
};

}  // namespace ecfd

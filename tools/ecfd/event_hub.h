// The service's events as server-sent events: every subscriber (an open /v1/events
// stream) receives each event as one "event: <name>" / "data: <json>" frame.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

class EventHub {
 public:
  // Receives ready frames; called from any thread, so it must only hand them on.
  using Subscriber = std::function<void(const std::string& frame)>;

  std::uint64_t subscribe(Subscriber subscriber);
  void unsubscribe(std::uint64_t id);
  bool hasSubscribers() const;

  // Names in use: status, operation, question, answered, notice, tape.
  void publish(const std::string& name, const Json& data);

 private:
  mutable std::mutex mutex_;
  std::map<std::uint64_t, Subscriber> subscribers_;
  std::uint64_t nextSubscriber_ = 1;
  std::uint64_t nextEvent_ = 1;
};

}  // namespace ecfd

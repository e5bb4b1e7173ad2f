#include "event_hub.h"

#include <vector>

namespace ecfd {

std::uint64_t EventHub::subscribe(Subscriber subscriber) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::uint64_t id = nextSubscriber_++;
  subscribers_.emplace(id, std::move(subscriber));
  return id;
}

void EventHub::unsubscribe(std::uint64_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  subscribers_.erase(id);
}

bool EventHub::hasSubscribers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !subscribers_.empty();
}

void EventHub::publish(const std::string& name, const Json& data) {
  std::vector<Subscriber> targets;
  std::string frame;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (subscribers_.empty()) return;
    // A JSON text dumped on one line never holds a line feed, so one data line carries it.
    frame = "id: " + std::to_string(nextEvent_++) + "\nevent: " + name + "\ndata: " +
            data.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n\n";
    for (const auto& entry : subscribers_) targets.push_back(entry.second);
  }
  for (const Subscriber& subscriber : targets) subscriber(frame);
}

}  // namespace ecfd

#include "driver/refusals.h"

namespace ecf {
namespace {

// An operator who answers "yes" to every retry can make a call refuse without end; its
// reply keeps the first ones.
constexpr std::size_t kMostKept = 64;

RefusalWatch*& openWatch() {
  static RefusalWatch* watch = nullptr;
  return watch;
}

}  // namespace

RefusalWatch::RefusalWatch() : previous_(openWatch()) { openWatch() = this; }

RefusalWatch::~RefusalWatch() { openWatch() = previous_; }

void noteRefusal(int code, const std::string& name, const std::string& circumstance) {
  RefusalWatch* watch = openWatch();
  if (watch == nullptr || watch->refusals_.size() >= kMostKept) return;
  watch->refusals_.push_back({code, name, circumstance});
}

}  // namespace ecf

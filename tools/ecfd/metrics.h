// What /metrics shows, in Prometheus' text format: documents printed by kind, refusals by
// the printer's error name, the queue, request durations and the printer's state.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

class Metrics {
 public:
  void documentPrinted(const std::string& kind);
  void refusal(const std::string& errorName);
  void request(int status, double seconds);
  // The /v1/status JSON of the last reading.
  void printerState(const Json& status);

  std::string render(std::size_t queueDepth) const;

 private:
  static constexpr std::array<double, 10> kBuckets = {0.0005, 0.001, 0.0025, 0.005, 0.01,
                                                      0.025,  0.05,  0.1,    0.5,   2.5};
  mutable std::mutex mutex_;
  std::map<std::string, std::uint64_t> documents_;
  std::map<std::string, std::uint64_t> refusals_;
  std::map<int, std::uint64_t> responses_;
  std::array<std::uint64_t, kBuckets.size()> bucketCounts_{};
  std::uint64_t durationCount_ = 0;
  double durationSum_ = 0;
  Json status_;
};

}  // namespace ecfd

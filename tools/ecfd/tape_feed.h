// The virtual printer's paper tape as documents, for /v1/tape and the "tape" events: each
// {"index", "title", "html"}, the html a slip drawn by the tape library.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

class TapeFeed {
 public:
  // `path` comes from the configuration; "" means no tape (a real printer).
  explicit TapeFeed(std::string path) : path_(std::move(path)) {}

  // Reads what the tape gained since the last look; returns the new documents.
  std::vector<Json> refresh();
  Json all() const;
  std::size_t size() const;
  // Counts the documents already on the tape at start-up, without publishing them.
  void skipExisting();

 private:
  std::string path_;
  mutable std::mutex mutex_;
  std::uintmax_t size_ = 0;
  std::vector<Json> documents_;
};

}  // namespace ecfd

// The receipts' journal: every saleId with what became of it, in "ecfd-sales.json" of the
// host directory. A sale is written "pending" before its first command reaches the printer
// and with its outcome after the last, each time by atomic replacement, so a crash leaves
// the old or the new journal and a sale pending at start-up is one the service was killed in.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

class SaleJournal {
 public:
  // Throws std::runtime_error when the journal exists and cannot be read.
  explicit SaleJournal(const std::string& hostDirectory);

  // The entry of a sale: {"state": "pending" | "done", "request" (its fingerprint), "outcome", ...}.
  std::optional<Json> find(const std::string& saleId) const;
  // Each throws std::runtime_error when the journal cannot be written: the sale must not
  // reach the printer without its pending entry.
  void markPending(const std::string& saleId, const Json& request, const Json& facts);
  void markDone(const std::string& saleId, const Json& outcome);
  // Sales left pending by a previous run, with their entries.
  std::map<std::string, Json> pending() const;

  const std::string& path() const { return path_; }

 private:
  void save();

  std::string path_;
  mutable std::mutex mutex_;
  Json sales_ = Json::object();
};

}  // namespace ecfd

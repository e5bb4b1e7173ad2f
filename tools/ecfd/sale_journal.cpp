#include "sale_journal.h"

#include <stdexcept>

#include "base/env.h"

namespace ecfd {
namespace {

constexpr std::size_t kJournalLimit = 256 * 1024 * 1024;

}  // namespace

SaleJournal::SaleJournal(const std::string& hostDirectory)
    : path_(ecf::withTrailingSeparator(hostDirectory) + "ecfd-sales.json") {
  ecf::Env& env = ecf::realEnv();
  if (!env.fileExists(path_)) return;
  std::string text, error;
  if (!env.readFile(path_, text, &error, kJournalLimit)) {
    throw std::runtime_error("cannot read the sale journal " + path_ + ": " + error);
  }
  const Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object() || !json.contains("sales") ||
      !json.at("sales").is_object()) {
    throw std::runtime_error("the sale journal " + path_ + " is damaged");
  }
  sales_ = json.at("sales");
}

std::optional<Json> SaleJournal::find(const std::string& saleId) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sales_.find(saleId);
  if (found == sales_.end()) return std::nullopt;
  return *found;
}

void SaleJournal::markPending(const std::string& saleId, const Json& request, const Json& facts) {
  std::lock_guard<std::mutex> lock(mutex_);
  Json entry = facts;
  entry["state"] = "pending";
  entry["request"] = request;
  sales_[saleId] = entry;
  save();
}

void SaleJournal::markDone(const std::string& saleId, const Json& outcome) {
  std::lock_guard<std::mutex> lock(mutex_);
  Json& entry = sales_[saleId];
  entry["state"] = "done";
  entry["outcome"] = outcome;
  save();
}

std::map<std::string, Json> SaleJournal::pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::map<std::string, Json> found;
  for (const auto& [id, entry] : sales_.items()) {
    if (entry.value("state", "") == "pending") found.emplace(id, entry);
  }
  return found;
}

void SaleJournal::save() {
  std::string error;
  const Json document = {{"sales", sales_}};
  if (!ecf::realEnv().replaceFile(path_, document.dump(1), &error)) {
    throw std::runtime_error("cannot write the sale journal " + path_ + ": " + error);
  }
}

}  // namespace ecfd

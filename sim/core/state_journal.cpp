#include "core/state_journal.h"

#include <cstdio>

#include "base/utf8_path.h"
#include "core/state_json.h"

namespace ecfsim {
namespace {

// FNV-1a: the journal only has to tell its own state file from another one.
std::string textHash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

std::string dumped(const nlohmann::json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string journalHeader(std::string_view stateText) {
  return nlohmann::json{{"journal", 1}, {"continues", textHash(stateText)}}.dump() + "\n";
}

bool StateJournal::restart(std::string_view stateText) {
  header_ = journalHeader(stateText);
  bytes_ = 0;
  usable_ = file_.truncate(0);
  return usable_;
}

bool StateJournal::append(const PrinterState& before, const PrinterState& after) {
  if (!usable()) return false;
  const nlohmann::json change = stateChangeToJson(before, after);
  if (change.empty()) return true;
  std::string text = bytes_ == 0 ? header_ : std::string();
  text += dumped(change);
  text += '\n';
  if (file_.append(text)) {
    bytes_ += static_cast<std::int64_t>(text.size());
    return true;
  }
  // A line cut short must not have the next one glued to it.
  usable_ = file_.truncate(bytes_);
  return false;
}

void StateJournal::replay(const std::filesystem::path& path, std::string_view stateText,
                          nlohmann::json& state) {
  // Ours never grows much past kMaxBytes; anything far larger is not ours to load.
  std::string journal, error;
  if (!platform::readRegularFile(path, 8 * kMaxBytes, journal, error)) throw JournalError(error);
  const std::string header = journalHeader(stateText);
  if (journal.compare(0, header.size(), header) != 0) return;  // another state file's
  std::size_t start = header.size();
  for (int line = 2;; ++line) {
    const std::size_t end = journal.find('\n', start);
    if (end == std::string::npos) return;  // nothing more, or a line a kill cut off
    try {
      applyStateChange(state, nlohmann::json::parse(journal.substr(start, end - start)));
    } catch (const std::exception& e) {
      throw JournalError("linha " + std::to_string(line) + " de " + ecf::utf8FromPath(path) +
                         ": " + e.what());
    }
    start = end + 1;
  }
}

}  // namespace ecfsim

#include "tape_feed.h"

#include <filesystem>

#include "base/env.h"
#include "base/utf8_path.h"
#include "paper_tape.h"

namespace ecfd {

std::vector<Json> TapeFeed::refresh() {
  std::vector<Json> added;
  if (path_.empty()) return added;
  std::error_code error;
  const auto size = std::filesystem::file_size(ecf::pathFromUtf8(path_), error);
  std::lock_guard<std::mutex> lock(mutex_);
  if (error || size == size_) return added;
  std::string text, why;
  if (!ecf::realEnv().readFile(path_, text, &why)) return added;
  size_ = text.size();
  const std::vector<std::string> documents = ecftape::splitDocuments(text);
  // The last document may still be printing: it is drawn again when it grows.
  std::size_t first = documents_.size();
  if (first > 0 && first <= documents.size()) --first;
  if (first > documents.size()) first = 0;
  documents_.resize(first);
  for (std::size_t i = first; i < documents.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    Json document = {{"index", number},
                     {"title", ecftape::documentTitle(documents[i])},
                     {"html", ecftape::slipHtml(number, documents[i])}};
    documents_.push_back(document);
    added.push_back(document);
  }
  return added;
}

void TapeFeed::skipExisting() { refresh(); }

std::size_t TapeFeed::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return documents_.size();
}

Json TapeFeed::all() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return Json(documents_);
}

}  // namespace ecfd

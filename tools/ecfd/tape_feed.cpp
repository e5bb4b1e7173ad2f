#include "tape_feed.h"

#include <filesystem>
#include <fstream>

#include "base/utf8_path.h"
#include "paper_tape.h"

namespace ecfd {
namespace {

// Where the last document's separator line begins in `text` (npos when there is none).
std::size_t lastSeparator(const std::string& text) {
  const std::string separator = std::string(48, '=') + "\n";
  std::size_t at = text.rfind(separator);
  while (at != std::string::npos && at > 0 && text[at - 1] != '\n') {
    at = at == 0 ? std::string::npos : text.rfind(separator, at - 1);
  }
  return at;
}

}  // namespace

std::vector<Json> TapeFeed::refresh() {
  std::vector<Json> added;
  if (path_.empty()) return added;
  const std::filesystem::path path = ecf::pathFromUtf8(path_);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return added;
  const auto size = std::filesystem::file_size(path, error);
  std::lock_guard<std::mutex> lock(mutex_);
  if (error || size == size_) return added;
  if (size < size_) {  // cut back by the printer's restart: read it again
    size_ = offset_ = 0;
    documents_.clear();
  }
  // Only the last document and what came after it are read: the tape only grows.
  const std::uintmax_t from = offset_;
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  std::string text(static_cast<std::size_t>(size - from), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  const std::vector<std::string> documents = ecftape::splitDocuments(text);
  // The first of them is the document that was last before (it may have grown).
  const std::size_t first = from == 0 || documents_.empty() ? 0 : documents_.size() - 1;
  documents_.resize(first);
  for (std::size_t i = 0; i < documents.size(); ++i) {
    const int number = static_cast<int>(first + i + 1);
    Json document = {{"index", number},
                     {"title", ecftape::documentTitle(documents[i])},
                     {"html", ecftape::slipHtml(number, documents[i])}};
    documents_.push_back(document);
    added.push_back(document);
  }
  const std::size_t last = lastSeparator(text);
  if (last != std::string::npos) offset_ = from + last;
  size_ = from + text.size();
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

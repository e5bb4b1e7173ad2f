#include "core/append_only_file.h"

#include <stdexcept>

namespace ecfsim {

bool AppendOnlyFile::open() const { return handle_.isOpen() || handle_.open(path_, error_); }

std::int64_t AppendOnlyFile::size() const { return open() ? handle_.size() : 0; }

bool AppendOnlyFile::append(const std::string& text) const {
  if (text.empty()) return true;
  if (!open()) return false;
  if (handle_.write(text, error_)) return true;
  close();  // the next append starts on a fresh handle
  return false;
}

void AppendOnlyFile::close() const { handle_.close(); }

// Closed afterwards, so the next append opens the name again and checks it anew.
bool AppendOnlyFile::truncate(std::int64_t size) const {
  const bool cut = open() && handle_.truncate(size, error_);
  close();
  return cut;
}

std::string AppendOnlyFile::read() const {
  std::string contents, error;
  if (!platform::readRegularFile(path_, kMaxReadBytes, contents, error)) {
    throw std::runtime_error(error);
  }
  return contents;
}

}  // namespace ecfsim

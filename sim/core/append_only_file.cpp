#include "core/append_only_file.h"

#include <sstream>
#include <system_error>

namespace ecfsim {

std::int64_t AppendOnlyFile::size() const {
  std::error_code error;
  const auto bytes = std::filesystem::file_size(path_, error);
  return error ? 0 : static_cast<std::int64_t>(bytes);
}

bool AppendOnlyFile::append(const std::string& text) const {
  if (text.empty()) return true;
  if (!out_.is_open()) out_.open(path_, std::ios::binary | std::ios::app);
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  out_.flush();
  if (out_) return true;
  close();  // the next append starts on a fresh stream
  return false;
}

void AppendOnlyFile::close() const {
  out_.close();
  out_.clear();
}

bool AppendOnlyFile::truncate(std::int64_t size) const {
  close();  // appending resumes at the new end
  std::error_code error;
  if (!std::filesystem::exists(path_, error)) return size == 0;
  std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(size), error);
  return !error;
}

std::string AppendOnlyFile::read() const {
  std::ifstream in(path_, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

}  // namespace ecfsim

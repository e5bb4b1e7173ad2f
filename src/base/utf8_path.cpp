#include "base/utf8_path.h"

#include "base/utf8.h"

namespace ecf {

std::filesystem::path pathFromUtf8(std::string_view text) {
  const std::string repaired = repairUtf8(text);
  return std::filesystem::path(std::u8string(repaired.begin(), repaired.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace ecf

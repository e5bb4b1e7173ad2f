// File-system paths from and to UTF-8 text. A path built from a plain std::string would be
// read in the system's code page on Windows; these always read and give UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ecf {

// Malformed UTF-8 is repaired first, so the conversion never fails.
std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace ecf

// A small reversible cipher for values kept in the host's files. Any text comes back
// whole, and the enciphered form is plain ASCII (hex digits), so it fits a text column.
#pragma once

#include <string>
#include <string_view>

namespace ecf {

std::string encipher(std::string_view text, int key);
// Throws std::runtime_error for a text that encipher cannot have produced.
std::string decipher(std::string_view text, int key);

}  // namespace ecf

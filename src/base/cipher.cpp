#include "base/cipher.h"

#include <stdexcept>

namespace ecf {
namespace {

// Each byte is mixed with a key- and position-dependent mask.
unsigned char maskAt(int key, std::size_t position) {
  return static_cast<unsigned char>((key * 73 + static_cast<int>(position % 251) * 29 + 11) &
                                    0xFF);
}

int nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string encipher(std::string_view text, int key) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]) ^ maskAt(key, i);
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  return out;
}

std::string decipher(std::string_view text, int key) {
  if (text.size() % 2 != 0) throw std::runtime_error("Texto cifrado inválido.");
  std::string out;
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = nibble(text[i]);
    const int low = nibble(text[i + 1]);
    if (high < 0 || low < 0) throw std::runtime_error("Texto cifrado inválido.");
    out += static_cast<char>(static_cast<unsigned char>((high << 4) | low) ^ maskAt(key, i / 2));
  }
  return out;
}

}  // namespace ecf

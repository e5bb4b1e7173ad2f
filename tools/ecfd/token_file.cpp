#include "token_file.h"

#include <random>
#include <stdexcept>

#include "base/env.h"
#include "platform.h"

namespace ecfd {
namespace {

constexpr std::size_t kTokenBytes = 32;

std::string randomToken() {
  std::random_device source;  // the system's cryptographic source on both platforms
  static const char* const hex = "0123456789abcdef";
  std::string token;
  for (std::size_t i = 0; i < kTokenBytes; ++i) {
    const unsigned byte = source() & 0xFFu;
    token += hex[byte >> 4];
    token += hex[byte & 0xFu];
  }
  return token;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

Token loadOrCreateToken(const std::string& hostDirectory) {
  Token token;
  token.path = ecf::withTrailingSeparator(hostDirectory) + "ecfd.token";
  ecf::Env& env = ecf::realEnv();
  if (!env.fileExists(token.path)) {
    std::string error;
    token.value = randomToken();
    if (platform::createPrivateFile(token.path, token.value + "\n", error)) return token;
    if (!env.fileExists(token.path)) {
      throw std::runtime_error("cannot create the token file " + token.path + ": " + error);
    }
    // Another start made it first: read theirs.
  }
  if (!platform::isPrivateFile(token.path)) {
    throw std::runtime_error("the token file " + token.path +
                             " is not a regular file readable only by its owner");
  }
  std::string text, error;
  if (!env.readFile(token.path, text, &error, 4096)) {
    throw std::runtime_error("cannot read the token file " + token.path + ": " + error);
  }
  token.value = trimmed(text);
  if (token.value.size() < 16) {
    throw std::runtime_error("the token file " + token.path + " holds no token");
  }
  return token;
}

bool sameSecret(const std::string& a, const std::string& b) {
  unsigned char difference = a.size() == b.size() ? 0 : 1;
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  }
  return difference == 0;
}

}  // namespace ecfd

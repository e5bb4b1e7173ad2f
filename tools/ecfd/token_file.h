// The bearer token every request but /metrics carries: random, made at first start, kept
// in "ecfd.token" in the host directory, readable only by the service's own user.
#pragma once

#include <string>

namespace ecfd {

struct Token {
  std::string value;
  std::string path;
};

// Reads the token file, or creates it with a new random token. Throws std::runtime_error
// when the file cannot be made, is not private to this user or holds no token.
Token loadOrCreateToken(const std::string& hostDirectory);

// Compares in time independent of where the texts differ.
bool sameSecret(const std::string& a, const std::string& b);

}  // namespace ecfd

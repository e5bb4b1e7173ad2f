#include "security_policy.h"

#include <algorithm>
#include <cctype>

#include "token_file.h"

namespace ecfd {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The name of a Host header without its port: "[::1]:8410" -> "[::1]", "localhost:80" -> "localhost".
std::string hostName(const std::string& host) {
  if (!host.empty() && host.front() == '[') {
    const auto close = host.find(']');
    if (close == std::string::npos) return "";
    const std::string rest = host.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return "";
    return host.substr(0, close + 1);
  }
  const auto colon = host.find(':');
  if (colon == std::string::npos) return host;
  const std::string port = host.substr(colon + 1);
  if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos) return "";
  return host.substr(0, colon);
}

}  // namespace

bool SecurityPolicy::hostAllowed(const std::string& host) const {
  const std::string name = lower(hostName(host));
  if (name.empty()) return false;
  if (name == "localhost" || name == "127.0.0.1" || name == "[::1]") return true;
  return std::any_of(hosts_.begin(), hosts_.end(),
                     [&](const std::string& allowed) { return lower(allowed) == name; });
}

bool SecurityPolicy::authorised(const std::string& authorization) const {
  static const std::string scheme = "Bearer ";
  if (authorization.size() <= scheme.size() || lower(authorization.substr(0, scheme.size())) != "bearer ") {
    return false;
  }
  return sameSecret(authorization.substr(scheme.size()), token_);
}

bool SecurityPolicy::originAllowed(const std::string& origin) const {
  return !origin.empty() && std::find(origins_.begin(), origins_.end(), origin) != origins_.end();
}

}  // namespace ecfd

// Who may talk to the printer: a loopback Host name (so a web page elsewhere cannot reach
// it by DNS rebinding), the bearer token, and CORS only for the origins configured.
#pragma once

#include <string>
#include <vector>

namespace ecfd {

class SecurityPolicy {
 public:
  SecurityPolicy(std::string token, std::vector<std::string> allowedHosts,
                 std::vector<std::string> allowedOrigins)
      : token_(std::move(token)), hosts_(std::move(allowedHosts)), origins_(std::move(allowedOrigins)) {}

  // "localhost", "127.0.0.1", "[::1]" with or without a port, or a configured name.
  bool hostAllowed(const std::string& host) const;
  // "Bearer <token>".
  bool authorised(const std::string& authorization) const;
  bool originAllowed(const std::string& origin) const;

 private:
  std::string token_;
  std::vector<std::string> hosts_;
  std::vector<std::string> origins_;
};

}  // namespace ecfd

// HTTP/1.1 on one I/O thread: requests read with bounded headers and body, refused unless
// their Host is a loopback name and (but for /metrics) they carry the token, answered one
// at a time per connection, one log line each on stderr.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "api.h"
#include "event_hub.h"
#include "metrics.h"
#include "security_policy.h"

namespace ecfd {

struct HttpLimits {
  static constexpr std::size_t kBody = 1024 * 1024;
  static constexpr std::size_t kHeaders = 16 * 1024;
  static constexpr int kIdleSeconds = 30;
  static constexpr std::size_t kConnections = 256;
};

class HttpServer {
 public:
  HttpServer(boost::asio::io_context& io, Api& api, const SecurityPolicy& security,
             EventHub& events, Metrics& metrics)
      : io_(io), api_(api), security_(security), events_(events), metrics_(metrics), acceptor_(io) {}

  // Binds "ADDRESS:PORT" (port 0 picks a free one). Throws std::runtime_error.
  void listen(const std::string& address);
  // "127.0.0.1:8410", the address really bound.
  std::string boundAddress() const;
  void stop();

  Api& api() { return api_; }
  const SecurityPolicy& security() const { return security_; }
  EventHub& events() { return events_; }
  Metrics& metrics() { return metrics_; }
  boost::asio::io_context& io() { return io_; }
  std::atomic<std::size_t>& connections() { return connections_; }

 private:
  void accept();

  boost::asio::io_context& io_;
  Api& api_;
  const SecurityPolicy& security_;
  EventHub& events_;
  Metrics& metrics_;
  boost::asio::ip::tcp::acceptor acceptor_;
  std::atomic<std::size_t> connections_{0};
};

}  // namespace ecfd

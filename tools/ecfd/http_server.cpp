#include "http_server.h"

#include <stdexcept>

#include <boost/asio/strand.hpp>

#include "http_session.h"

namespace ecfd {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

void HttpServer::listen(const std::string& address) {
  const auto colon = address.rfind(':');
  if (colon == std::string::npos) throw std::runtime_error("the address " + address + " has no port");
  std::string host = address.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  const std::string portText = address.substr(colon + 1);
  if (portText.empty() || portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(portText) > 65535) {
    throw std::runtime_error("the address " + address + " has no valid port");
  }
  boost::system::error_code error;
  const asio::ip::address ip = asio::ip::make_address(host, error);
  if (error) throw std::runtime_error("the address " + address + " is not an IP address");
  const tcp::endpoint endpoint(ip, static_cast<unsigned short>(std::stoi(portText)));
  acceptor_.open(endpoint.protocol(), error);
  if (!error) acceptor_.set_option(asio::socket_base::reuse_address(true), error);
  if (!error) acceptor_.bind(endpoint, error);
  if (!error) acceptor_.listen(asio::socket_base::max_listen_connections, error);
  if (error) throw std::runtime_error("cannot listen on " + address + ": " + error.message());
  accept();
}

std::string HttpServer::boundAddress() const {
  boost::system::error_code error;
  const tcp::endpoint endpoint = acceptor_.local_endpoint(error);
  if (error) return "";
  const std::string host = endpoint.address().is_v6() ? "[" + endpoint.address().to_string() + "]"
                                                      : endpoint.address().to_string();
  return host + ":" + std::to_string(endpoint.port());
}

void HttpServer::stop() {
  boost::system::error_code ignored;
  acceptor_.close(ignored);
}

void HttpServer::accept() {
  acceptor_.async_accept(asio::make_strand(io_), [this](boost::system::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
    if (!error) {
      if (connections_.load() >= HttpLimits::kConnections) {
        boost::system::error_code ignored;
        socket.close(ignored);
      } else {
        std::make_shared<HttpSession>(std::move(socket), *this)->start();
      }
    }
    accept();
  });
}

}  // namespace ecfd

// One client connection: reads a request, checks it, hands it to the routes, writes the
// answer, then reads the next; or, for /v1/events, keeps writing the event stream.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "http_server.h"

namespace ecfd {

class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(boost::asio::ip::tcp::socket socket, HttpServer& server);
  ~HttpSession();
  void start() { read(); }

 private:
  using Request = boost::beast::http::request<boost::beast::http::string_body>;

  void read();
  void onRead(const boost::beast::error_code& error);
  void dispatch();
  void write(Reply reply);
  void refuse(const ApiError& error, bool close);
  void logLine(int status, std::size_t bytes) const;

  void startEventStream();
  void queueFrame(std::string frame);
  void writeFrames();
  void heartbeat();
  void closeStream();

  boost::beast::tcp_stream stream_;
  HttpServer& server_;
  boost::beast::flat_buffer buffer_;
  std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
  Request request_;
  std::string peer_;
  std::chrono::steady_clock::time_point started_;
  bool keepAlive_ = false;
  bool corsAllowed_ = false;

  // The event stream.
  std::uint64_t subscription_ = 0;
  std::deque<std::string> frames_;
  bool writing_ = false;
  bool closed_ = false;
  std::optional<boost::asio::steady_timer> heartbeat_;
  char probe_ = 0;
};

}  // namespace ecfd

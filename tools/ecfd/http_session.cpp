#include "http_session.h"

#include <iostream>

#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

#include "clock_text.h"
#include "console_files.h"

namespace ecfd {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr std::size_t kStreamBacklog = 10000;  // frames a stalled client may fall behind
constexpr int kHeartbeatSeconds = 15;

// A request target made printable for the log (it is the client's text).
std::string printable(beast::string_view text) {
  std::string out;
  for (const char c : text.substr(0, 300)) {
    const auto byte = static_cast<unsigned char>(c);
    out += byte < 0x20 || byte == 0x7F || c == '"' ? '?' : c;
  }
  return out;
}

}  // namespace

HttpSession::HttpSession(asio::ip::tcp::socket socket, HttpServer& server)
    : stream_(std::move(socket)), server_(server) {
  ++server_.connections();
  boost::system::error_code error;
  const auto remote = stream_.socket().remote_endpoint(error);
  peer_ = error ? "?" : remote.address().to_string() + ":" + std::to_string(remote.port());
}

HttpSession::~HttpSession() {
  if (subscription_ != 0) server_.events().unsubscribe(subscription_);
  --server_.connections();
}

void HttpSession::read() {
  parser_.emplace();
  parser_->header_limit(HttpLimits::kHeaders);
  parser_->body_limit(HttpLimits::kBody);
  stream_.expires_after(std::chrono::seconds(HttpLimits::kIdleSeconds));
  http::async_read(stream_, buffer_, *parser_,
                   [self = shared_from_this()](beast::error_code error, std::size_t) { self->onRead(error); });
}

void HttpSession::onRead(const beast::error_code& error) {
  started_ = std::chrono::steady_clock::now();
  request_ = {};  // a request refused unread logs as "-", not as the one before it
  if (error == http::error::body_limit) {
    request_.method_string(parser_->get().method_string());
    request_.target(parser_->get().target());
    return refuse(ApiError(413, codes::kPayloadTooLarge, "the body is larger than 1 MiB"), true);
  }
  if (error == http::error::header_limit) {
    return refuse(ApiError(431, codes::kBadRequest, "the headers are larger than 16 KiB"), true);
  }
  if (error == http::error::end_of_stream || error == beast::error::timeout ||
      error == asio::error::operation_aborted || error == asio::error::connection_reset ||
      error == asio::error::eof) {
    beast::error_code ignored;
    stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    return;
  }
  if (error) return refuse(ApiError(400, codes::kBadRequest, "malformed HTTP request: " + error.message()), true);
  request_ = parser_->release();
  keepAlive_ = request_.keep_alive();
  // The answer may take as long as the printer does: the idle limit is for reading.
  stream_.expires_never();
  dispatch();
}

void HttpSession::dispatch() {
  const SecurityPolicy& security = server_.security();
  const std::string host(request_[http::field::host]);
  if (!security.hostAllowed(host)) {
    return refuse(ApiError(403, codes::kForbiddenHost, "the Host header must name this computer's loopback"),
                  false);
  }
  corsAllowed_ = security.originAllowed(std::string(request_[http::field::origin]));
  const std::string target(request_.target());
  const auto question = target.find('?');
  HttpRequest request{std::string(request_.method_string()), target.substr(0, question),
                      question == std::string::npos ? "" : target.substr(question + 1),
                      std::move(request_.body())};
  if (request.method == "OPTIONS") {
    Reply preflight;
    preflight.status = 204;
    preflight.headers.emplace_back("Allow", "GET, POST, OPTIONS");
    if (corsAllowed_) {
      preflight.headers.emplace_back("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
      preflight.headers.emplace_back("Access-Control-Allow-Headers", "Authorization, Content-Type");
      preflight.headers.emplace_back("Access-Control-Max-Age", "600");
    }
    return write(preflight);
  }
  // The console's own files need no token: the page asks for it, and every call it makes
  // carries it.
  if (request.method == "GET") {
    if (const ConsoleFile* file = findConsoleFile(request.path)) {
      Reply page{200, Json(), std::string(file->contentType), std::string(file->body), {}};
      page.headers.emplace_back("Content-Security-Policy", std::string(kConsoleSecurityPolicy));
      page.headers.emplace_back("Referrer-Policy", "no-referrer");
      return write(page);
    }
  }
  if (request.path != "/metrics" &&
      !security.authorised(std::string(request_[http::field::authorization]))) {
    Reply reply = Reply::error(ApiError(401, codes::kUnauthorised, "a valid bearer token is required"));
    reply.headers.emplace_back("WWW-Authenticate", "Bearer");
    return write(reply);
  }
  auto executor = stream_.get_executor();
  // The reply may come from the worker thread; the session lives on its strand. A client
  // gone meanwhile loses only the answer, never the operation.
  auto self = shared_from_this();
  server_.api().handle(request, [self, executor](Reply reply) {
    asio::post(executor, [self, reply = std::move(reply)]() mutable { self->write(std::move(reply)); });
  });
}

void HttpSession::refuse(const ApiError& error, bool close) {
  if (close) keepAlive_ = false;
  write(Reply::error(error));
}

void HttpSession::write(Reply reply) {
  if (reply.contentType == kEventStream && reply.status == 200) return startEventStream();
  auto response = std::make_shared<http::response<http::string_body>>();
  response->version(11);
  response->result(static_cast<unsigned>(reply.status));
  if (reply.status != 204) {
    response->set(http::field::content_type, reply.contentType == "application/json"
                                                 ? "application/json; charset=utf-8"
                                                 : reply.contentType);
    response->body() = reply.text.empty() && !reply.body.is_null()
                           ? reply.body.dump(-1, ' ', false, Json::error_handler_t::replace)
                           : reply.text;
  }
  response->set(http::field::cache_control, "no-store");
  response->set("X-Content-Type-Options", "nosniff");
  if (corsAllowed_) {
    response->set(http::field::access_control_allow_origin, std::string(request_[http::field::origin]));
    response->set(http::field::vary, "Origin");
  }
  for (const auto& [name, value] : reply.headers) response->set(name, value);
  response->keep_alive(keepAlive_);
  response->prepare_payload();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  server_.metrics().request(reply.status, seconds);
  logLine(reply.status, response->body().size());
  stream_.expires_after(std::chrono::seconds(HttpLimits::kIdleSeconds));
  http::async_write(stream_, *response, [self = shared_from_this(), response](beast::error_code error, std::size_t) {
    if (error || !self->keepAlive_ || !response->keep_alive()) {
      beast::error_code ignored;
      self->stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
      return;
    }
    self->read();
  });
}

void HttpSession::logLine(int status, std::size_t bytes) const {
  const double millis =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_).count();
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.3f", millis);
  // One line, written at once, so lines of concurrent requests never mix.
  const bool unread = request_.target().empty();
  std::cerr << (clockText() + " " + peer_ + " \"" +
                (unread ? std::string("-") : printable(request_.method_string()) + " " + printable(request_.target())) +
                "\" " + std::to_string(status) + " " +
                std::to_string(bytes) + " " + duration + "ms\n")
            << std::flush;
}

void HttpSession::startEventStream() {
  std::string head =
      "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream; charset=utf-8\r\nCache-Control: no-store\r\n"
      "X-Content-Type-Options: nosniff\r\nConnection: close\r\n";
  if (corsAllowed_) {
    head += "Access-Control-Allow-Origin: " + std::string(request_[http::field::origin]) + "\r\nVary: Origin\r\n";
  }
  head += "\r\n: stream open\n\n";
  server_.metrics().request(200, std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count());
  logLine(200, 0);
  std::weak_ptr<HttpSession> weak = shared_from_this();
  auto executor = stream_.get_executor();
  subscription_ = server_.events().subscribe([weak, executor](const std::string& frame) {
    asio::post(executor, [weak, frame] {
      if (auto self = weak.lock()) self->queueFrame(frame);
    });
  });
  queueFrame(std::move(head));
  // Anything the client sends, or its going away, ends the stream.
  stream_.socket().async_read_some(asio::buffer(&probe_, 1), [self = shared_from_this()](beast::error_code, std::size_t) {
    self->closeStream();
  });
  heartbeat_.emplace(stream_.get_executor());
  heartbeat();
}

void HttpSession::heartbeat() {
  heartbeat_->expires_after(std::chrono::seconds(kHeartbeatSeconds));
  heartbeat_->async_wait([self = shared_from_this()](beast::error_code error) {
    if (error || self->closed_) return;
    self->queueFrame(": keep-alive\n\n");
    self->heartbeat();
  });
}

void HttpSession::queueFrame(std::string frame) {
  if (closed_) return;
  if (frames_.size() >= kStreamBacklog) return closeStream();
  frames_.push_back(std::move(frame));
  if (!writing_) writeFrames();
}

void HttpSession::writeFrames() {
  if (frames_.empty() || closed_) {
    writing_ = false;
    return;
  }
  writing_ = true;
  asio::async_write(stream_.socket(), asio::buffer(frames_.front()),
                    [self = shared_from_this()](beast::error_code error, std::size_t) {
                      if (error) return self->closeStream();
                      self->frames_.pop_front();
                      self->writeFrames();
                    });
}

void HttpSession::closeStream() {
  if (closed_) return;
  closed_ = true;
  if (subscription_ != 0) {
    server_.events().unsubscribe(subscription_);
    subscription_ = 0;
  }
  if (heartbeat_) heartbeat_->cancel();
  beast::error_code ignored;
  stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
  stream_.socket().close(ignored);
}

}  // namespace ecfd

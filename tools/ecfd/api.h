// The routes of /v1, /metrics and the OpenAPI document. Printer work goes to the worker in
// arrival order; the rest answers at once. Replies reach `respond` from any thread.
#pragma once

#include <functional>
#include <string>

#include <boost/asio/io_context.hpp>

#include "event_hub.h"
#include "metrics.h"
#include "module_client.h"
#include "operator_desk.h"
#include "printer_service.h"
#include "printer_worker.h"
#include "reply.h"
#include "sale_journal.h"
#include "task_board.h"
#include "tape_feed.h"

namespace ecfd {

struct HttpRequest {
  std::string method;
  std::string path;
  std::string query;
  std::string body;
};

using Responder = std::function<void(Reply)>;

// The content type of the event stream: a reply of that type starts the stream.
inline constexpr const char* kEventStream = "text/event-stream";

struct ServiceParts {
  ModuleClient& module;
  PrinterService& printer;
  PrinterWorker& worker;
  OperatorDesk& desk;
  EventHub& events;
  Metrics& metrics;
  TapeFeed& tape;
  SaleJournal& journal;
  TaskBoard& tasks;
};

class Api {
 public:
  Api(boost::asio::io_context& io, ServiceParts parts) : io_(io), parts_(parts) {}

  void handle(const HttpRequest& request, Responder respond);

 private:
  using Work = std::function<Reply(const Json& body)>;
  // Parses the body, then runs `work` on the worker (or as a task with "async": true).
  // A route that `needsPrinter` answers "printer_offline" while the printer does not start.
  void enqueue(const HttpRequest& request, const std::string& route, Work work, Responder respond,
               bool mayRunAsync, bool needsPrinter = true);
  void waitForQuestions(const HttpRequest& request, Responder respond);
  void answerQuestion(const std::string& id, const HttpRequest& request, Responder respond);

  boost::asio::io_context& io_;
  ServiceParts parts_;
};

// The built-in OpenAPI document.
const std::string& openApiDocument();

}  // namespace ecfd

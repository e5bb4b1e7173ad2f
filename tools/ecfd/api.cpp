#include "api.h"

#include <atomic>
#include <chrono>
#include <memory>

#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>

#include "documents.h"
#include "receipt_sale.h"
#include "request_values.h"

namespace ecfd {

extern const char* const kOpenApiDocument;

namespace {

constexpr int kLongPollDefaultSeconds = 20;
constexpr int kLongPollMaxSeconds = 25;  // under the 30 s idle limit

Reply notFound(const std::string& path) {
  return Reply::error(ApiError(404, codes::kNotFound, "no route " + path));
}

Reply methodNotAllowed(const std::string& allow) {
  Reply reply = Reply::error(ApiError(405, codes::kMethodNotAllowed, "the route takes " + allow));
  reply.headers.emplace_back("Allow", allow);
  return reply;
}

// The value of `name` in a query text "a=1&b=2" ("" when absent).
std::string queryValue(const std::string& query, const std::string& name) {
  std::size_t start = 0;
  while (start <= query.size()) {
    const std::size_t end = std::min(query.find('&', start), query.size());
    const std::string pair = query.substr(start, end - start);
    if (pair.rfind(name + "=", 0) == 0) return pair.substr(name.size() + 1);
    start = end + 1;
  }
  return "";
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

const std::string& openApiDocument() {
  static const std::string document = kOpenApiDocument;
  return document;
}

void Api::handle(const HttpRequest& request, Responder respond) {
  const std::string& path = request.path;
  const std::string& method = request.method;
  const auto route = [&](const char* allowed, bool matches) {
    return matches && method != allowed;
  };
  try {
    if (path == "/metrics") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      Reply reply;
      reply.contentType = "text/plain; version=0.0.4; charset=utf-8";
      reply.text = parts_.metrics.render(parts_.worker.depth());
      return respond(reply);
    }
    if (path == "/v1/openapi.json") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      Reply reply;
      reply.text = openApiDocument();
      return respond(reply);
    }
    if (path == "/v1/status") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      return enqueue(request, "status", [this](const Json&) {
        // Monitoring sees a printer that does not start as off line, not as an error.
        return Reply::json(200, parts_.printer.status());
      }, respond, false, false);
    }
    if (path == "/v1/operations") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      return respond(Reply::json(200, parts_.module.operations()));
    }
    if (startsWith(path, "/v1/operations/")) {
      if (route("POST", true)) return respond(methodNotAllowed("POST"));
      const std::string name = path.substr(std::string("/v1/operations/").size());
      if (!inCatalogue(parts_.module.operations(), name)) {
        return respond(Reply::error(ApiError(404, codes::kUnknownOperation, "no operation " + name)));
      }
      return enqueue(request, "operation", [this, name](const Json& body) {
        return runOperation(parts_.printer, name, body);
      }, respond, true);
    }
    struct DocumentRoute {
      const char* path;
      Reply (*run)(PrinterService&, const Json&);
    };
    static const DocumentRoute documents[] = {
        {"/v1/cash/supply", cashSupply},       {"/v1/cash/withdrawal", cashWithdrawal},
        {"/v1/readings/x", readingX},          {"/v1/readings/z", reductionZ},
        {"/v1/reports", managementReport},
    };
    for (const DocumentRoute& document : documents) {
      if (path != document.path) continue;
      if (route("POST", true)) return respond(methodNotAllowed("POST"));
      const auto run = document.run;
      return enqueue(request, path, [this, run](const Json& body) { return run(parts_.printer, body); },
                     respond, true);
    }
    if (path == "/v1/receipts") {
      if (route("POST", true)) return respond(methodNotAllowed("POST"));
      return enqueue(request, path, [this](const Json& body) {
        return sellReceipt(parts_.printer, parts_.journal, body);
      }, respond, true);
    }
    if (path == "/v1/questions") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      return waitForQuestions(request, respond);
    }
    if (startsWith(path, "/v1/questions/")) {
      if (route("POST", true)) return respond(methodNotAllowed("POST"));
      return answerQuestion(path.substr(std::string("/v1/questions/").size()), request, respond);
    }
    if (startsWith(path, "/v1/tasks/")) {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      const auto task = parts_.tasks.find(path.substr(std::string("/v1/tasks/").size()));
      if (!task) return respond(Reply::error(ApiError(404, codes::kNotFound, "no such task")));
      return respond(Reply::json(200, *task));
    }
    if (path == "/v1/tape") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      return respond(Reply::json(200, {{"documents", parts_.tape.all()}}));
    }
    if (path == "/v1/events") {
      if (route("GET", true)) return respond(methodNotAllowed("GET"));
      Reply reply;
      reply.contentType = kEventStream;
      return respond(reply);
    }
    return respond(notFound(path));
  } catch (const ApiError& error) {
    return respond(Reply::error(error));
  }
}

void Api::enqueue(const HttpRequest& request, const std::string& route, Work work,
                  Responder respond, bool mayRunAsync, bool needsPrinter) {
  const Json body = request.method == "POST" ? parseBody(request.body) : Json::object();
  const bool async = mayRunAsync && body.is_object() && body.contains("async") &&
                     body.at("async") == true;
  std::string task;
  if (async) task = parts_.tasks.create(route);
  PrinterService& printer = parts_.printer;
  TaskBoard& tasks = parts_.tasks;
  auto job = [work, body, respond, async, task, needsPrinter, &printer, &tasks](bool run) {
    Reply reply;
    if (!run) {
      reply = Reply::error(ApiError(503, codes::kBusy, "the service is shutting down"));
    } else {
      try {
        std::string why;
        if (!printer.started() && !printer.start(why) && needsPrinter) {
          throw ApiError(503, codes::kPrinterOffline, why);
        }
        reply = work(body);
      } catch (const ApiError& error) {
        reply = Reply::error(error);
      } catch (const std::exception& error) {
        reply = Reply::error(ApiError(500, codes::kInternal, error.what()));
      }
      printer.afterRequest();
    }
    if (async) {
      tasks.finish(task, reply.status, reply.body);
    } else {
      respond(reply);
    }
  };
  if (!parts_.worker.submit(job)) {
    if (async) tasks.finish(task, 503, errorBody(codes::kBusy, "the printer's queue is full"));
    Reply busy = Reply::error(ApiError(503, codes::kBusy, "the printer's queue is full"));
    busy.headers.emplace_back("Retry-After", "1");
    return respond(busy);
  }
  if (async) {
    Reply accepted = Reply::json(202, {{"task", task}, {"href", "/v1/tasks/" + task}});
    accepted.headers.emplace_back("Location", "/v1/tasks/" + task);
    respond(accepted);
  }
}

void Api::waitForQuestions(const HttpRequest& request, Responder respond) {
  int seconds = kLongPollDefaultSeconds;
  const std::string wait = queryValue(request.query, "wait");
  if (!wait.empty()) {
    if (wait.size() > 3 || wait.find_first_not_of("0123456789") != std::string::npos) {
      throw ApiError(400, codes::kBadRequest, "\"wait\" is a number of seconds");
    }
    seconds = std::min(std::stoi(wait), kLongPollMaxSeconds);
  }
  // Answered once: by the first question or by the timer, whichever comes first.
  auto done = std::make_shared<std::atomic<bool>>(false);
  auto timer = std::make_shared<boost::asio::steady_timer>(io_, std::chrono::seconds(seconds));
  boost::asio::io_context& io = io_;
  auto answer = [done, respond, timer, &io](const Json& questions) {
    if (done->exchange(true)) return;
    boost::asio::post(io, [timer] { timer->cancel(); });
    respond(Reply::json(200, {{"questions", questions}}));
  };
  const std::uint64_t ticket = parts_.desk.waitForQuestions(answer);
  if (ticket == 0) return;
  OperatorDesk& desk = parts_.desk;
  timer->async_wait([answer, ticket, &desk, timer](const boost::system::error_code&) {
    desk.cancel(ticket);
    answer(Json::array());
  });
}

void Api::answerQuestion(const std::string& id, const HttpRequest& request, Responder respond) {
  const Json body = parseBody(request.body);
  if (!body.is_object() || !body.contains("answer")) {
    throw ApiError(400, codes::kBadRequest, "send {\"answer\": \"yes\"} or {\"answer\": \"no\"}");
  }
  const Json& answer = body.at("answer");
  bool yes = false;
  if (answer == true || answer == "yes") {
    yes = true;
  } else if (!(answer == false || answer == "no")) {
    throw ApiError(400, codes::kBadRequest, "\"answer\" is \"yes\" or \"no\"");
  }
  if (id.empty() || id.size() > 18 || id.find_first_not_of("0123456789") != std::string::npos ||
      !parts_.desk.answer(std::stoull(id), yes)) {
    throw ApiError(404, codes::kNotFound, "no question " + id + " is waiting");
  }
  respond(Reply::json(200, {{"id", std::stoull(id)}, {"answer", yes ? "yes" : "no"}}));
}

}  // namespace ecfd

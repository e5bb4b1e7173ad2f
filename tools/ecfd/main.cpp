// ecfd --config FILE [--listen ADDRESS:PORT]: the printer of this terminal as an HTTP/JSON
// service on loopback.
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include "api.h"
#include "base/env.h"
#include "http_server.h"
#include "platform.h"
#include "receipt_sale.h"
#include "security_policy.h"
#include "token_file.h"

namespace {

constexpr const char* kUsage = "usage: ecfd --config FILE [--listen ADDRESS:PORT]\n";

int serve(const std::string& configPath, const std::string& listenOverride) {
  using namespace ecfd;
  ServiceConfig config = ServiceConfig::load(configPath);
  if (!listenOverride.empty()) config.listen = listenOverride;
  std::string error;
  ecf::Env& env = ecf::realEnv();
  if (!env.directoryExists(config.hostDirectory) && !env.createDirectory(config.hostDirectory, &error)) {
    throw std::runtime_error("cannot create the host directory " + config.hostDirectory + ": " + error);
  }
  // The virtual printer reads its state root when the module starts the driver.
  if (!config.printerRoot.empty()) platform::setEnvironment("ECFSIM_ROOT", config.printerRoot);

  const Token token = loadOrCreateToken(config.hostDirectory);
  SaleJournal journal(config.hostDirectory);
  ModuleClient module;
  module.load(findModule());

  EventHub events;
  Metrics metrics;
  TapeFeed tape(config.tapeFile);
  tape.skipExisting();  // the documents of earlier runs are on /v1/tape, not new events
  OperatorDesk desk(events, std::chrono::seconds(config.questionTimeoutSeconds));
  PrinterService printer(config, module, desk, events, metrics, tape);
  PrinterWorker worker(config.queueLimit);
  TaskBoard tasks;

  boost::asio::io_context io(1);
  Api api(io, ServiceParts{module, printer, worker, desk, events, metrics, tape, journal, tasks});
  SecurityPolicy security(token.value, config.allowedHosts, config.allowedOrigins);
  HttpServer server(io, api, security, events, metrics);
  server.listen(config.listen);
  std::cout << "ecfd listening on http://" << server.boundAddress() << "\n"
            << "token file: " << token.path << std::endl;

  // The first job starts the printer and settles what a killed run left pending; every
  // request queues behind it.
  worker.start();
  worker.submit([&](bool run) {
    if (!run) return;
    std::string why;
    if (!printer.start(why)) {
      std::cerr << "ecfd: " << why << " (tried again at the next request)" << std::endl;
      return;
    }
    try {
      const int settled = settleInterruptedSales(printer, journal);
      if (settled > 0) std::cerr << "ecfd: settled " << settled << " interrupted sale(s)" << std::endl;
    } catch (const std::exception& failure) {
      std::cerr << "ecfd: " << failure.what() << std::endl;
    }
    printer.afterRequest();
  });

  boost::asio::signal_set signals(io, SIGINT, SIGTERM);
  signals.async_wait([&](const boost::system::error_code& failure, int) {
    if (failure) return;
    std::cerr << "ecfd: stopping" << std::endl;
    server.stop();
    io.stop();
  });
  io.run();
  // The running operation finishes, a question waiting is answered no, the rest is dropped.
  desk.close();
  worker.stop();
  printer.stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ecfd::platform::prepareConsole();
  std::string config, listen;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "--config" || argument == "--listen") && i + 1 < argc) {
      (argument == "--config" ? config : listen) = argv[++i];
    } else if (argument == "--help" || argument == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << "ecfd: unexpected argument " << argument << "\n" << kUsage;
      return 2;
    }
  }
  if (config.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    return serve(config, listen);
  } catch (const std::exception& error) {
    std::cerr << "ecfd: " << error.what() << std::endl;
    return 1;
  }
}

// The printer as the worker thread drives it: the module's operations through ecf_call,
// each with what the printer refused (as the reply lists it), published as an event.
// Everything here runs on the worker thread only.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api_error.h"
#include "event_hub.h"
#include "metrics.h"
#include "module_client.h"
#include "operator_desk.h"
#include "service_config.h"
#include "tape_feed.h"

namespace ecfd {

using Json = nlohmann::json;

struct CallResult {
  Json reply;
  std::vector<PrinterError> refusals;

  // The operation ran and answered true (or a non-empty text).
  bool succeeded() const;
  // The call could not be made (bad arguments...): nothing reached the printer.
  bool notMade() const { return reply.contains("error") && !reply.at("error").is_null(); }
  PrinterError lastRefusal() const { return refusals.empty() ? PrinterError{} : refusals.back(); }
};

class PrinterService {
 public:
  PrinterService(const ServiceConfig& config, ModuleClient& module, OperatorDesk& desk,
                 EventHub& events, Metrics& metrics, TapeFeed& tape);

  // Sets the module up and starts the printer with the host's tables. False with `why`
  // when the printer does not start (the service still answers; document routes then
  // answer "printer_offline" and start it again first).
  bool start(std::string& why);
  bool started() const { return started_; }

  CallResult call(const std::string& operation, const Json& args,
                  const Json& answers = Json::array());
  // Day open, Z pending, document open, paper, on line, COO, CRZ, grand total, fiscal day.
  Json status();
  // The printer's counter as a number (-1 when it cannot be read).
  long long counter(const char* name);
  Json fiscalDay(bool dayOpenOrPending);

  // After each request's operations: new tape documents and the status, as events.
  void afterRequest();
  // The printer's port is closed (shutdown).
  void stop();

  const ServiceConfig& config() const { return config_; }
  // The operation's configured bag defaults with `fields` over them.
  Json bag(const std::string& operation, const Json& fields) const;
  // The host's payment types as the printer reconciled them.
  const Json& paymentTypes() const { return paymentTypes_; }
  // The percent of a tax code (configured, else the printer's), or a negative number.
  double taxPercent(const std::string& code) const;
  // The positions Cancela_Cupom_Imp takes: scheme, three unused, branch, till, serial.
  Json cancelPositions() const;

 private:
  // One call; `publish` makes it an "operation" event (the status readings are not).
  CallResult run(const std::string& operation, const Json& args, const Json& answers, bool publish);
  static int ECF_CALL operatorCallback(void* context, const char* message);
  void readTaxRates(const Json& reply);

  const ServiceConfig& config_;
  ModuleClient& module_;
  OperatorDesk& desk_;
  EventHub& events_;
  Metrics& metrics_;
  TapeFeed& tape_;
  bool started_ = false;
  Json paymentTypes_;
  Json printerTaxRates_ = Json::object();
  long long countedDocuments_ = 0;  // the tape's documents counted in the metrics
};

// A dataset's rows as objects keyed by field name, whichever form the JSON takes
// ({"fields", "rows"} with rows as lists or as objects).
std::vector<Json> rowsOf(const Json& table);

}  // namespace ecfd

#include "documents.h"

#include "request_values.h"

namespace ecfd {
namespace {

constexpr std::size_t kReportLimit = 64 * 1024;

}  // namespace

bool inCatalogue(const Json& catalogue, const std::string& name) {
  const Json* list = &catalogue;
  if (catalogue.is_object() && catalogue.contains("operations")) list = &catalogue.at("operations");
  if (list->is_array()) {
    for (const Json& operation : *list) {
      if (operation.is_object() && operation.value("name", "") == name) return true;
    }
    return false;
  }
  return list->is_object() && list->contains(name);
}

Reply documentReply(const char* document, const CallResult& call, long long coo) {
  if (call.notMade()) {
    throw ApiError(400, codes::kBadRequest, call.reply.at("error").value("message", "the call was refused"));
  }
  if (!call.succeeded()) {
    const PrinterError refusal = call.lastRefusal();
    throw ApiError(422, codes::kPrinterRefused,
                   std::string("the printer did not print the ") + document +
                       (refusal.empty() ? "" : ": " + refusal.name),
                   refusal);
  }
  return Reply::json(200, {{"document", document}, {"printed", true}, {"coo", coo < 0 ? Json() : Json(coo)}});
}

Reply runOperation(PrinterService& printer, const std::string& name, const Json& body) {
  if (!body.is_object()) throw ApiError(400, codes::kBadRequest, "the body must be a JSON object");
  const Json args = body.contains("args") ? body.at("args") : Json::object();
  const Json answers = body.contains("answers") ? body.at("answers") : Json::array();
  if (!answers.is_array()) throw ApiError(400, codes::kBadRequest, "\"answers\" must be a list");
  CallResult call = printer.call(name, args, answers);
  if (call.notMade()) {
    const Json& error = call.reply.at("error");
    throw ApiError(400, codes::kBadRequest,
                   error.value("code", "") + ": " + error.value("message", ""));
  }
  Json reply = call.reply;
  reply["printer"] = call.lastRefusal().toJson();
  return Reply::json(200, reply);
}

Reply cashSupply(PrinterService& printer, const Json& body) {
  const double amount = amountField(body, "amount", 0.01, true);
  const CallResult call = printer.call("Suprimento", Json::array({printer.config().scheme, amount}));
  return documentReply("cash supply", call, call.succeeded() ? printer.counter("COO") : -1);
}

Reply cashWithdrawal(PrinterService& printer, const Json& body) {
  const double amount = amountField(body, "amount", 0.01, true);
  const CallResult call =
      printer.call("Sangria", Json::array({"", printer.config().scheme, amount, nullptr}));
  return documentReply("cash withdrawal", call, call.succeeded() ? printer.counter("COO") : -1);
}

Reply readingX(PrinterService& printer, const Json&) {
  const CallResult call = printer.call("Leitura_X_Imp", Json::array({"", printer.config().scheme, ""}));
  return documentReply("X reading", call, call.succeeded() ? printer.counter("COO") : -1);
}

Reply reductionZ(PrinterService& printer, const Json& body) {
  // The Z reduction closes the fiscal day for good: never by a stray request.
  if (!flagField(body, "confirm")) {
    throw ApiError(400, codes::kBadRequest,
                   "the Z reduction closes the fiscal day: send {\"confirm\": true} to take it");
  }
  const CallResult call = printer.call("Reducao_Z_Imp", Json::array({"", printer.config().scheme, ""}));
  return documentReply("Z reduction", call, call.succeeded() ? printer.counter("COO") : -1);
}

Reply managementReport(PrinterService& printer, const Json& body) {
  const std::string text = requiredText(body, "text", kReportLimit);
  const std::string& scheme = printer.config().scheme;
  const CallResult opened = printer.call("Relatorio_Gerencial_Imp", Json::array({scheme, "", "", ""}));
  if (!opened.succeeded()) return documentReply("management report", opened, -1);
  const CallResult printed = printer.call("Usa_CompNFis", Json::array({scheme, text}));
  // The report is closed whatever happened to its text: no document stays open.
  const CallResult closed = printer.call("FechRelatGerenc", Json::array({scheme, true, false}));
  if (!printed.succeeded()) return documentReply("management report", printed, -1);
  return documentReply("management report", closed, closed.succeeded() ? printer.counter("COO") : -1);
}

}  // namespace ecfd

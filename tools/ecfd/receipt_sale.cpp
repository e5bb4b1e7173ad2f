#include "receipt_sale.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "clock_text.h"
#include "request_values.h"

namespace ecfd {
namespace {

constexpr std::size_t kMaxItems = 1000;
constexpr std::size_t kMaxPayments = 20;
constexpr std::size_t kClosingPositions = 44;

struct SaleItem {
  std::string code, name, taxCode, unit;
  double quantity = 0, unitPrice = 0;
};

struct SalePayment {
  std::string type;
  double amount = 0;
  Json paymentType;  // the host's row of that type, as the printer reconciled it
};

struct Sale {
  std::string saleId, cpf, consumerName, promotion, remark;
  std::vector<SaleItem> items;
  std::vector<SalePayment> payments;
  double discount = 0, surcharge = 0;

  double itemsTotal() const {
    double total = 0;
    for (const SaleItem& item : items) total += std::round(item.quantity * item.unitPrice * 100) / 100;
    return total;
  }
  double due() const { return itemsTotal() - discount + surcharge; }
  double paid() const {
    double total = 0;
    for (const SalePayment& payment : payments) total += payment.amount;
    return total;
  }
};

[[noreturn]] void bad(const std::string& message) { throw ApiError(400, codes::kBadRequest, message); }

bool validSaleId(const std::string& id) {
  if (id.empty() || id.size() > 64) return false;
  for (const char c : id) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '-' || c == '_' || c == '.' || c == ':';
    if (!allowed) return false;
  }
  return true;
}

const Json* listField(const Json& body, const char* name, std::size_t limit) {
  if (!body.contains(name) || !body.at(name).is_array() || body.at(name).empty()) {
    bad(std::string("\"") + name + "\" must be a list of at least one entry");
  }
  if (body.at(name).size() > limit) {
    bad(std::string("\"") + name + "\" holds more than " + std::to_string(limit) + " entries");
  }
  return &body.at(name);
}

Sale parseSale(const Json& body, const PrinterService& printer) {
  if (!body.is_object()) bad("the body must be a JSON object");
  Sale sale;
  sale.saleId = requiredText(body, "saleId", 64);
  if (!validSaleId(sale.saleId)) bad("\"saleId\" takes 1 to 64 letters, digits and - _ . :");
  sale.cpf = textField(body, "cpf", "", 20);
  sale.consumerName = textField(body, "consumerName", "", 60);
  sale.discount = amountField(body, "discount", 0, false);
  sale.surcharge = amountField(body, "surcharge", 0, false);
  if (sale.discount > 0 && sale.surcharge > 0) bad("a receipt takes a discount or a surcharge, not both");
  if (body.contains("footer")) {
    const Json& footer = body.at("footer");
    if (!footer.is_array() || footer.size() > 2) bad("\"footer\" must be a list of at most two texts");
    for (const Json& line : footer) {
      if (!line.is_string() || line.get<std::string>().size() > 400) bad("\"footer\" lines must be texts");
    }
    if (footer.size() > 0) sale.promotion = footer[0].get<std::string>();
    if (footer.size() > 1) sale.remark = footer[1].get<std::string>();
  }
  std::size_t index = 0;
  for (const Json& entry : *listField(body, "items", kMaxItems)) {
    ++index;
    if (!entry.is_object()) bad("item " + std::to_string(index) + " must be an object");
    SaleItem item;
    try {
      item.code = requiredText(entry, "code", 14);
      item.name = requiredText(entry, "name", 200);
      item.taxCode = requiredText(entry, "taxCode", 4);
      item.unit = textField(entry, "unit", "UN", 3);
      item.quantity = amountField(entry, "quantity", 0.001, true);
      item.unitPrice = amountField(entry, "unitPrice", 0, true);
    } catch (const ApiError& error) {
      bad("item " + std::to_string(index) + ": " + error.what());
    }
    sale.items.push_back(item);
  }
  const std::vector<Json> types = rowsOf(printer.paymentTypes());
  index = 0;
  for (const Json& entry : *listField(body, "payments", kMaxPayments)) {
    ++index;
    if (!entry.is_object()) bad("payment " + std::to_string(index) + " must be an object");
    SalePayment payment;
    try {
      payment.type = requiredText(entry, "type", 3);
      payment.amount = amountField(entry, "amount", 0.01, true);
    } catch (const ApiError& error) {
      bad("payment " + std::to_string(index) + ": " + error.what());
    }
    for (const Json& row : types) {
      if (row.value("CDTIPORECE", "") == payment.type && row.value("IDTIPORECE", "") != "B") {
        payment.paymentType = row;
      }
    }
    if (payment.paymentType.is_null()) {
      bad("payment " + std::to_string(index) + ": \"" + payment.type +
          "\" is not one of the host's printer payment types");
    }
    sale.payments.push_back(payment);
  }
  if (sale.discount >= sale.itemsTotal() && sale.discount > 0) bad("the discount is not below the items' total");
  if (sale.paid() + 0.005 < sale.due()) bad("the payments do not cover the receipt's total");
  return sale;
}

Json cashMovements(const Sale& sale, const Json& branch) {
  Json rows = Json::array();
  for (std::size_t i = 0; i < sale.payments.size(); ++i) {
    const SalePayment& payment = sale.payments[i];
    const Json& type = payment.paymentType;
    // The module pays in the movements' time order: one second apart, in the request's order.
    rows.push_back({{"CDFILIAL", branch},
                    {"IDTIPOMOVIVE", "E"},
                    {"DTHRINCMOV", dateTimeText(static_cast<int>(i))},
                    {"CDTIPORECE", payment.type},
                    {"NMTIPORECE", type.value("NMTIPORECE", "")},
                    {"IDTIPORECE", type.value("IDTIPORECE", "")},
                    {"VRMOVIVEND", payment.amount},
                    {"VRMOVIVEOUT", 0.0},
                    {"VRCOTINDOUT", 0.0},
                    {"DTMOVIMCAIXA", dateText()},
                    {"DSIMPFISCAL", type.value("DSIMPFISCAL", "")},
                    {"CDFPIMPFIS", type.value("CDFPIMPFIS", "")}});
  }
  return {{"fields",
           {"CDFILIAL:text:4", "IDTIPOMOVIVE:text:1", "DTHRINCMOV:datetime", "CDTIPORECE:text:3",
            "NMTIPORECE:text:40", "IDTIPORECE:text:1", "VRMOVIVEND:real", "VRMOVIVEOUT:real",
            "VRCOTINDOUT:real", "CDTIPOTROCO:text:3", "NRORDTROCO:text:3", "CDCLIENTE",
            "CDCONSUMIDOR", "DTMOVIMCAIXA:datetime", "DSIMPFISCAL:text:50", "CDFPIMPFIS:text:10",
            "NRCARTBANCO", "CDNSUHOSTTEF", "CDBANCARTCR:text:10", "CDTIPORECEORIG:text:3"}},
          {"rows", rows}};
}

Json closingPositions(const PrinterService& printer, const Sale& sale) {
  const ServiceConfig& config = printer.config();
  const Json start = printer.bag("StartImpFiscal", Json::object());
  Json at = {{"1", sale.promotion}, {"2", config.scheme}, {"4", false}, {"6", sale.discount},
             {"7", 0.0}, {"8", sale.surcharge}, {"9", ""}, {"10", sale.remark}, {"11", false},
             {"13", cashMovements(sale, start.value("CDFILIAL", "1"))},
             {"14", printer.paymentTypes()}, {"15", ""}, {"16", ""}, {"17", ""}, {"18", ""},
             {"19", sale.cpf}, {"20", sale.consumerName}, {"21", ""},
             {"22", config.operatorCode}, {"23", config.operatorName}, {"27", "2"}, {"31", ""},
             {"35", ""}, {"36", ""}, {"37", 0.0}, {"38", 0.0}, {"39", ""}, {"42", ""},
             {"43", config.stateCode}};
  return {{"size", kClosingPositions}, {"at", at}};
}

Json itemBag(const PrinterService& printer, const SaleItem& item) {
  Json fields = {{"ESQUEMACOR", printer.config().scheme}, {"CDARVPROD", item.code},
                 {"NMPROD", item.name},  {"CDALIQ", item.taxCode},
                 {"QTDE", item.quantity}, {"VALOR", item.unitPrice},
                 {"UNIDADE", item.unit}};
  const double percent = printer.taxPercent(item.taxCode);
  if (percent >= 0) fields["VRPERCALIQ"] = percent;
  return printer.bag("VendaItem", fields);
}

bool documentOpen(PrinterService& printer) {
  const Json status = printer.status();
  return status.contains("documentOpen") && status.at("documentOpen") == true;
}

double cents(double amount) { return std::round(amount * 100) / 100; }

// What a refused step leaves: the receipt cancelled, and the reply saying so.
struct Outcome {
  Json body = Json::object();
  int status = 200;
};

void cancelOpenReceipt(PrinterService& printer, Json& outcome) {
  const CallResult cancelled = printer.call("Cancela_Cupom_Imp", Json::array({printer.cancelPositions()}));
  outcome["cancelled"] = cancelled.succeeded();
  if (!cancelled.succeeded()) {
    outcome["cancellationRefused"] = cancelled.lastRefusal().toJson();
    return;
  }
  // The cancellation is printed on the receipt's own paper, under its COO.
  const long long coo = printer.counter("COO");
  outcome["coo"] = coo < 0 ? Json() : Json(coo);
}

Outcome printSale(PrinterService& printer, const Sale& sale) {
  Outcome outcome;
  Json& body = outcome.body;
  body = {{"saleId", sale.saleId}, {"status", "printed"}, {"coo", nullptr},
          {"printed", {{"opened", false}, {"items", 0}, {"closed", false}}},
          {"cancelled", false}, {"total", cents(sale.due())}, {"paid", cents(sale.paid())},
          {"change", cents(sale.paid() - sale.due())}, {"failure", nullptr}};
  const auto refused = [&](const std::string& step, const CallResult& call, int item) {
    const PrinterError refusal = call.lastRefusal();
    body["failure"] = {{"step", step}, {"item", item == 0 ? Json() : Json(item)},
                       {"printer", refusal.toJson()}};
    outcome.status = 422;
    return refusal;
  };
  const Json openFields = {{"ESQUEMACOR", printer.config().scheme}, {"INCLUICPF", sale.cpf}};
  const CallResult opened = printer.call("AbreCupom", Json::array({printer.bag("AbreCupom", openFields)}));
  if (!opened.succeeded()) {
    refused("AbreCupom", opened, 0);
    body["status"] = "not_printed";
    return outcome;
  }
  body["printed"]["opened"] = true;
  for (std::size_t i = 0; i < sale.items.size(); ++i) {
    const CallResult sold = printer.call("VendaItem", Json::array({itemBag(printer, sale.items[i])}));
    if (!sold.succeeded()) {
      refused("VendaItem", sold, static_cast<int>(i + 1));
      cancelOpenReceipt(printer, body);
      body["status"] = body["cancelled"].get<bool>() ? "cancelled" : "left_open";
      return outcome;
    }
    body["printed"]["items"] = i + 1;
  }
  const CallResult closed =
      printer.call("FechaCupom", Json::array({closingPositions(printer, sale), Json::array()}));
  if (!closed.succeeded()) {
    refused("FechaCupom", closed, 0);
    cancelOpenReceipt(printer, body);
    body["status"] = body["cancelled"].get<bool>() ? "cancelled" : "left_open";
    return outcome;
  }
  body["printed"]["closed"] = true;
  const long long coo = printer.counter("COO");
  body["coo"] = coo < 0 ? Json() : Json(coo);
  return outcome;
}

// FNV-1a over the request's JSON text (keys sorted): the same sale gives the same text.
std::string requestFingerprint(const Json& request) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : request.dump(-1, ' ', false, Json::error_handler_t::replace)) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

Reply saleReply(const Json& outcome, int status, bool replayed) {
  Json body = outcome;
  body["replayed"] = replayed;
  if (status == 200) return Reply::json(200, body);
  PrinterError printer;
  const Json& failure = outcome.value("failure", Json());
  if (failure.is_object() && failure.value("printer", Json()).is_object()) {
    const Json& p = failure.at("printer");
    printer = {p.value("code", 0), p.value("name", ""), p.value("circumstance", "")};
  }
  Json error = errorBody(codes::kPrinterRefused,
                         "the receipt was not printed: " + outcome.value("status", std::string()), printer);
  error["sale"] = body;
  return Reply::json(status, error);
}

}  // namespace

Reply sellReceipt(PrinterService& printer, SaleJournal& journal, const Json& body) {
  Json request = body;
  if (request.is_object()) request.erase("async");
  const Sale sale = parseSale(request, printer);
  // The journal keeps a fingerprint of each sale, not the sale: it is rewritten whole.
  const std::string fingerprint = requestFingerprint(request);
  if (const auto entry = journal.find(sale.saleId)) {
    if (entry->value("request", Json()) != fingerprint) {
      throw ApiError(409, codes::kSaleMismatch,
                     "saleId " + sale.saleId + " was already used for another sale");
    }
    if (entry->value("state", "") != "done") {
      throw ApiError(409, codes::kSaleInProgress, "saleId " + sale.saleId + " is being printed");
    }
    return saleReply(entry->at("outcome").at("body"), entry->at("outcome").value("status", 200), true);
  }
  const Json facts = {{"started", clockText()}, {"cooBefore", printer.counter("COO")},
                      {"cfcBefore", printer.counter("CFC")}};
  journal.markPending(sale.saleId, fingerprint, facts);
  Outcome outcome;
  try {
    outcome = printSale(printer, sale);
  } catch (const std::exception& error) {
    // The service's own fault mid-receipt: no receipt stays open, and the saleId says so.
    outcome.status = 500;
    outcome.body = {{"saleId", sale.saleId}, {"status", "failed"}, {"coo", nullptr},
                    {"cancelled", false}, {"failure", {{"step", "service"}, {"message", error.what()}}}};
    try {
      if (documentOpen(printer)) cancelOpenReceipt(printer, outcome.body);
    } catch (const std::exception&) {
      // The outcome already says it failed; the next start-up closes what stayed open.
    }
  }
  journal.markDone(sale.saleId, {{"status", outcome.status}, {"body", outcome.body}});
  return saleReply(outcome.body, outcome.status, false);
}

int settleInterruptedSales(PrinterService& printer, SaleJournal& journal) {
  const auto pending = journal.pending();
  for (const auto& [saleId, entry] : pending) {
    Json body = {{"saleId", saleId}, {"interrupted", true}, {"coo", nullptr}, {"cancelled", false},
                 {"failure", {{"step", "interrupted"}, {"item", nullptr}, {"printer", nullptr}}}};
    const long long cooBefore = entry.value("cooBefore", -1LL);
    const long long cfcBefore = entry.value("cfcBefore", -1LL);
    int httpStatus = 422;
    if (documentOpen(printer)) {
      cancelOpenReceipt(printer, body);
      body["status"] = body["cancelled"].get<bool>() ? "cancelled" : "left_open";
    } else if (cfcBefore >= 0 && printer.counter("CFC") > cfcBefore) {
      // The printer's start-up cancelled the receipt left open.
      body["cancelled"] = true;
      body["status"] = "cancelled";
    } else if (cooBefore >= 0 && printer.counter("COO") > cooBefore) {
      // Killed after the receipt closed, before its outcome was written.
      body["status"] = "printed";
      body["coo"] = cooBefore + 1;
      body["failure"] = nullptr;
      httpStatus = 200;
    } else {
      body["status"] = "not_printed";
    }
    journal.markDone(saleId, {{"status", httpStatus}, {"body", body}});
  }
  return static_cast<int>(pending.size());
}

}  // namespace ecfd

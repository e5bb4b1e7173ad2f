#include "printer_service.h"

#include <chrono>
#include <ctime>

#include "clock_text.h"

namespace ecfd {
namespace {

// The printer's indicator word (LeInteiro "Indicadores"), one bit per state.
constexpr long long kOnLine = 8192;
constexpr long long kDocumentOpen = 1024;
constexpr long long kPaperOut = 256;
constexpr long long kZPending = 128;
constexpr long long kDayOpen = 64;

std::string fieldName(const Json& field) {
  if (field.is_object()) return field.value("name", "");
  if (!field.is_string()) return "";
  // "NAME:type[:size]": the name before the first colon.
  const std::string definition = field.get<std::string>();
  return definition.substr(0, definition.find(':'));
}

long long wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 18) return -1;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The printer's refusals the reply lists; an entry that is not one is left out.
std::vector<PrinterError> refusalsOf(const Json& reply) {
  std::vector<PrinterError> refusals;
  if (!reply.contains("refusals") || !reply.at("refusals").is_array()) return refusals;
  for (const Json& entry : reply.at("refusals")) {
    if (!entry.is_object() || !entry.contains("code") || !entry.at("code").is_number_integer()) {
      continue;
    }
    const auto text = [&](const char* key) {
      const auto found = entry.find(key);
      return found != entry.end() && found->is_string() ? found->get<std::string>() : std::string();
    };
    refusals.push_back({entry.at("code").get<int>(), text("name"), text("circumstance")});
  }
  return refusals;
}

}  // namespace

bool CallResult::succeeded() const {
  if (notMade()) return false;
  const Json& result = reply.contains("result") ? reply.at("result") : Json();
  if (result.is_boolean()) return result.get<bool>();
  if (result.is_string()) return !result.get<std::string>().empty();
  return refusals.empty();  // an operation without a result
}

std::vector<Json> rowsOf(const Json& table) {
  std::vector<Json> rows;
  if (!table.is_object() || !table.contains("rows") || !table.at("rows").is_array()) return rows;
  std::vector<std::string> names;
  if (table.contains("fields") && table.at("fields").is_array()) {
    for (const Json& field : table.at("fields")) names.push_back(fieldName(field));
  }
  for (const Json& row : table.at("rows")) {
    if (row.is_object()) {
      rows.push_back(row);
    } else if (row.is_array()) {
      Json named = Json::object();
      for (std::size_t i = 0; i < row.size() && i < names.size(); ++i) named[names[i]] = row[i];
      rows.push_back(named);
    }
  }
  return rows;
}

PrinterService::PrinterService(const ServiceConfig& config, ModuleClient& module,
                               OperatorDesk& desk, EventHub& events, Metrics& metrics,
                               TapeFeed& tape)
    : config_(config),
      module_(module),
      desk_(desk),
      events_(events),
      metrics_(metrics),
      tape_(tape),
      paymentTypes_(config.paymentTypes),
      countedDocuments_(static_cast<long long>(tape.size())) {}

int ECF_CALL PrinterService::operatorCallback(void* context, const char* message) {
  auto* self = static_cast<PrinterService*>(context);
  // The module's message is untrusted text; a malformed one is a notice of nothing.
  const Json parsed = Json::parse(message == nullptr ? "" : message, nullptr, false);
  if (!parsed.is_object()) return 0;
  const std::string text = parsed.value("text", "");
  if (parsed.value("kind", "") == "question") return self->desk_.ask(text) ? 1 : 0;
  self->desk_.notice(text);
  return 0;
}

bool PrinterService::start(std::string& why) {
  module_.setHostDirectory(config_.hostDirectory);
  if (!config_.settings.empty() && !module_.setSettings(config_.settings)) {
    why = "the module refused the configured settings";
    return false;
  }
  module_.setOperator(&PrinterService::operatorCallback, this);
  const Json startBag = bag("StartImpFiscal", {{"CDPORTAIMPFIS", config_.port},
                                               {"PORTAIMPFIS", config_.port},
                                               {"ESQUEMA", config_.scheme},
                                               {"ESQUEMACOR", config_.scheme}});
  const CallResult started = call("StartImpFiscal", Json::array({startBag}));
  if (!started.succeeded()) {
    const PrinterError error = started.lastRefusal();
    why = "the printer on port " + config_.port + " did not start" +
          (error.empty() ? "" : ": " + std::to_string(error.code) + " " + error.name);
    if (started.notMade()) why += ": " + started.reply["error"].value("message", "");
    return false;
  }
  readTaxRates(call("CarregaAliquota", Json::array({config_.scheme, nullptr})).reply);
  call("CarregaTotalizador", Json::array({"", config_.scheme, 0, nullptr}));
  const CallResult reconciled =
      call("CarregaRecebimento", Json::array({"", config_.scheme, 0, config_.paymentTypes}));
  if (reconciled.reply.contains("out") && reconciled.reply.at("out").is_object()) {
    for (const auto& [name, value] : reconciled.reply.at("out").items()) {
      if (value.is_object() && value.contains("rows")) paymentTypes_ = value;
    }
  }
  started_ = true;
  return true;
}

void PrinterService::readTaxRates(const Json& reply) {
  if (!reply.contains("out") || !reply.at("out").is_object()) return;
  for (const auto& [name, table] : reply.at("out").items()) {
    for (const Json& row : rowsOf(table)) {
      if (!row.contains("CDALIQIMPFIS") || !row.contains("VRALIQIMPFIS")) continue;
      const Json& percent = row.at("VRALIQIMPFIS");
      if (!row.at("CDALIQIMPFIS").is_string()) continue;
      if (percent.is_number()) {
        printerTaxRates_[row.at("CDALIQIMPFIS").get<std::string>()] = percent.get<double>();
      }
    }
  }
}

CallResult PrinterService::call(const std::string& operation, const Json& args,
                                const Json& answers) {
  return run(operation, args, answers, true);
}

CallResult PrinterService::run(const std::string& operation, const Json& args, const Json& answers,
                               bool publish) {
  CallResult result;
  Json request = {{"args", args}};
  if (answers.is_array() && !answers.empty()) request["answers"] = answers;
  result.reply = module_.call(operation, request);
  result.refusals = refusalsOf(result.reply);
  for (const PrinterError& refusal : result.refusals) metrics_.refusal(refusal.name);
  if (!publish || !events_.hasSubscribers()) return result;
  const PrinterError last = result.lastRefusal();
  Json entry = {{"time", clockText()},
                {"operation", operation},
                {"result", result.reply.contains("result") ? result.reply.at("result") : Json()},
                {"error", last.empty() ? Json() : Json(std::to_string(last.code) + ": " + last.name +
                                                        (last.circumstance.empty() ? "" : " - " + last.circumstance))}};
  if (result.notMade()) entry["error"] = result.reply.at("error").value("message", "");
  events_.publish("operation", entry);
  return result;
}

long long PrinterService::counter(const char* name) {
  const CallResult read = run("LeInteiro", Json::array({name, false}), Json::array(), false);
  const Json& value = read.reply.contains("result") ? read.reply.at("result") : Json();
  return value.is_string() ? wholeNumber(value.get<std::string>()) : -1;
}

// The day a Z reduction would close ("2026-12-09"): the printer's opening date of its
// fiscal day, null while no day is open or pending.
Json PrinterService::fiscalDay(bool dayOpenOrPending) {
  if (!dayOpenOrPending) return nullptr;
  const CallResult read = run("DataMoviFiscal", Json::array({""}), Json::array(), false);
  const Json& value = read.reply.contains("result") ? read.reply.at("result") : Json();
  if (!value.is_string() || value.get<std::string>().size() < 10) return nullptr;
  return value.get<std::string>().substr(0, 10);
}

Json PrinterService::status() {
  Json status = {{"started", started_}};
  const long long indicators = started_ ? counter("Indicadores") : -1;
  const bool onLine = indicators >= 0 && (indicators & kOnLine) != 0;
  status["onLine"] = onLine;
  if (!onLine) {
    for (const char* field : {"dayOpen", "zPending", "documentOpen", "paperOut"}) status[field] = nullptr;
    status["coo"] = status["crz"] = status["grandTotal"] = status["fiscalDay"] = nullptr;
    metrics_.printerState(status);
    return status;
  }
  status["dayOpen"] = (indicators & kDayOpen) != 0;
  status["zPending"] = (indicators & kZPending) != 0;
  status["documentOpen"] = (indicators & kDocumentOpen) != 0;
  status["paperOut"] = (indicators & kPaperOut) != 0;
  const long long coo = counter("COO");
  const long long crz = counter("CRZ");
  status["coo"] = coo < 0 ? Json() : Json(coo);
  status["crz"] = crz < 0 ? Json() : Json(crz);
  // "ValorMoeda" comes with a decimal comma and no grouping: "1234,56".
  const CallResult total = run("LeMoeda", Json::array({"GT", false}), Json::array(), false);
  std::string text = total.reply.value("result", Json()).is_string()
                         ? total.reply.at("result").get<std::string>()
                         : "";
  for (char& c : text) {
    if (c == ',') c = '.';
  }
  char* end = nullptr;
  const double grandTotal = std::strtod(text.c_str(), &end);
  status["grandTotal"] = !text.empty() && end != nullptr && *end == '\0' ? Json(grandTotal) : Json();
  status["fiscalDay"] = fiscalDay(status["dayOpen"] || status["zPending"]);
  metrics_.printerState(status);
  return status;
}

void PrinterService::afterRequest() {
  // A document still printing comes again, grown, under its index: counted once.
  for (const Json& document : tape_.refresh()) {
    events_.publish("tape", document);
    const long long index = document.value("index", 0LL);
    if (index > countedDocuments_) {
      countedDocuments_ = index;
      metrics_.documentPrinted(document.value("title", ""));
    }
  }
  if (events_.hasSubscribers()) events_.publish("status", status());
}

void PrinterService::stop() {
  if (started_) call("FechaPorta", Json::array());
  module_.setOperator(nullptr, nullptr);
}

Json PrinterService::bag(const std::string& operation, const Json& fields) const {
  Json merged = Json::object();
  if (config_.bagDefaults.contains(operation) && config_.bagDefaults.at(operation).is_object()) {
    merged = config_.bagDefaults.at(operation);
  }
  for (const auto& [name, value] : fields.items()) merged[name] = value;
  return merged;
}

double PrinterService::taxPercent(const std::string& code) const {
  for (const Json* table : {&config_.taxRates, &printerTaxRates_}) {
    if (table->contains(code) && table->at(code).is_number()) return table->at(code).get<double>();
  }
  return -1;
}

Json PrinterService::cancelPositions() const {
  const Json start = bag("StartImpFiscal", Json::object());
  return Json::array({config_.scheme, "", "", "", start.value("CDFILIAL", "1"),
                      start.value("CDCAIXA", "1"), start.value("NRSERIEIMP", "")});
}

}  // namespace ecfd

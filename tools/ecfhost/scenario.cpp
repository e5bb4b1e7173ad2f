#include "scenario.h"

#include <iostream>
#include <memory>
#include <set>

#include "base/env.h"
#include "base/utf8_path.h"
#include "local_time.h"
#include "module_catalogue.h"
#include "report.h"

namespace ecfhost {
namespace {

// Something in the scenario file that does not say what it should.
class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Named packets a scenario defines once ("tables") and uses by {"table": name}, kept as
// the JSON the module is given in their place.
using Tables = std::map<std::string, Json>;

// One step, checked for its shape before anything runs.
struct Step {
  std::size_t number = 0;
  Json operation;  // its catalogue entry
  Json args;
  std::vector<bool> answers;
  Json expect;
  std::string note;
};

struct Scenario {
  std::string description;
  char decimalSeparator = 0;  // 0: as the command line says
  Json bagDefaults = Json::object();
  Tables tables;
  std::vector<Step> steps;
};

void onlyKeys(const Json& object, const std::set<std::string>& allowed, const std::string& where) {
  for (const auto& [key, unused] : object.items()) {
    if (allowed.count(key) == 0) {
      std::string names;
      for (const auto& name : allowed) names += (names.empty() ? "" : ", ") + name;
      throw ScenarioError(where + ": unknown key \"" + key + "\" (known: " + names + ")");
    }
  }
}

std::vector<std::string> textList(const Json& value, const std::string& where) {
  if (!value.is_array()) throw ScenarioError(where + " must be a list of texts");
  std::vector<std::string> texts;
  for (const Json& item : value) {
    if (!item.is_string()) throw ScenarioError(where + " must be a list of texts");
    texts.push_back(item.get<std::string>());
  }
  return texts;
}

// The value with every {"table": name} replaced by that table.
Json withTables(const Json& value, const Tables& tables) {
  if (value.is_object() && value.contains("table")) {
    if (value.size() != 1 || !value["table"].is_string()) {
      throw ScenarioError("a table reference is {\"table\": \"name\"} and nothing else");
    }
    const std::string name = value["table"].get<std::string>();
    const auto found = tables.find(name);
    if (found == tables.end()) throw ScenarioError("no table named \"" + name + "\" in \"tables\"");
    return found->second;
  }
  if (!value.is_structured()) return value;
  Json copy = value;
  for (auto& item : copy) item = withTables(item, tables);
  return copy;
}

Step readStep(const Json& json, std::size_t number, const ModuleCatalogue& catalogue) {
  const std::string where = "step " + std::to_string(number);
  if (!json.is_object())
    throw ScenarioError(where + ": a step is an object {\"op\": ..., \"args\": [...]}");
  onlyKeys(json, {"op", "args", "answers", "expect", "note"}, where);
  if (!json.contains("op") || !json["op"].is_string()) {
    throw ScenarioError(where + ": \"op\" must name an operation");
  }
  Step step;
  step.number = number;
  const std::string name = json["op"].get<std::string>();
  const Json* operation = catalogue.find(name);
  if (operation == nullptr) {
    throw ScenarioError(where + ": unknown operation \"" + name +
                        "\" (`ecfhost run --list` shows the supported ones)");
  }
  step.operation = *operation;
  step.args = json.contains("args") ? json["args"] : Json::array();
  if (!step.args.is_array())
    throw ScenarioError(where + " (" + name + "): \"args\" must be a list");
  const std::size_t expected = ModuleCatalogue::givenArgs(step.operation).size();
  if (step.args.size() != expected) {
    throw ScenarioError(where + " (" + name + "): " + std::to_string(step.args.size()) +
                        " arguments given, " + std::to_string(expected) +
                        " expected: " + ModuleCatalogue::usage(step.operation));
  }
  if (json.contains("answers")) {
    for (const std::string& text : textList(json["answers"], where + ": \"answers\"")) {
      const auto answer = parseAnswer(text);
      if (!answer) throw ScenarioError(where + ": answer \"" + text + "\" is neither yes nor no");
      step.answers.push_back(*answer);
    }
  }
  if (json.contains("note")) {
    if (!json["note"].is_string()) throw ScenarioError(where + ": \"note\" must be a text");
    step.note = json["note"].get<std::string>();
  }
  if (json.contains("expect")) {
    step.expect = json["expect"];
    if (!step.expect.is_object()) throw ScenarioError(where + ": \"expect\" must be an object");
    onlyKeys(step.expect, {"result", "out", "tape", "log", "notices", "questions"},
             where + " expect");
    if (step.expect.contains("out") && !step.expect["out"].is_object()) {
      throw ScenarioError(where + ": \"expect\".\"out\" must map names to values");
    }
    for (const char* key : {"tape", "log", "notices", "questions"}) {
      if (step.expect.contains(key))
        textList(step.expect[key], where + ": \"expect\".\"" + key + "\"");
    }
  }
  return step;
}

// A scenario is a few kilobytes, a few levels deep: anything far bigger is not one.
constexpr std::size_t kMaxScenarioBytes = 16 * 1024 * 1024;

Json parseScenario(const std::string& text) {
  try {
    return ecf::capi::parseJson(text);
  } catch (const ecf::capi::ValueError& error) {
    throw ScenarioError(error.what());
  }
}

Scenario readScenarioText(const std::string& text, const ModuleCatalogue& catalogue) {
  const Json json = parseScenario(text);
  if (!json.is_object()) throw ScenarioError("the file must hold one object with \"steps\"");
  onlyKeys(json, {"description", "decimalSeparator", "bagDefaults", "tables", "steps"}, "scenario");
  Scenario scenario;
  if (json.contains("description")) {
    if (!json["description"].is_string()) throw ScenarioError("\"description\" must be a text");
    scenario.description = json["description"].get<std::string>();
  }
  if (json.contains("decimalSeparator")) {
    const Json& separator = json["decimalSeparator"];
    if (separator != "," && separator != ".") {
      throw ScenarioError("\"decimalSeparator\" must be \",\" or \".\"");
    }
    scenario.decimalSeparator = separator.get<std::string>()[0];
  }
  if (json.contains("bagDefaults")) {
    scenario.bagDefaults = json["bagDefaults"];
    if (!scenario.bagDefaults.is_object()) throw ScenarioError("\"bagDefaults\" must be an object");
    for (const auto& [name, fields] : scenario.bagDefaults.items()) {
      if (catalogue.find(name) == nullptr) {
        throw ScenarioError("\"bagDefaults\": unknown operation \"" + name + "\"");
      }
      if (!fields.is_object())
        throw ScenarioError("\"bagDefaults\".\"" + name + "\" must be a bag");
    }
  }
  if (json.contains("tables")) {
    if (!json["tables"].is_object()) throw ScenarioError("\"tables\" must map names to packets");
    for (const auto& [name, table] : json["tables"].items()) {
      try {
        Json resolved = withTables(table, scenario.tables);
        ecf::capi::toPacket(resolved, &localNow);  // refused here, before anything runs
        scenario.tables[name] = std::move(resolved);
      } catch (const std::exception& error) {  // also a packet the dataset refuses
        throw ScenarioError("table \"" + name + "\": " + error.what());
      }
    }
  }
  if (!json.contains("steps") || !json["steps"].is_array() || json["steps"].empty()) {
    throw ScenarioError("\"steps\" must be a list of at least one step");
  }
  for (std::size_t i = 0; i < json["steps"].size(); ++i) {
    scenario.steps.push_back(readStep(json["steps"][i], i + 1, catalogue));
  }
  return scenario;
}

Scenario readScenario(const std::string& file, const ModuleCatalogue& catalogue) {
  std::string text;
  std::string error;
  if (!ecf::realEnv().readFile(file, text, &error, kMaxScenarioBytes)) {
    throw ScenarioError(error);
  }
  return readScenarioText(text, catalogue);
}

bool containsText(const std::vector<std::string>& texts, const std::string& wanted) {
  for (const auto& text : texts) {
    if (text.find(wanted) != std::string::npos) return true;
  }
  return false;
}

// "" when the step gave what it expects, else the first difference.
// What one call gave, from the module's reply.
struct Outcome {
  Json result;
  Json out;
  std::vector<std::string> notices;
  std::vector<std::string> questions;
  std::size_t unusedAnswers = 0;
};

std::string unmet(const Step& step, const Outcome& outcome, HostSession& host) {
  const Json& expect = step.expect;
  if (expect.contains("result")) {
    const std::string difference = whatDiffers(expect["result"], outcome.result, "result");
    if (!difference.empty()) return difference;
  }
  if (expect.contains("out")) {
    for (const auto& [name, wanted] : expect["out"].items()) {
      if (!outcome.out.contains(name)) {
        std::string names;
        for (const auto& [known, unused] : outcome.out.items()) names += " " + known;
        return "out \"" + name + "\": " + step.operation["name"].get<std::string>() +
               " writes back " +
               (names.empty() ? "nothing" : "only" + names);
      }
      const std::string difference = whatDiffers(wanted, outcome.out[name], "out " + name);
      if (!difference.empty()) return difference;
    }
  }
  if (expect.contains("tape")) {
    const std::string printed = host.tape().added();
    for (const Json& wanted : expect["tape"]) {
      if (printed.find(wanted.get<std::string>()) == std::string::npos) {
        return "the tape did not get \"" + wanted.get<std::string>() + "\" (this step printed " +
               std::to_string(printed.size()) + " bytes)";
      }
    }
  }
  if (expect.contains("log")) {
    const std::vector<std::string> entries = debugEntries(host.log().added());
    for (const Json& wanted : expect["log"]) {
      if (!containsText(entries, wanted.get<std::string>())) {
        return "the debug log did not get \"" + wanted.get<std::string>() + "\"" +
               (entries.empty() ? " (this step wrote no line)"
                                : " (last line: \"" + entries.back() + "\")");
      }
    }
  }
  for (const char* key : {"notices", "questions"}) {
    if (!expect.contains(key)) continue;
    const auto& shown = std::string(key) == "notices" ? outcome.notices : outcome.questions;
    for (const Json& wanted : expect[key]) {
      if (!containsText(shown, wanted.get<std::string>())) {
        return std::string("the operator was not ") +
               (std::string(key) == "notices" ? "shown" : "asked") + " \"" +
               wanted.get<std::string>() + "\"";
      }
    }
  }
  if (outcome.unusedAnswers > 0) {
    return std::to_string(outcome.unusedAnswers) +
           " scripted answer(s) left unused: the operator was asked fewer questions";
  }
  return "";
}

// A written-back value on one line; a packet as its row count and then one line per row.
void printOut(const std::string& name, const Json& value) {
  if (!value.is_object() || !value.contains("rows") || !value["rows"].is_array()) {
    std::cout << "      " << name << " = " << brief(value) << "\n";
    return;
  }
  const Json& rows = value["rows"];
  std::cout << "      " << name << " = " << rows.size() << (rows.size() == 1 ? " row" : " rows")
            << "\n";
  constexpr std::size_t kShown = 8;
  for (std::size_t i = 0; i < rows.size() && i < kShown; ++i) {
    std::cout << "        " << brief(rows[i], 110) << "\n";
  }
  if (rows.size() > kShown) std::cout << "        ...\n";
}

// The step's request: its arguments with the tables in place and the scenario's bag
// defaults under the bags it gives, and its scripted answers.
Json requestFor(const Step& step, const Scenario& scenario) {
  const std::string name = step.operation["name"].get<std::string>();
  const std::vector<Json> params = ModuleCatalogue::givenArgs(step.operation);
  Json args = withTables(step.args, scenario.tables);
  if (scenario.bagDefaults.contains(name)) {
    const Json defaults = withTables(scenario.bagDefaults[name], scenario.tables);
    for (std::size_t i = 0; i < params.size(); ++i) {
      if (params[i]["type"] != "bag" || !args[i].is_object()) continue;
      Json merged = defaults;
      for (const auto& [field, value] : args[i].items()) merged[field] = value;
      args[i] = std::move(merged);
    }
  }
  Json answers = Json::array();
  for (const bool answer : step.answers) answers.push_back(answer ? "yes" : "no");
  return Json{{"args", std::move(args)}, {"answers", std::move(answers)}};
}

// Runs the step through the module's C interface. Throws ScenarioError with the module's
// message for a call it could not make.
Outcome runStep(const Step& step, const Scenario& scenario, ModuleApi& api) {
  const std::string name = step.operation["name"].get<std::string>();
  const std::string request = requestFor(step, scenario).dump();
  char* text = api.ecf_call(name.c_str(), request.c_str());
  if (text == nullptr) throw ScenarioError("the module ran out of memory");
  const Json reply = Json::parse(text, nullptr, false);
  api.ecf_free(text);
  if (reply.is_discarded() || !reply.is_object()) throw ScenarioError("the module's reply is not JSON");
  if (!reply["error"].is_null()) throw ScenarioError(reply["error"].value("message", "error"));
  Outcome outcome;
  outcome.result = reply["result"];
  outcome.out = reply["out"];
  for (const Json& notice : reply["notices"]) outcome.notices.push_back(notice.get<std::string>());
  const Json& questions = reply["questions"];
  for (std::size_t i = 0; i < questions.size(); ++i) {
    const std::string question = questions[i]["text"].get<std::string>();
    outcome.questions.push_back(question);
    // The first ones were answered from the step's script; the module asked the tool's
    // operator for the others, which printed them.
    if (i < step.answers.size()) {
      std::string shown = question;
      std::replace(shown.begin(), shown.end(), '\n', ' ');
      std::cout << "      question: " << shown << " -> "
                << questions[i]["answer"].get<std::string>() << " (scripted)" << std::endl;
    }
  }
  outcome.unusedAnswers = step.answers.size() - std::min(step.answers.size(), questions.size());
  return outcome;
}

}  // namespace

void checkScenario(const std::string& text, const std::string& catalogue) {
  readScenarioText(text, ModuleCatalogue(catalogue));
}

void listOperations() {
  ModuleApi api;
  std::string error;
  if (!api.load(findModule(), error) || api.ecf_operations == nullptr) {
    std::cerr << "ecfhost: " << (error.empty() ? "the module has no ecf_operations" : error) << "\n";
    return;
  }
  const ModuleCatalogue catalogue(api.ecf_operations());
  for (const Json& operation : catalogue.operations()) {
    std::cout << ModuleCatalogue::usage(operation) << "\n";
  }
}

int runScenario(const std::string& file, const std::string& directory, bool reuse,
                const HostOptions& options) {
  Scenario scenario;
  try {
    // The steps are checked against the module's catalogue before anything runs.
    ModuleApi api;
    std::string error;
    if (!api.load(findModule(), error)) throw std::runtime_error(error);
    if (api.ecf_operations == nullptr || api.ecf_call == nullptr || api.ecf_free == nullptr) {
      throw std::runtime_error("the module does not export its C interface (ecf_call)");
    }
    scenario = readScenario(file, ModuleCatalogue(api.ecf_operations()));
  } catch (const std::exception& error) {
    // ScenarioError, and a module that does not load.
    std::cerr << "ecfhost: " << file << ": " << error.what() << "\n";
    return 2;
  }
  HostOptions effective = options;
  if (scenario.decimalSeparator != 0) effective.decimalPoint = scenario.decimalSeparator == '.';

  std::unique_ptr<HostSession> host;
  try {
    host = std::make_unique<HostSession>(Workspace::prepare(directory, "ecfhost-run", reuse),
                                         effective);
  } catch (const std::exception& error) {
    std::cerr << "ecfhost: " << error.what() << "\n";
    return 2;
  }
  std::cout << "Scenario " << file << (scenario.description.empty() ? "" : ": ")
            << scenario.description << "\n"
            << "Working in " << ecf::utf8FromPath(host->workspace().root()) << "\n";

  for (const Step& step : scenario.steps) {
    const std::string name = step.operation["name"].get<std::string>();
    std::cout << "step " << step.number << ": " << name
              << (step.note.empty() ? "" : "  (" + step.note + ")") << std::endl;
    host->beginStep();
    Outcome outcome;
    try {
      outcome = runStep(step, scenario, host->api());
    } catch (const std::exception& error) {
      std::cerr << "ecfhost: " << file << ": step " << step.number << " (" << name
                << "): " << error.what() << "\n";
      return 2;
    }
    std::cout << "      -> " << (outcome.result.is_null() ? "done" : brief(outcome.result)) << "\n";
    for (const auto& [key, value] : outcome.out.items()) printOut(key, value);
    const std::string difference = unmet(step, outcome, *host);
    if (!difference.empty()) {
      std::cout << "FAILED at step " << step.number << " (" << name << "): " << difference << "\n";
      const std::string printerError = host->stepError();
      if (!printerError.empty()) std::cout << "      printer/module said: " << printerError << "\n";
      std::cerr << "ecfhost: " << file << ": step " << step.number << " (" << name
                << ") failed: " << difference << "\n";
      return 1;
    }
  }
  std::cout << "Scenario passed: " << scenario.steps.size() << " steps.\n";
  printLocations(*host);
  return 0;
}

}  // namespace ecfhost

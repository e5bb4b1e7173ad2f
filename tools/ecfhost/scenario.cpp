#include "scenario.h"

#include <iostream>
#include <memory>
#include <set>

#include "base/env.h"
#include "base/utf8_path.h"
#include "operations.h"
#include "report.h"

namespace ecfhost {
namespace {

// One step, checked for its shape before anything runs.
struct Step {
  std::size_t number = 0;
  const Operation* operation = nullptr;
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

Step readStep(const Json& json, std::size_t number) {
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
  step.operation = findOperation(name);
  if (step.operation == nullptr) {
    throw ScenarioError(where + ": unknown operation \"" + name +
                        "\" (`ecfhost run --list` shows the supported ones)");
  }
  step.args = json.contains("args") ? json["args"] : Json::array();
  if (!step.args.is_array())
    throw ScenarioError(where + " (" + name + "): \"args\" must be a list");
  if (step.args.size() != step.operation->params.size()) {
    throw ScenarioError(where + " (" + name + "): " + std::to_string(step.args.size()) +
                        " arguments given, " + std::to_string(step.operation->params.size()) +
                        " expected: " + usage(*step.operation));
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

// A scenario is a few kilobytes, a few levels deep: anything far bigger or deeper is not
// one, and is refused before it can exhaust the memory or the stack.
constexpr std::size_t kMaxScenarioBytes = 16 * 1024 * 1024;
constexpr int kMaxNesting = 64;

Json parseScenario(const std::string& text) {
  try {
    return Json::parse(text, [](int depth, Json::parse_event_t, Json&) {
      if (depth > kMaxNesting) {
        throw ScenarioError("malformed JSON: nested more than " + std::to_string(kMaxNesting) +
                            " levels deep");
      }
      return true;
    });
  } catch (const Json::exception& error) {
    // Syntax errors, and numbers out of range such as 1e400.
    throw ScenarioError("malformed JSON: " + std::string(error.what()));
  }
}

Scenario readScenarioText(const std::string& text) {
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
      if (findOperation(name) == nullptr) {
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
        scenario.tables[name] = toPacket(table, scenario.tables);
      } catch (const std::exception& error) {  // also a packet the dataset refuses
        throw ScenarioError("table \"" + name + "\": " + error.what());
      }
    }
  }
  if (!json.contains("steps") || !json["steps"].is_array() || json["steps"].empty()) {
    throw ScenarioError("\"steps\" must be a list of at least one step");
  }
  for (std::size_t i = 0; i < json["steps"].size(); ++i) {
    scenario.steps.push_back(readStep(json["steps"][i], i + 1));
  }
  return scenario;
}

Scenario readScenario(const std::string& file) {
  std::string text;
  std::string error;
  if (!ecf::realEnv().readFile(file, text, &error, kMaxScenarioBytes)) {
    throw ScenarioError(error);
  }
  return readScenarioText(text);
}

bool containsText(const std::vector<std::string>& texts, const std::string& wanted) {
  for (const auto& text : texts) {
    if (text.find(wanted) != std::string::npos) return true;
  }
  return false;
}

// "" when the step gave what it expects, else the first difference.
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
        return "out \"" + name + "\": " + step.operation->name + " writes back " +
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
    const auto& shown = std::string(key) == "notices" ? host.op().notices() : host.op().questions();
    for (const Json& wanted : expect[key]) {
      if (!containsText(shown, wanted.get<std::string>())) {
        return std::string("the operator was not ") +
               (std::string(key) == "notices" ? "shown" : "asked") + " \"" +
               wanted.get<std::string>() + "\"";
      }
    }
  }
  if (host.op().unusedAnswers() > 0) {
    return std::to_string(host.op().unusedAnswers()) +
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

}  // namespace

void checkScenario(const std::string& text) { readScenarioText(text); }

void listOperations() {
  for (const Operation& operation : operations()) std::cout << usage(operation) << "\n";
}

int runScenario(const std::string& file, const std::string& directory, bool reuse,
                const HostOptions& options) {
  Scenario scenario;
  try {
    scenario = readScenario(file);
  } catch (const std::exception& error) {
    // ScenarioError, and a value the module's types refuse (a table's dataset, say).
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
    const std::string name = step.operation->name;
    std::cout << "step " << step.number << ": " << name
              << (step.note.empty() ? "" : "  (" + step.note + ")") << std::endl;
    host->beginStep();
    host->op().script(step.answers);
    Outcome outcome;
    try {
      const Json noDefaults = Json::object();
      const Json& defaults =
          scenario.bagDefaults.contains(name) ? scenario.bagDefaults[name] : noDefaults;
      Call call(host->api(), name, step.operation->params, step.args, scenario.tables, defaults);
      outcome = step.operation->run(call);
    } catch (const std::exception& error) {
      std::cerr << "ecfhost: " << file << ": step " << step.number << " (" << name
                << "): " << error.what() << "\n";
      return 2;
    }
    std::cout << "      -> " << (outcome.result.is_null() ? "done" : brief(outcome.result)) << "\n";
    for (const auto& [key, value] : outcome.out.items()) printOut(key, value);
    const std::string difference = unmet(step, outcome, *host);
    host->op().dropScript();
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

// `ecfhost run FILE`: the shipped examples pass; unmet expectations and malformed files
// stop the run with the step number and a plain message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "ecfhost/run_tool.h"

namespace ecfhosttest {
namespace {

using ::testing::HasSubstr;

const std::string kStart =
    R"({"op": "StartImpFiscal", "args": [{"CDFILIAL": "1", "CDCAIXA": "1",
        "NRSERIEIMP": "VP1", "NRSERIE": "VP1", "ESQUEMA": "001", "ESQUEMACOR": "001",
        "CDPORTAIMPFIS": "ECF1", "PORTAIMPFIS": "ECF1"}], "expect": {"result": true}})";

std::string scenario(const std::string& steps) { return R"({"steps": [)" + steps + "]}"; }

TEST(EcfhostScenario, EveryExampleScenarioPasses) {
  std::vector<std::filesystem::path> examples;
  for (const auto& entry : std::filesystem::directory_iterator(ECF_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".json") examples.push_back(entry.path());
  }
  std::sort(examples.begin(), examples.end());
  ASSERT_GE(examples.size(), 4u);
  for (const auto& example : examples) {
    SCOPED_TRACE(example.string());
    ScratchDirectory scratch;
    const ToolRun run = runTool(
        {"run", example.string(), "--dir", (scratch.path() / "run").string()}, scratch.path());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("Scenario passed"));
  }
}

TEST(EcfhostScenario, AnUnmetExpectationStopsTheRunAtItsStep) {
  struct Case {
    std::string steps;
    std::string message;
  };
  // Step 2 programs the totalizers the cash supply needs; step 3 is judged.
  const std::string prefix =
      kStart + R"(, {"op": "CarregaTotalizador", "args": ["", "001", 0, null]}, )";
  const std::vector<Case> cases = {
      {prefix + R"({"op": "Suprimento", "args": ["001", 10], "expect": {"result": false}},
                   {"op": "FechaPorta", "args": []})",
       "FAILED at step 3 (Suprimento): result: expected false, got true"},
      {prefix + R"({"op": "Suprimento", "args": ["001", 10], "expect": {"tape": ["SANGRIA"]}})",
       "FAILED at step 3 (Suprimento): the tape did not get \"SANGRIA\""},
      {prefix + R"({"op": "Suprimento", "args": ["001", 10],
                    "expect": {"log": ["EmiteItemNaoFiscal - 00 -  - 10,01"]}})",
       "FAILED at step 3 (Suprimento): the debug log did not get \"EmiteItemNaoFiscal - 00 -  - "
       "10,01\""},
      {prefix + R"({"op": "CarregaTotalizador", "args": ["", "001", 0, null],
                    "expect": {"out": {"idTotParcSangria": "00"}}})",
       "FAILED at step 3 (CarregaTotalizador): out idTotParcSangria: expected \"00\", got \"01\""},
      {prefix + R"({"op": "FechaPorta", "args": [], "answers": ["yes"]})",
       "FAILED at step 3 (FechaPorta): 1 scripted answer(s) left unused"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ScratchDirectory scratch;
    writeFile(scratch.path() / "s.json", scenario(c.steps));
    const ToolRun run = runTool({"run", "s.json", "--dir", "run"}, scratch.path());
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr(c.message));
    // The steps after the failed one never run.
    EXPECT_THAT(run.output, ::testing::Not(HasSubstr("step 4:")));
  }
}

int commandsNamed(const std::filesystem::path& record, const std::string& name) {
  int count = 0;
  std::istringstream lines(readFile(record));
  for (std::string line; std::getline(lines, line);) {
    count += line.find("\"command\":\"" + name + "\"") != std::string::npos;
  }
  return count;
}

TEST(EcfhostScenario, QuestionsBeyondTheScriptTakeTheDefaultAnswerAndNeverLoopForEver) {
  // With no receipt open the printer refuses the item every time; the operator is asked
  // whether to print it again.
  const std::string file = scenario(kStart + R"(, {"op": "VendaItem", "args": [{
      "ESQUEMACOR": "001", "INTEFERRO": "", "MESA": "", "FLAG": "", "CDARVPROD": "1",
      "NMPROD": "Pão de queijo", "CDALIQ": "00", "IDALIQ": "T", "QTDE": 1, "VALOR": 4.5,
      "DESCONT": 0, "UNIDADE": "UN", "TIPOTICKET": "", "VRPERCALIQ": 18, "IDUTILTEF": "N",
      "UTILTEF": false}], "expect": {"result": false}})");
  ScratchDirectory scratch;
  writeFile(scratch.path() / "s.json", file);

  const ToolRun no = runTool({"run", "s.json", "--dir", "no"}, scratch.path());
  EXPECT_EQ(no.status, 0) << no.output;
  EXPECT_THAT(no.output, HasSubstr("Deseja imprimir novamente? -> no (default answer)"));
  EXPECT_EQ(commandsNamed(scratch.path() / "no/printers/ECF1/commands.jsonl", "VendaDeItem"), 1);

  const ToolRun yes = runTool({"run", "s.json", "--dir", "yes", "--answer", "yes"}, scratch.path());
  EXPECT_EQ(yes.status, 0) << yes.output;
  EXPECT_THAT(yes.output, HasSubstr("-> yes (default answer)"));
  EXPECT_THAT(yes.output, HasSubstr("-> no (already answered yes 5 times)"));
  EXPECT_EQ(commandsNamed(scratch.path() / "yes/printers/ECF1/commands.jsonl", "VendaDeItem"), 6);
}

TEST(EcfhostScenario, MalformedFilesAreClearErrorsWithTheStepNumber) {
  struct Case {
    std::string file;
    std::string message;
    bool runsNothing;  // refused before any step runs
  };
  const std::vector<Case> cases = {
      {R"({"steps": [{"op": "FechaPorta", "args": []},)", "malformed JSON", true},
      {R"({"steps": []})", "\"steps\" must be a list of at least one step", true},
      {scenario(kStart + R"(, {"op": "VendeItem", "args": [{}]})"),
       "step 2: unknown operation \"VendeItem\"", true},
      {scenario(R"({"op": "Suprimento", "args": ["001"]})"),
       "step 1 (Suprimento): 1 arguments given, 2 expected: Suprimento(scheme: text, amount: "
       "number)",
       true},
      {scenario(R"({"op": "FechaPorta", "args": [], "expected": {"result": true}})"),
       "step 1: unknown key \"expected\"", true},
      {scenario(R"({"op": "FechaPorta", "args": [], "answers": ["talvez"]})"),
       "step 1: answer \"talvez\" is neither yes nor no", true},
      {R"({"tables": {"t": {"fields": ["VALOR:money"]}}, "steps": [{"op": "FechaPorta"}]})",
       "table \"t\": bad field definition \"VALOR:money\"", true},
      {scenario(kStart + R"(, {"op": "Suprimento", "args": ["001", "dez"]})"),
       "step 2 (Suprimento): Suprimento: argument 2 (amount) must be a number, not \"dez\"", false},
      {scenario(R"({"op": "CarregaRecebimento", "args": ["", "001", 0,
                      {"fields": ["CDTIPORECE:text:3"], "rows": [["001", "extra"]]}]})"),
       "step 1 (CarregaRecebimento): row 1: has 2 values for 1 fields", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ScratchDirectory scratch;
    writeFile(scratch.path() / "bad.json", c.file);
    const ToolRun run = runTool({"run", "bad.json", "--dir", "run"}, scratch.path());
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_THAT(run.output, HasSubstr("bad.json: " + c.message));
    if (c.runsNothing) {
      EXPECT_FALSE(std::filesystem::exists(scratch.path() / "run")) << "a step ran";
    }
  }
}

// Files a careful integrator might feed it by mistake or on purpose: each ends with a
// clear error and status 2, never an abort or a crash.
TEST(EcfhostScenario, HostileFilesEndInAClearErrorNeverACrash) {
  const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"({"steps": [{"op": "Suprimento", "args": ["001", 1e400]}]})",
       "malformed JSON: [json.exception.out_of_range.406] number overflow parsing '1e400'"},
      {scenario(R"({"op": "Suprimento", "args": ["001", )" + deep + "]}"),
       "malformed JSON: nested more than 64 levels deep"},
      {R"({"description": )" + deep + R"(, "steps": []})",
       "malformed JSON: nested more than 64 levels deep"},
      {R"({"tables": {"t": {"fields": [")" + std::string(100'000, 'A') +
           R"(:money"]}}, "steps": [{"op": "FechaPorta"}]})",
       "table \"t\": bad field definition \"AAAAAAAAAA"},
      {R"({"tables": {"t": {"fields": ["A", "a"]}}, "steps": [{"op": "FechaPorta"}]})",
       "table \"t\": "},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(message);
    ScratchDirectory scratch;
    writeFile(scratch.path() / "bad.json", file);
    const ToolRun run = runTool({"run", "bad.json", "--dir", "run"}, scratch.path());
    EXPECT_EQ(run.status, 2) << run.output.substr(0, 500);
    EXPECT_THAT(run.output, HasSubstr("bad.json: " + message));
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "run")) << "a step ran";
  }
  ScratchDirectory scratch;
  const std::string deviceFile = testplatform::kDeviceFile;
  const ToolRun device = runTool({"run", deviceFile, "--dir", "run"}, scratch.path());
  EXPECT_EQ(device.status, 2) << device.output;
  EXPECT_THAT(device.output, HasSubstr(deviceFile + ": cannot read '" + deviceFile +
                                       "': not a regular file"));
}

}  // namespace
}  // namespace ecfhosttest

// The README's host example, built as it stands and run as a newcomer runs it: against
// the virtual printer, in a directory of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "ecfhost/run_tool.h"

namespace ecfhosttest {
namespace {

using ::testing::HasSubstr;

const std::filesystem::path kSourceDir = ECF_SOURCE_DIR;

// The accepted commands of that name in a printer's command record.
std::vector<nlohmann::json> accepted(const std::filesystem::path& record,
                                     const std::string& command) {
  std::vector<nlohmann::json> found;
  std::istringstream lines(readFile(record));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    nlohmann::json entry = nlohmann::json::parse(line);
    if (entry.at("command") == command && entry.at("error") == "") found.push_back(entry);
  }
  return found;
}

TEST(MinimalHost, StartsThePrinterAndRegistersTheSupply) {
  ScratchDirectory scratch;
  // Its own copy, so the host directory (the executable's) is the scratch one.
  const std::string program = testplatform::programFileName("minimal_host");
  const std::filesystem::path host = scratch.path() / program;
  std::filesystem::copy_file(binPath(program), host);
  const std::filesystem::path printers = scratch.path() / "printers";

  const ToolRun run = runProgram(host.string(), {binPath(testplatform::kModuleFileName)},
                                 scratch.path(), {{"ECFSIM_ROOT", printers.string()}});
  ASSERT_EQ(0, run.status) << run.output;
  EXPECT_EQ("", run.output);  // no notice reached the operator

  const std::vector<nlohmann::json> items =
      accepted(printers / "ECF1" / "commands.jsonl", "EmiteItemNaoFiscal");
  ASSERT_EQ(1u, items.size());
  EXPECT_EQ((nlohmann::json{{{"name", "CodNaoFiscal"}, {"type", 9}, {"value", "00"}},
                            {{"name", "NomeNaoFiscal"}, {"type", 7}, {"value", ""}},
                            {{"name", "Valor"}, {"type", 6}, {"value", "150,00"}}}),
            items[0].at("params"));
  const std::string tape = readFile(printers / "ECF1" / "tape.txt");
  EXPECT_THAT(tape, HasSubstr("COMPROVANTE NÃO-FISCAL\n"
                              "00 Suprimento                             150,00\n"));

  bool logged = false;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
    if (entry.path().filename().string().rfind("impdebug", 0) == 0) {
      logged = readFile(entry.path()).find("Comando Executado: EmiteItemNaoFiscal - 00 -  - "
                                           "150,00") != std::string::npos;
    }
  }
  EXPECT_TRUE(logged);
}

TEST(MinimalHost, TheReadmeShowsItWhole) {
  const std::string readme = readFile(kSourceDir / "README.md");
  for (const char* file : {"minimal_host.cpp", "minimal_host_win32.cpp"}) {
    const std::string example = readFile(kSourceDir / "examples" / "host" / file);
    ASSERT_FALSE(example.empty()) << file;
    EXPECT_NE(std::string::npos, readme.find("```cpp\n" + example + "```\n"))
        << "README.md does not show examples/host/" << file << " as it is";
  }
}

}  // namespace
}  // namespace ecfhosttest

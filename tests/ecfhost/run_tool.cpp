#include "run_tool.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/utf8_path.h"

namespace ecfhosttest {

std::string binPath(const std::string& name) {
  if (!testplatform::environment("ECF_TEST_BIN")) {
    throw std::runtime_error("ECF_TEST_BIN is not set");
  }
  return ecf::utf8FromPath(testplatform::binDirectory() / name);
}

std::string programPath(const std::string& stem) {
  return binPath(testplatform::programFileName(stem));
}

std::string toolPath() { return programPath("ecfhost"); }

ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& directory) {
  return runProgram(toolPath(), args, directory);
}

ToolRun runProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& directory,
                   const testplatform::Variables& variables) {
  // No terminal on standard input: the program must never wait for an answer.
  return testplatform::runProcess(ecf::pathFromUtf8(program), args, directory, variables);
}

ScratchDirectory::ScratchDirectory() : path_(testplatform::makeScratchDirectory("ecfhost-test")) {}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> tapeDocuments(const std::string& tape) {
  const std::string separator(48, '=');
  std::vector<std::string> documents;
  std::istringstream in(tape);
  for (std::string line; std::getline(in, line);) {
    if (line == separator) {
      documents.emplace_back();
    } else if (!documents.empty()) {
      documents.back() += line + "\n";
    }
  }
  return documents;
}

}  // namespace ecfhosttest

#include "run_tool.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ecfhosttest {
namespace {

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

}  // namespace

std::string binPath(const std::string& name) {
  const char* bin = getenv("ECF_TEST_BIN");
  if (bin == nullptr || *bin == '\0') throw std::runtime_error("ECF_TEST_BIN is not set");
  return std::string(bin) + "/" + name;
}

std::string toolPath() { return binPath("ecfhost"); }

ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& directory) {
  return runProgram(toolPath(), args, directory);
}

ToolRun runProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& directory) {
  std::string command = "cd " + quoted(directory.string()) + " && " + quoted(program);
  for (const std::string& arg : args) command += " " + quoted(arg);
  // No terminal on standard input: the program must never wait for an answer.
  command += " </dev/null 2>&1";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot start " + command);
  char buffer[4096];
  std::size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, count);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ecfhost-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

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

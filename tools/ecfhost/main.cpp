// ecfhost: a small point-of-sale host for the fiscal-printer module.
#include <iostream>
#include <string>
#include <vector>

#include "demo.h"
#include "host_operator.h"
#include "platform.h"
#include "report.h"
#include "scenario.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  ecfhost demo [--dir DIR] [--reuse] [options]   a working day on the virtual printer\n"
    "  ecfhost run FILE [--dir DIR] [--reuse] [options]   run a scenario file (JSON)\n"
    "  ecfhost run --list                             the operations a scenario can call\n"
    "  ecfhost tape [--dir DIR] [--html FILE]         print the printer's tape, or write it\n"
    "                                                 as a page of thermal-paper slips\n"
    "options:\n"
    "  --dir DIR          work in DIR (default: a new ecfhost-demo-*/ecfhost-run-* directory\n"
    "                     here; for `tape`, the newest ecfhost-* directory here)\n"
    "  --reuse            carry on in a DIR that already holds a printer\n"
    "  --decimal-point    the host writes numbers with a decimal point (default: comma)\n"
    "  --answer yes|no    answer the printer's questions so, without asking (default when\n"
    "                     there is no terminal: no)\n";

struct Arguments {
  std::string command;
  std::vector<std::string> positional;
  std::string directory;
  std::string html;
  bool reuse = false;
  bool list = false;
  ecfhost::HostOptions host;
};

// Returns false (with a message) for anything it does not understand.
bool parse(const std::vector<std::string>& argv, Arguments& args) {
  const int argc = static_cast<int>(argv.size());
  if (argc < 2) return false;
  args.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&](std::string& target) {
      if (i + 1 >= argc) {
        std::cerr << "ecfhost: " << arg << " needs a value\n";
        return false;
      }
      target = argv[++i];
      return true;
    };
    if (arg == "--dir") {
      if (!value(args.directory)) return false;
    } else if (arg == "--html") {
      if (!value(args.html)) return false;
    } else if (arg == "--answer") {
      std::string answer;
      if (!value(answer)) return false;
      const auto parsed = ecfhost::parseAnswer(answer);
      if (!parsed) {
        std::cerr << "ecfhost: --answer takes yes or no\n";
        return false;
      }
      args.host.answer = *parsed;
    } else if (arg == "--reuse") {
      args.reuse = true;
    } else if (arg == "--decimal-point") {
      args.host.decimalPoint = true;
    } else if (arg == "--list") {
      args.list = true;
    } else if (arg.rfind("--", 0) == 0) {
      std::cerr << "ecfhost: unknown option " << arg << "\n";
      return false;
    } else {
      args.positional.push_back(arg);
    }
  }
  return true;
}

}  // namespace

namespace {

int runCommand(int argc, char** argv) {
  Arguments args;
  if (!parse(ecfhost::platform::arguments(argc, argv), args)) {
    std::cerr << kUsage;
    return 2;
  }
  if (args.command == "--help" || args.command == "-h" || args.command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (args.command == "demo" && args.positional.empty()) {
    return ecfhost::runDemo(args.directory, args.reuse, args.host);
  }
  if (args.command == "run" && args.list && args.positional.empty()) {
    ecfhost::listOperations();
    return 0;
  }
  if (args.command == "run" && args.positional.size() == 1) {
    return ecfhost::runScenario(args.positional[0], args.directory, args.reuse, args.host);
  }
  if (args.command == "tape" && args.positional.empty()) {
    return ecfhost::tapeCommand(args.directory, args.html);
  }
  std::cerr << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  ecfhost::platform::prepareConsole();
  // Whatever escapes a command is reported, never an abort.
  try {
    return runCommand(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "ecfhost: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "ecfhost: unexpected error\n";
  }
  return 2;
}

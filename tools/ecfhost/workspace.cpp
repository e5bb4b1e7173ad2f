#include "workspace.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/utf8_path.h"
#include "local_time.h"
#include "platform.h"

namespace ecfhost {
namespace fs = std::filesystem;
namespace {

bool holdsSomething(const fs::path& directory) {
  std::error_code error;
  return fs::is_directory(directory, error) && !fs::is_empty(directory, error);
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

Workspace Workspace::prepare(const std::string& chosen, const std::string& prefix, bool reuse) {
  fs::path root;
  if (!chosen.empty()) {
    root = fs::absolute(ecf::pathFromUtf8(chosen));
    if (fs::exists(root) && !fs::is_directory(root)) {
      throw std::runtime_error(ecf::utf8FromPath(root) + " exists and is not a directory");
    }
    if (holdsSomething(root) && !reuse) {
      throw std::runtime_error(ecf::utf8FromPath(root) +
                               " already holds a printer and a host directory; pass --reuse to "
                               "carry on with them, or choose a new directory");
    }
  } else {
    const fs::path base = fs::current_path() / (prefix + "-" + localTimeText("%Y%m%d-%H%M%S"));
    root = base;
    for (int n = 2; fs::exists(root); ++n) {
      root = ecf::pathFromUtf8(ecf::utf8FromPath(base) + "-" + std::to_string(n));
    }
  }
  Workspace workspace(root);
  fs::create_directories(workspace.printerRoot());
  fs::create_directories(workspace.hostDirectory());
  return workspace;
}

Workspace Workspace::find(const std::string& chosen) {
  if (!chosen.empty()) {
    const fs::path root = fs::absolute(ecf::pathFromUtf8(chosen));
    if (!fs::is_directory(root / "printers")) {
      throw std::runtime_error(ecf::utf8FromPath(root) + " holds no virtual printer (no printers/ folder)");
    }
    return Workspace(root);
  }
  fs::path newest;
  fs::file_time_type newestTime{};
  for (const auto& entry : fs::directory_iterator(fs::current_path())) {
    const std::string name = ecf::utf8FromPath(entry.path().filename());
    if (!entry.is_directory() || !startsWith(name, "ecfhost-")) continue;
    if (!fs::is_directory(entry.path() / "printers")) continue;
    const auto when = fs::last_write_time(entry.path());
    if (newest.empty() || when > newestTime) {
      newest = entry.path();
      newestTime = when;
    }
  }
  if (newest.empty()) {
    throw std::runtime_error("no ecfhost-* directory here; run `ecfhost demo` first or pass --dir");
  }
  return Workspace(newest);
}

void Workspace::exportPrinterRoot() const {
  platform::setEnvironment("ECFSIM_ROOT", ecf::utf8FromPath(printerRoot()));
}

std::vector<fs::path> Workspace::debugLogs() const {
  std::vector<fs::path> logs;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(hostDirectory(), error)) {
    const std::string name = ecf::utf8FromPath(entry.path().filename());
    if (startsWith(name, "impdebug") && entry.path().extension() == ".txt") {
      logs.push_back(entry.path());
    }
  }
  // impdebugMMYY: order by year, then month.
  std::sort(logs.begin(), logs.end(), [](const fs::path& a, const fs::path& b) {
    const std::string x = ecf::utf8FromPath(a.stem());
    const std::string y = ecf::utf8FromPath(b.stem());
    const auto key = [](const std::string& s) {
      return s.size() >= 12 ? s.substr(10, 2) + s.substr(8, 2) : s;
    };
    return key(x) < key(y);
  });
  return logs;
}

std::vector<fs::path> Workspace::tapes() const {
  std::vector<fs::path> found;
  std::error_code error;
  for (const auto& printer : fs::directory_iterator(printerRoot(), error)) {
    if (!printer.is_directory()) continue;
    const fs::path tape = printer.path() / "tape.txt";
    if (fs::exists(tape)) found.push_back(tape);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace ecfhost

#include "core/state_store.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "base/utf8_path.h"

namespace ecfsim {

std::optional<std::filesystem::path> stateRoot() {
  if (auto root = platform::environmentPath("ECFSIM_ROOT")) return root;
  return platform::defaultStateRoot();
}

std::string sanitizePortName(std::string_view port) {
  std::string name;
  for (const char c : port) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
    name += keep ? c : '_';
    if (name.size() == 64) break;
  }
  for (auto pos = name.find(".."); pos != std::string::npos; pos = name.find("..")) {
    name[pos] = '_';
  }
  if (!name.empty() && name[0] == '.') name[0] = '_';
  return name.empty() ? "default" : name;
}

bool StateStore::acquire(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(directory_, ec);
  if (ec) {
    error = "não foi possível criar " + ecf::utf8FromPath(directory_) + ": " + ec.message();
    return false;
  }
  return lock_.acquire(directory_ / "lock", error);
}

void StateStore::release() { lock_.release(); }

bool StateStore::hasState() const {
  std::error_code ec;
  return std::filesystem::exists(statePath(), ec);
}

bool StateStore::read(std::string& json, std::string& error) const {
  std::error_code ec;
  std::filesystem::remove(temporaryPath(), ec);
  std::ifstream in(statePath(), std::ios::binary);
  if (!in) {
    error = "não foi possível ler " + ecf::utf8FromPath(statePath());
    return false;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  json = contents.str();
  return true;
}

bool StateStore::write(const std::string& json, std::string& error) const {
  return platform::replaceFile(statePath(), temporaryPath(), json, error);
}

void StateStore::wipe() const {
  std::error_code ec;
  for (const auto& path : {statePath(), temporaryPath(), tapePath(), recordPath()}) {
    std::filesystem::remove(path, ec);
  }
}

}  // namespace ecfsim

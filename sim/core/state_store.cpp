#include "core/state_store.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/utf8_path.h"

namespace ecfsim {

std::optional<std::filesystem::path> stateRoot() {
  if (auto root = platform::environmentPath("ECFSIM_ROOT")) return root;
  return platform::defaultStateRoot();
}

bool isDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '0' && base[3] <= '9';
}

std::string sanitizePortName(std::string_view port, bool deviceNamesReserved) {
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
  if (name.empty()) return "default";
  // "COM1" is the usual port text on Windows, where a directory cannot take that name.
  if (deviceNamesReserved && isDeviceName(name)) name.insert(0, "_");
  return name;
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

bool StateStore::write(const std::string& json, bool durable, std::string& error) const {
  return platform::replaceFile(statePath(), temporaryPath(), json, durable, error);
}

void StateStore::wipe() const {
  std::error_code ec;
  for (const auto& path :
       {statePath(), temporaryPath(), journalPath(), tapePath(), recordPath()}) {
    std::filesystem::remove(path, ec);
  }
}

}  // namespace ecfsim

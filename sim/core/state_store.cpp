#include "core/state_store.h"

#include <cctype>
#include <system_error>

#include "base/utf8_path.h"
#include "core/printer_files.h"

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
  if (!lock_.acquire(directory_ / "lock", error)) return false;
  removeTemporaries();
  return true;
}

void StateStore::release() { lock_.release(); }

bool StateStore::hasState() const {
  std::error_code ec;
  return std::filesystem::exists(statePath(), ec);
}

void StateStore::removeTemporaries() const {
  // The old fixed name "state.json.tmp" starts the same way.
  const std::string prefix = "state.json.tmp";
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(directory_, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ecf::utf8FromPath(it->path().filename()).starts_with(prefix)) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

bool StateStore::read(std::string& json, std::string& error) const {
  return platform::readRegularFile(statePath(), kMaxStateBytes, json, error);
}

bool StateStore::write(const std::string& json, bool durable, std::string& error) const {
  return platform::replaceFile(statePath(), json, durable, error);
}

void StateStore::wipe() const {
  std::error_code ec;
  for (const auto& path : {statePath(), journalPath(), tapePath(), recordPath()}) {
    std::filesystem::remove(path, ec);
  }
  removeTemporaries();
}

}  // namespace ecfsim

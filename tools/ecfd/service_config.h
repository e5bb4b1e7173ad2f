// The service's configuration file: which printer, where its files live, the host's tables
// and defaults a receipt is composed with, and the limits of the HTTP side.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

struct ServiceConfig {
  std::string port = "ECF1";     // the printer's port text, handed to StartImpFiscal
  std::string hostDirectory;     // debug log, grand-total file, token, sale journal
  std::string printerRoot;       // the virtual printer's state root ("" leaves it alone)
  std::string tapeFile;          // the virtual printer's paper tape ("" for none)
  std::string listen = "127.0.0.1:8410";
  std::string scheme = "001";    // the colour scheme handed to every operation
  std::string operatorCode = "1";
  std::string operatorName;
  std::string stateCode = "SP";
  Json settings = Json::object();      // the host's number and date settings
  Json paymentTypes;                   // {"fields", "rows"}: the host's payment types
  Json taxRates = Json::object();      // tax code -> percent, when the printer's are not read
  Json bagDefaults = Json::object();   // operation -> bag fields
  std::size_t queueLimit = 64;
  int questionTimeoutSeconds = 30;
  std::vector<std::string> allowedOrigins;
  std::vector<std::string> allowedHosts;  // Host names accepted besides the loopback ones

  // Throws std::runtime_error naming the file and the fault. Relative paths are taken
  // from the file's own directory.
  static ServiceConfig load(const std::string& path);
};

}  // namespace ecfd

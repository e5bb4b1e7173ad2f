#include "support/bench_host.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "capi/json_values.h"
#include "ecf/datapacket.h"
#include "ecf/module.h"
#include "ecf/settings.h"
#include "host_tables.h"

namespace ecfbench {
namespace {

// The computer's local time: the virtual printer's clock and the module's agree on it.
ecf::DateTime localNow() {
  const std::time_t seconds = std::time(nullptr);
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return ecf::DateTime::fromParts(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                                  parts.tm_hour, parts.tm_min, parts.tm_sec);
}

}  // namespace

std::string executableDirectory() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : self.parent_path().string();
}

ecfhost::ModuleApi& loadModule(const std::string& path) {
  static ecfhost::ModuleApi module;
  static bool loaded = false;
  if (loaded) return module;
  std::string error;
  if (!module.load(path, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(2);
  }
  if (!module.missing().empty()) {
    std::fprintf(stderr, "%s lacks %s\n", path.c_str(), module.missing().front().c_str());
    std::exit(2);
  }
  loaded = true;
  return module;
}

std::string tmpfsDirectory() {
  const char* chosen = std::getenv("ECF_BENCH_TMPFS");
  return chosen != nullptr && *chosen != '\0' ? chosen : "/dev/shm";
}

std::string makeDirectory(const std::string& parent, const std::string& prefix) {
  std::filesystem::create_directories(parent);
  std::string pattern = parent + "/" + prefix + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror(pattern.c_str());
    std::exit(2);
  }
  return pattern + "/";
}

void installHost(ecfhost::ModuleApi& module, const std::string& hostDirectory) {
  module.ecf_SetOperator([](const ecf::OperatorMessage& message) {
    // A notice during a benchmark means the figure is not what it claims to be.
    std::fprintf(stderr, "operator: %s\n", message.text.c_str());
    return false;
  });
  module.ecf_SetSettings(ecf::HostSettings::brazilian());
  module.ecf_SetHostDirectory(hostDirectory.c_str());
}

ecf::Variant startBag(const std::string& port) {
  return ecf::makeBag({{"CDFILIAL", "1"},
                       {"CDCAIXA", "1"},
                       {"NRSERIEIMP", "VP000000000000000001"},
                       {"NRSERIE", "VP000000000000000001"},
                       {"ESQUEMA", "001"},
                       {"ESQUEMACOR", "001"},
                       {"CDPORTAIMPFIS", port},
                       {"PORTAIMPFIS", port}});
}

ecf::Variant openingBag() {
  return ecf::makeBag({{"ESQUEMACOR", "001"}, {"INTTEFERRO", ""},  {"INCLUICPF", ""},
                       {"INCLUINOME", ""},    {"INCLUIENDERECO", ""}, {"CUPNR", ""},
                       {"CONTCUPOM", ""},     {"TIPOTICKET", ""},  {"IVACOMP", ""},
                       {"IVAPROP", ""},       {"TIPODOC", ""},     {"NRDOC", ""},
                       {"MESA", ""},          {"IDUTILTEF", "N"},  {"UTILTEF", false}});
}

double itemPrice(int n) { return 1.0 + (n % 50) * 0.25; }

std::string itemRequest(int n) {
  ecf::capi::Json bag = ecf::capi::Json::object();
  const ecf::Variant item = itemBag(n);
  for (const ecf::Variant& field : item.asArray()) {
    bag[field.asArray()[0].toText()] = ecf::capi::fromVariant(field.asArray()[1]);
  }
  return ecf::capi::Json{{"args", {bag}}}.dump();
}

ecf::Variant itemBag(int n) {
  return ecf::makeBag({{"ESQUEMACOR", "001"},
                       {"INTEFERRO", ""},
                       {"MESA", ""},
                       {"FLAG", ""},
                       {"CDARVPROD", std::to_string(1000 + n % 500)},
                       {"NMPROD", "Pão de queijo nº " + std::to_string(n % 500)},
                       {"CDALIQ", "00"},
                       {"IDALIQ", "T"},
                       {"QTDE", 1.0},
                       {"VALOR", itemPrice(n)},
                       {"DESCONT", 0.0},
                       {"UNIDADE", "UN"},
                       {"TIPOTICKET", ""},
                       {"VRPERCALIQ", 18.0},
                       {"IDUTILTEF", "N"},
                       {"UTILTEF", false}});
}

std::vector<ecf::Variant> cashClosing(double amount) {
  using ecf::FieldType;
  using ecf::Variant;
  std::vector<Variant> values(44);
  // Positions the module never reads hold what no reader could take for a text.
  for (const int unread : {0, 3, 5, 12, 24, 25, 26, 28, 29, 30, 40, 41}) {
    values[static_cast<std::size_t>(unread)] = Variant(Variant::Array{Variant("x")});
  }
  values[1] = "Obrigado pela preferência";
  values[2] = "001";
  values[4] = false;
  values[6] = 0.0;
  values[7] = 0.0;
  values[8] = 0.0;
  values[9] = "N";
  values[10] = "Volte sempre";
  values[11] = false;
  const ecf::DataPacket paymentTypes({{"CDTIPORECE", FieldType::Text, 3},
                                      {"NMTIPORECE", FieldType::Text, 40},
                                      {"IDTIPORECE", FieldType::Text, 1}},
                                     {{Variant("001"), Variant("Dinheiro"), Variant("1")}});
  // The day's one cash sale, recorded as the host tool records its sales.
  values[13] = ecfhost::cashMovements({{"001", amount}}, paymentTypes, localNow());
  values[14] = paymentTypes;
  values[22] = "7";
  values[23] = "Maria";
  values[27] = "2";
  values[37] = 0.0;
  values[38] = 0.0;
  values[42] = "ECO42";
  values[43] = "SP";
  return values;
}

double residentMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  }
  return 0;
}

}  // namespace ecfbench

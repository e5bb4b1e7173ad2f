#include "reports/report_values.h"

#include "base/dateformat.h"
#include "base/numberformat.h"
#include "base/textlayout.h"
#include "base/utf8.h"
#include "host/module_env.h"

namespace ecf {

std::string fieldText(const Dataset& dataset, std::string_view field) {
  return repairUtf8(dataset.asText(field, hostSettings()));
}

double fieldNumber(const Dataset& dataset, std::string_view field) {
  return dataset.asNumber(field, hostSettings());
}

void requireFields(const Dataset& dataset, std::initializer_list<std::string_view> fields) {
  if (dataset.isEmpty()) return;
  // Reading a field the dataset lacks raises the error that names it.
  for (const std::string_view field : fields) dataset.value(field);
}

void loadPacket(Dataset& dataset, const Variant& packet) { dataset.setData(packet.asPacket()); }

std::string fixed2(double value) { return formatFixed(value, 15, 2, hostSettings()); }
std::string fixed3(double value) { return formatFixed(value, 15, 3, hostSettings()); }

std::string amountColumn(std::string_view amount, int width) { return padLeft(amount, width); }

std::string issueLine() {
  return "Data Emissão: " +
         formatDateTime("dd/mm/yyyy hh:nn:ss", moduleEnv().now(), hostSettings());
}

}  // namespace ecf

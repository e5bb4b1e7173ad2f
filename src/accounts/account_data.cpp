#include "accounts/account_data.h"

#include "base/numberformat.h"
#include "data/filter.h"
#include "host/module_env.h"

namespace ecf {

std::string movementAmount(double value) { return formatFixed(value, 13, 2, hostSettings()); }

std::string fieldEquals(std::string_view field, std::string_view value) {
  return std::string(field) + " = " + quoteFilterValue(value);
}

void showOnly(Dataset& dataset, const std::string& filterText) {
  dataset.setFiltered(false);
  dataset.setFilter(filterText);
  dataset.setFiltered(true);
}

// The filter compares a field's text form in the default settings, whatever the host's.
std::string keyText(const Dataset& dataset, std::string_view field) {
  return dataset.asText(field, HostSettings{});
}

void toFirstRow(Dataset& dataset) {
  if (dataset.active()) dataset.first();
}

}  // namespace ecf

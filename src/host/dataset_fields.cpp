#include "host/dataset_fields.h"

#include <string>

namespace ecf {

void requireHostFields(const Dataset& dataset, std::initializer_list<std::string_view> fields,
                       std::string_view what) {
  if (dataset.data().rowCount() == 0) return;
  for (const std::string_view field : fields) {
    if (!dataset.hasField(field)) {
      throw DatasetError(std::string(what) + " sem o campo " + std::string(field) + ".");
    }
  }
}

}  // namespace ecf

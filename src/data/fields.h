// Field definitions of a dataset: lookup by name (letter case ignored), checks, messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ecf/datapacket.h"

namespace ecf {

// How a dataset is named in messages ("cdsReceb"), also when it has no name.
std::string datasetLabel(std::string_view datasetName);

// "Campo 'X' não encontrado em cdsY".
std::string missingFieldMessage(std::string_view field, std::string_view datasetName);

// Position of the field named `name` (letter case ignored, accented letters included), or -1.
int findField(const std::vector<FieldDef>& fields, std::string_view name);

// Throws DatasetError for an empty or repeated name (letter case ignored), an unknown type
// or a negative size,
// so that a name always finds one field. `owner` says where the definitions come from.
void checkFieldDefs(const std::vector<FieldDef>& fields, std::string_view owner);

const char* fieldTypeName(FieldType type);

}  // namespace ecf

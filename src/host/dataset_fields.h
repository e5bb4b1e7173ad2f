// Host tables are checked for the fields an operation reads before it prints anything from
// them, so a table of another layout is refused whole with a plain message instead of
// leaving a half-printed document open on the printer.
#pragma once

#include <initializer_list>
#include <string_view>

#include "ecf/dataset.h"

namespace ecf {

// Throws DatasetError "<what> sem o campo <FIELD>." for the first field the dataset lacks.
// A dataset without rows is never read, so it passes whatever its fields.
void requireHostFields(const Dataset& dataset, std::initializer_list<std::string_view> fields,
                       std::string_view what);

}  // namespace ecf

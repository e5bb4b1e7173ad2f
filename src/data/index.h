// Named indexes of a dataset: an ordered list of fields, some of them descending.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/variant.h"

namespace ecf {

struct IndexDef {
  std::string name;
  std::vector<std::string> fields;
  std::vector<bool> descending;  // one flag per field
};

// Reads "F1;F2" and the descending subset "F2" (names ignore case, spaces around them are
// dropped). Throws DatasetError for an empty field list or a descending field that is not
// in the list.
IndexDef makeIndexDef(std::string name, std::string_view fields, std::string_view descendingFields,
                      std::string_view datasetName);

struct IndexKey {
  int field = 0;
  bool descending = false;
};

// The index's fields resolved against the field definitions; a missing field is a
// DatasetError naming the field, the index and the dataset.
std::vector<IndexKey> resolveIndex(const IndexDef& index, const std::vector<FieldDef>& fields,
                                   std::string_view datasetName);

// True when row `a` comes before row `b` in the index's order (see compareFieldValues).
bool indexLess(const std::vector<IndexKey>& keys, const std::vector<Variant>& a,
               const std::vector<Variant>& b);

}  // namespace ecf

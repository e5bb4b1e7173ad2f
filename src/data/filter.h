// The filter language of a dataset, exactly what the module builds:
//
//   filter     = [ comparison { "AND" comparison } ]
//   comparison = field ( "=" | "<>" ) quoted
//   quoted     = "'" { any character but "'" | "''" } "'"
//
// "AND" is read in any letter case, field names ignore case, spaces around tokens are free
// and may be left out after a quoted text ("A = '1'AND B = '2'").
// A row passes when the text form of each field (see textForm) equals, or differs from,
// the quoted text, compared exactly. Anything else is a DatasetError.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/variant.h"

namespace ecf {

struct FilterComparison {
  int field = 0;      // position in the field definitions
  bool equal = true;  // "=" (true) or "<>" (false)
  std::string text;   // the quoted text, doubled quotes undone
};

using Filter = std::vector<FilterComparison>;  // all must hold; empty = every row

// Throws DatasetError naming the dataset and saying what is wrong and where.
Filter parseFilter(std::string_view text, const std::vector<FieldDef>& fields,
                   std::string_view datasetName);

bool filterAccepts(const Filter& filter, const std::vector<Variant>& row);

// A value written as a quoted text of the filter language: between single quotes, each
// quote inside doubled. Every filter text built from data goes through here, so a value
// always matches itself and never reads as a different comparison or a broken filter.
std::string quoteFilterValue(std::string_view value);

}  // namespace ecf

#include "data/index.h"

#include "base/utf8.h"
#include "data/field_value.h"
#include "data/fields.h"
#include "ecf/dataset.h"

namespace ecf {
namespace {

std::vector<std::string> splitFieldList(std::string_view list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view name = list.substr(start, end - start);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) names.emplace_back(name);
    start = end + 1;
  }
  return names;
}

}  // namespace

IndexDef makeIndexDef(std::string name, std::string_view fields, std::string_view descendingFields,
                      std::string_view datasetName) {
  IndexDef index;
  index.name = std::move(name);
  index.fields = splitFieldList(fields);
  if (index.fields.empty()) {
    throw DatasetError("Índice '" + index.name + "' de " + datasetLabel(datasetName) +
                       " sem campos");
  }
  index.descending.assign(index.fields.size(), false);
  for (const std::string& descending : splitFieldList(descendingFields)) {
    bool found = false;
    for (std::size_t i = 0; i < index.fields.size(); ++i) {
      if (equalsIgnoreCase(index.fields[i], descending)) {
        index.descending[i] = true;
        found = true;
      }
    }
    if (!found) {
      throw DatasetError("Índice '" + index.name + "' de " + datasetLabel(datasetName) +
                         ": o campo descendente '" + descending +
                         "' não está entre os campos do índice");
    }
  }
  return index;
}

std::vector<IndexKey> resolveIndex(const IndexDef& index, const std::vector<FieldDef>& fields,
                                   std::string_view datasetName) {
  std::vector<IndexKey> keys;
  for (std::size_t i = 0; i < index.fields.size(); ++i) {
    const int field = findField(fields, index.fields[i]);
    if (field < 0) {
      throw DatasetError(missingFieldMessage(index.fields[i], datasetName) + " (índice '" +
                         index.name + "')");
    }
    keys.push_back({field, index.descending[i]});
  }
  return keys;
}

bool indexLess(const std::vector<IndexKey>& keys, const std::vector<Variant>& a,
               const std::vector<Variant>& b) {
  for (const IndexKey& key : keys) {
    const auto field = static_cast<std::size_t>(key.field);
    const int order = compareFieldValues(a[field], b[field]);
    if (order != 0) return key.descending ? order > 0 : order < 0;
  }
  return false;
}

}  // namespace ecf

// The whole content of a dataset as one immutable value: field definitions plus rows.
// Copies are cheap (shared, never modified).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ecf/export.h"

namespace ecf {

class Variant;

enum class FieldType { Text, Integer, Real, DateTime, Boolean };

struct ECF_API FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;  // text fields: maximum length in characters; 0 = unlimited

  bool operator==(const FieldDef&) const = default;
};

class ECF_API DataPacket {
 public:
  DataPacket();  // no fields, no rows
  // Every row must have one value per field, and every field a name of its own (letter
  // case ignored) and a size of 0 or more; otherwise throws DatasetError.
  DataPacket(std::vector<FieldDef> fields, std::vector<std::vector<Variant>> rows);

  const std::vector<FieldDef>& fields() const;
  std::size_t rowCount() const;
  const std::vector<Variant>& row(std::size_t index) const;  // throws DatasetError when out of range
  // Position of a field, letter case ignored; -1 when the packet has no such field.
  int fieldIndex(std::string_view name) const;
  bool hasFields() const { return !fields().empty(); }

  bool operator==(const DataPacket& other) const;

 private:
  struct Content;
  // The content, or an empty one for a moved-from packet (whose pointer is null).
  const Content& content() const;
  std::shared_ptr<const Content> content_;
};

}  // namespace ecf

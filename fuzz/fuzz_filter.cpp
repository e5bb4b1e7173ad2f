// The filter language over a dataset: any text is a clear DatasetError or a filter that
// shows a subset of the rows.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ecf/dataset.h"

namespace {

ecf::Dataset grandTotalRows() {
  using ecf::FieldType;
  using ecf::Variant;
  ecf::Dataset dataset("cdsCheckECF");
  dataset.setData(ecf::DataPacket(
      {{"CDFILIAL", FieldType::Text, 4},
       {"CDCAIXA", FieldType::Text, 3},
       {"NRSERIEECF", FieldType::Text, 20},
       {"CAMPO01", FieldType::Text, 1},
       {"VRTOTAL", FieldType::Real, 0},
       {"QTITENS", FieldType::Integer, 0},
       {"IDATIVO", FieldType::Boolean, 0},
       {"DTHRMOV", FieldType::DateTime, 0}},
      {{Variant("1"), Variant("1"), Variant("VP1"), Variant("S"), Variant(10.5), Variant(3),
        Variant(true), Variant(ecf::DateTime::fromParts(2026, 12, 8, 10, 0, 0))},
       {Variant("1"), Variant("2"), Variant("VP'2"), Variant("N"), Variant(-1.0), Variant(0),
        Variant(false), Variant()},
       {Variant("Ação"), Variant(), Variant(""), Variant("S"), Variant(), Variant(), Variant(),
        Variant()}}));
  return dataset;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ecf::Dataset rows = grandTotalRows();
  ecf::Dataset dataset = rows;
  try {
    dataset.setFilter(std::string(reinterpret_cast<const char*>(data), size));
    dataset.setFiltered(true);
  } catch (const ecf::DatasetError&) {
    return 0;
  }
  int shown = 0;
  for (dataset.first(); !dataset.eof(); dataset.next()) {
    dataset.asText("NRSERIEECF");
    ++shown;
  }
  if (shown != dataset.recordCount() || shown > 3) __builtin_trap();
  dataset.setFiltered(false);
  if (dataset.recordCount() != 3) __builtin_trap();
  return 0;
}

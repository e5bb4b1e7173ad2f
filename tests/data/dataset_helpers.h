// Builders shared by the dataset suites.
#pragma once

#include <string>
#include <vector>

#include "ecf/dataset.h"

namespace ecf::testing {

// Appends one row, setting the given fields in order.
inline void addRow(Dataset& ds, const std::vector<std::string>& fields,
                   const std::vector<Variant>& values) {
  ds.append();
  for (std::size_t i = 0; i < fields.size(); ++i) ds.setValue(fields[i], values[i]);
  ds.post();
}

// The text of `field` for every visible row, walking the view from the first row.
inline std::vector<std::string> column(Dataset& ds, const std::string& field) {
  std::vector<std::string> texts;
  for (ds.first(); !ds.eof(); ds.next()) texts.push_back(ds.asText(field));
  return texts;
}

// A payment dataset as the receipt code keeps one.
inline Dataset paymentDataset() {
  Dataset ds("cdsReceb");
  ds.setFieldDefs({{"FORMA", FieldType::Text, 20},
                   {"TIPO", FieldType::Text, 1},
                   {"NOME", FieldType::Text, 30},
                   {"VALOR", FieldType::Real, 0}});
  ds.createDataSet();
  const std::vector<std::string> f{"FORMA", "TIPO", "NOME", "VALOR"};
  addRow(ds, f, {"Dinheiro", "A", "Ana", 10.0});
  addRow(ds, f, {"Cartão", "A", "D'Avila", 20.5});
  addRow(ds, f, {"Cheque", "B", "Bia", 7.25});
  addRow(ds, f, {"Cartão", "B", "Caio", 3.0});
  addRow(ds, f, {"Dinheiro", "B", "D", 1.0});
  ds.first();
  return ds;
}

}  // namespace ecf::testing

#include "data/fields.h"

#include "base/utf8.h"
#include "ecf/dataset.h"

namespace ecf {

std::string datasetLabel(std::string_view datasetName) {
  return datasetName.empty() ? std::string("dataset sem nome") : std::string(datasetName);
}

std::string missingFieldMessage(std::string_view field, std::string_view datasetName) {
  return "Campo '" + std::string(field) + "' não encontrado em " + datasetLabel(datasetName);
}

int findField(const std::vector<FieldDef>& fields, std::string_view name) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (equalsIgnoreCase(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

void checkFieldDefs(const std::vector<FieldDef>& fields, std::string_view owner) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldDef& def = fields[i];
    if (def.name.empty()) {
      throw DatasetError("Definição de campos inválida em " + std::string(owner) + ": o campo " +
                         std::to_string(i + 1) + " não tem nome");
    }
    if (def.type < FieldType::Text || def.type > FieldType::Boolean) {
      throw DatasetError("Definição de campos inválida em " + std::string(owner) + ": o campo '" +
                         def.name + "' tem um tipo desconhecido");
    }
    if (def.size < 0) {
      throw DatasetError("Definição de campos inválida em " + std::string(owner) + ": o campo '" +
                         def.name + "' tem tamanho negativo");
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (equalsIgnoreCase(fields[j].name, def.name)) {
        throw DatasetError("Definição de campos inválida em " + std::string(owner) + ": o campo '" +
                           def.name + "' aparece mais de uma vez");
      }
    }
  }
}

const char* fieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Text: return "texto";
    case FieldType::Integer: return "inteiro";
    case FieldType::Real: return "real";
    case FieldType::DateTime: return "data e hora";
    case FieldType::Boolean: return "lógico";
  }
  return "desconhecido";
}

}  // namespace ecf

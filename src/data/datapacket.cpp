#include "ecf/datapacket.h"

#include "data/fields.h"
#include "ecf/dataset.h"
#include "ecf/variant.h"

namespace ecf {

struct DataPacket::Content {
  std::vector<FieldDef> fields;
  std::vector<std::vector<Variant>> rows;
};

DataPacket::DataPacket() = default;

const DataPacket::Content& DataPacket::content() const {
  static const Content empty;
  return content_ ? *content_ : empty;
}

DataPacket::DataPacket(std::vector<FieldDef> fields, std::vector<std::vector<Variant>> rows) {
  checkFieldDefs(fields, "pacote de dados");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].size() != fields.size()) {
      throw DatasetError("Pacote de dados inválido: a linha " + std::to_string(i + 1) + " tem " +
                         std::to_string(rows[i].size()) + " valores para " +
                         std::to_string(fields.size()) + " campos");
    }
  }
  content_ = std::make_shared<const Content>(Content{std::move(fields), std::move(rows)});
}

const std::vector<FieldDef>& DataPacket::fields() const { return content().fields; }

std::size_t DataPacket::rowCount() const { return content().rows.size(); }

const std::vector<Variant>& DataPacket::row(std::size_t index) const {
  if (index >= content().rows.size()) {
    throw DatasetError("Pacote de dados: linha " + std::to_string(index) +
                       " fora do intervalo (o pacote tem " + std::to_string(content().rows.size()) +
                       " linhas)");
  }
  return content().rows[index];
}

int DataPacket::fieldIndex(std::string_view name) const {
  return findField(content().fields, name);
}

bool DataPacket::operator==(const DataPacket& other) const {
  if (content_ == other.content_) return true;  // the same snapshot
  return content().fields == other.content().fields && content().rows == other.content().rows;
}

}  // namespace ecf

#include "support/grand_total_file.h"

#include <fstream>
#include <sstream>

#include "base/cipher.h"
#include "base/utf8_path.h"
#include "data/dataset_file.h"
#include "driver/grand_total.h"
#include "ecf/datapacket.h"
#include "ecf/variant.h"

namespace ecftest {

void writeGrandTotalFile(const std::string& path, const std::string& check,
                         const std::string& storedTotal, const std::string& serial) {
  using ecf::FieldDef;
  using ecf::FieldType;
  ecf::DataPacket packet(
      {FieldDef{"CDFILIAL", FieldType::Text, 4}, FieldDef{"CDCAIXA", FieldType::Text, 3},
       FieldDef{"NRSERIEECF", FieldType::Text, 20}, FieldDef{"CAMPO01", FieldType::Text, 1},
       FieldDef{"CAMPO02", FieldType::Text, 100}},
      {{ecf::Variant("1"), ecf::Variant("1"), ecf::Variant(serial), ecf::Variant(check),
        ecf::Variant(ecf::encipher(storedTotal, ecf::kGrandTotalKey))}});
  std::ofstream(ecf::pathFromUtf8(path), std::ios::binary) << ecf::encodeDatasetFile(packet);
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(ecf::pathFromUtf8(path), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string recordedGrandTotal(const std::string& path) {
  const ecf::DataPacket packet = ecf::decodeDatasetFile(fileBytes(path));
  return ecf::decipher(
      packet.row(0)[static_cast<std::size_t>(packet.fieldIndex("CAMPO02"))].toText(),
      ecf::kGrandTotalKey);
}

}  // namespace ecftest

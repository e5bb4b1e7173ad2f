#include "data/dataset_file.h"

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/utf8.h"
#include "data/crc32.h"
#include "data/field_value.h"
#include "data/fields.h"
#include "ecf/dataset.h"
#include "ecf/variant.h"

namespace ecf {
namespace {

constexpr std::string_view kMagic{"ECFDSET\0", 8};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;  // magic, version, length
constexpr std::size_t kChecksumSize = 4;
constexpr std::size_t kFieldDefMinSize = 9;  // type, size, name length
// What the memory allocator adds to every block it hands out, roughly.
constexpr std::size_t kAllocationOverhead = 16;
// Small files decode whatever their shape.
constexpr std::size_t kDecodedAllowance = 64 * 1024;

enum Tag : std::uint8_t {
  kNull = 0,
  kBoolean = 1,
  kInteger = 2,
  kReal = 3,
  kText = 4,
  kDateTime = 5
};

Tag tagOf(FieldType type) {
  switch (type) {
    case FieldType::Text: return kText;
    case FieldType::Integer: return kInteger;
    case FieldType::Real: return kReal;
    case FieldType::DateTime: return kDateTime;
    case FieldType::Boolean: return kBoolean;
  }
  return kNull;
}

// --- writing ---

class Writer {
 public:
  void u8(std::uint8_t value) { out_ += static_cast<char>(value); }
  void u32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out_ += static_cast<char>((value >> (8 * i)) & 0xFFU);
  }
  void u64(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out_ += static_cast<char>((value >> (8 * i)) & 0xFFU);
  }
  void count(std::size_t value, const char* what) {
    if (value > std::numeric_limits<std::uint32_t>::max()) {
      throw DatasetError(std::string("Não é possível gravar o dataset: ") + what +
                         " grande demais para o formato do arquivo");
    }
    u32(static_cast<std::uint32_t>(value));
  }
  void text(std::string_view value, const char* what) {
    count(value.size(), what);
    out_ += value;
  }
  void raw(std::string_view bytes) { out_ += bytes; }
  std::string& bytes() { return out_; }

 private:
  std::string out_;
};

void writeValue(Writer& writer, const Variant& value, FieldType type) {
  if (value.isNull()) {
    writer.u8(kNull);
    return;
  }
  writer.u8(tagOf(type));
  switch (type) {
    case FieldType::Text: writer.text(value.toText(), "texto"); break;
    case FieldType::Integer: writer.u64(static_cast<std::uint64_t>(value.toInteger())); break;
    case FieldType::Real: writer.u64(std::bit_cast<std::uint64_t>(value.toNumber())); break;
    case FieldType::DateTime:
      writer.u64(static_cast<std::uint64_t>(value.toDateTime().millisSinceEpoch()));
      break;
    case FieldType::Boolean: writer.u8(value.toBool() ? 1 : 0); break;
  }
}

// --- reading ---

[[noreturn]] void inconsistent(const std::string& what) {
  throw DatasetError("Arquivo de dataset inválido: conteúdo inconsistente (" + what + ")");
}

std::uint32_t u32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// Reads the content between the header and the checksum; every read checks the bytes left.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t left() const { return bytes_.size() - pos_; }
  bool atEnd() const { return pos_ == bytes_.size(); }

  std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
  std::uint32_t u32() { return u32At(take(4), 0); }
  std::uint64_t u64() {
    const std::string_view bytes = take(8);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return value;
  }
  std::string text(const char* what) {
    const std::uint32_t length = u32();
    if (length > left()) inconsistent(std::string(what) + " passa do fim do arquivo");
    const std::string_view value = take(length);
    if (!isValidUtf8(value)) inconsistent(std::string(what) + " não é UTF-8 válido");
    return std::string(value);
  }

 private:
  std::string_view take(std::size_t count) {
    if (count > left()) inconsistent("fim inesperado dos dados");
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

std::vector<FieldDef> readFields(Reader& reader) {
  const std::uint32_t count = reader.u32();
  if (count > reader.left() / kFieldDefMinSize) {
    inconsistent(std::to_string(count) + " campos não cabem no arquivo");
  }
  std::vector<FieldDef> fields;
  fields.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    FieldDef def;
    const std::uint8_t type = reader.u8();
    if (type > static_cast<std::uint8_t>(FieldType::Boolean)) {
      inconsistent("tipo " + std::to_string(type) + " desconhecido no campo " +
                   std::to_string(i + 1));
    }
    def.type = static_cast<FieldType>(type);
    const std::uint32_t size = reader.u32();
    if (size > static_cast<std::uint32_t>(INT_MAX)) {
      inconsistent("tamanho inválido no campo " + std::to_string(i + 1));
    }
    def.size = static_cast<int>(size);
    def.name = reader.text("nome de campo");
    fields.push_back(std::move(def));
  }
  checkFieldDefs(fields, "arquivo de dataset");
  return fields;
}

Variant readValue(Reader& reader, const FieldDef& def) {
  const std::uint8_t tag = reader.u8();
  if (tag == kNull) return {};
  if (tag != tagOf(def.type)) {
    inconsistent("valor de tipo " + std::to_string(tag) + " no campo '" + def.name + "' (" +
                 fieldTypeName(def.type) + ")");
  }
  switch (def.type) {
    case FieldType::Text: {
      std::string text = reader.text("texto");
      if (def.size > 0 && charCount(text) > static_cast<std::size_t>(def.size)) {
        inconsistent("texto maior que o tamanho do campo '" + def.name + "'");
      }
      return Variant(std::move(text));
    }
    case FieldType::Integer: return Variant(static_cast<std::int64_t>(reader.u64()));
    case FieldType::Real: {
      const double number = std::bit_cast<double>(reader.u64());
      if (!std::isfinite(number)) inconsistent("número não finito no campo '" + def.name + "'");
      return Variant(number);
    }
    case FieldType::DateTime: {
      const auto millis = static_cast<std::int64_t>(reader.u64());
      try {
        return Variant(DateTime().addMillis(millis));
      } catch (const std::exception&) {  // outside the years 1 to 9999
        inconsistent("data fora do intervalo no campo '" + def.name + "'");
      }
    }
    case FieldType::Boolean: {
      const std::uint8_t flag = reader.u8();
      if (flag > 1) inconsistent("valor lógico inválido no campo '" + def.name + "'");
      return Variant(flag == 1);
    }
  }
  inconsistent("tipo de campo desconhecido");
}

// Rows of nulls take one byte per value on disk and a whole Variant in memory; the rows
// are counted against the budget before any is allocated.
void refuseBeyondMemoryBudget(std::size_t rowCount, std::size_t fieldCount,
                              std::size_t fileSize) {
  const std::size_t rowCost =
      sizeof(std::vector<Variant>) + kAllocationOverhead + fieldCount * sizeof(Variant);
  const std::size_t budget = kDecodedBytesPerFileByte * fileSize + kDecodedAllowance;
  if (rowCount > budget / rowCost) {
    throw DatasetError("Arquivo de dataset recusado: " + std::to_string(rowCount) +
                       " linhas de " + std::to_string(fieldCount) +
                       " campo(s) ocupariam memória demais para um arquivo de " +
                       std::to_string(fileSize) + " bytes");
  }
}

}  // namespace

std::string encodeDatasetFile(const DataPacket& packet) {
  const std::vector<FieldDef>& fields = packet.fields();
  Writer writer;
  writer.raw(kMagic);
  writer.u32(kVersion);
  writer.u32(0);  // the length, filled in below
  writer.count(fields.size(), "número de campos");
  for (const FieldDef& def : fields) {
    writer.u8(static_cast<std::uint8_t>(def.type));
    writer.u32(static_cast<std::uint32_t>(def.size));  // never negative: the packet checked it
    writer.text(def.name, "nome de campo");
  }
  writer.count(packet.rowCount(), "número de linhas");
  for (std::size_t r = 0; r < packet.rowCount(); ++r) {
    const std::vector<Variant>& row = packet.row(r);
    for (std::size_t f = 0; f < fields.size(); ++f) {
      writeValue(writer, toFieldValue(fields[f], row[f], "pacote de dados"), fields[f].type);
    }
  }
  std::string& bytes = writer.bytes();
  const std::size_t length = bytes.size() + kChecksumSize;
  if (length > std::numeric_limits<std::uint32_t>::max()) {
    throw DatasetError("Não é possível gravar o dataset: arquivo grande demais para o formato");
  }
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[kMagic.size() + 4 + i] = static_cast<char>((length >> (8 * i)) & 0xFFU);
  }
  writer.u32(crc32(bytes));
  return std::move(writer.bytes());
}

DataPacket decodeDatasetFile(std::string_view bytes) {
  const std::size_t magicPart = std::min(bytes.size(), kMagic.size());
  if (bytes.substr(0, magicPart) != kMagic.substr(0, magicPart)) {
    throw DatasetError("Arquivo de dataset inválido: assinatura não reconhecida");
  }
  if (bytes.size() < kHeaderSize + kChecksumSize) {
    throw DatasetError("Arquivo de dataset truncado: tem só " + std::to_string(bytes.size()) +
                       " bytes");
  }
  const std::uint32_t version = u32At(bytes, kMagic.size());
  if (version != kVersion) {
    throw DatasetError("Arquivo de dataset em versão " + std::to_string(version) +
                       " do formato, não suportada (esta lê a versão " + std::to_string(kVersion) +
                       ")");
  }
  const std::uint32_t length = u32At(bytes, kMagic.size() + 4);
  if (length < kHeaderSize + kChecksumSize) inconsistent("comprimento declarado inválido");
  if (bytes.size() < length) {
    throw DatasetError("Arquivo de dataset truncado: tem " + std::to_string(bytes.size()) + " de " +
                       std::to_string(length) + " bytes");
  }
  if (bytes.size() > length) {
    inconsistent(std::to_string(bytes.size() - length) + " bytes depois do fim declarado");
  }
  const std::string_view content = bytes.substr(0, length - kChecksumSize);
  if (crc32(content) != u32At(bytes, content.size())) {
    throw DatasetError("Arquivo de dataset corrompido: a soma de verificação (CRC-32) não confere");
  }

  Reader reader(content.substr(kHeaderSize));
  std::vector<FieldDef> fields = readFields(reader);
  const std::uint32_t rowCount = reader.u32();
  // Each value takes at least its tag byte, which bounds the rows before any allocation.
  if (fields.empty() ? rowCount != 0 : rowCount > reader.left() / fields.size()) {
    inconsistent(std::to_string(rowCount) + " linhas não cabem no arquivo");
  }
  refuseBeyondMemoryBudget(rowCount, fields.size(), bytes.size());
  std::vector<std::vector<Variant>> rows;
  rows.reserve(rowCount);
  for (std::uint32_t r = 0; r < rowCount; ++r) {
    std::vector<Variant> row;
    row.reserve(fields.size());
    for (const FieldDef& def : fields) row.push_back(readValue(reader, def));
    rows.push_back(std::move(row));
  }
  if (!reader.atEnd()) inconsistent("bytes sobrando depois da última linha");
  return DataPacket(std::move(fields), std::move(rows));
}

}  // namespace ecf

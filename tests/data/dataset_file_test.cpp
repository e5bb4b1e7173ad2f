// The dataset file: round trip, and refusal of every damaged file with a clear error.
#include "data/dataset_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "data/crc32.h"
#include "ecf/dataset.h"

namespace ecf {
namespace {

DataPacket grandTotal() {
  return DataPacket({{"Serie", FieldType::Text, 20},
                     {"GT", FieldType::Real, 0},
                     {"CRZ", FieldType::Integer, 0},
                     {"Data", FieldType::DateTime, 0},
                     {"Ativo", FieldType::Boolean, 0},
                     {"Observação", FieldType::Text, 0}},
                    {{Variant("BE091010100011200001"), Variant(123456.78), Variant(42),
                      Variant(DateTime::fromParts(2024, 3, 31, 23, 59, 59, 999)), Variant(true),
                      Variant("Pão de queijo 😀")},
                     {Variant(), Variant(-0.01), Variant(std::numeric_limits<std::int64_t>::min()),
                      Variant(DateTime::fromParts(1, 1, 1)), Variant(false), Variant("")},
                     {Variant("X"), Variant(), Variant(), Variant(), Variant(), Variant()}});
}

std::string errorOf(std::string_view bytes) {
  try {
    decodeDatasetFile(bytes);
  } catch (const DatasetError& e) {
    return e.what();
  }
  return "(accepted)";
}

bool contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Recomputes the checksum, as a forger would, so the content checks are what refuses it.
std::string resealed(std::string bytes) {
  putU32(bytes, bytes.size() - 4, crc32(std::string_view(bytes).substr(0, bytes.size() - 4)));
  return bytes;
}

TEST(DatasetFile, RoundTripKeepsEveryTypeAndValue) {
  const DataPacket packet = grandTotal();
  const std::string bytes = encodeDatasetFile(packet);
  EXPECT_EQ(bytes.substr(0, 8), std::string("ECFDSET\0", 8));
  EXPECT_EQ(decodeDatasetFile(bytes), packet);

  const DataPacket empty({{"A", FieldType::Text, 1}}, {});
  EXPECT_EQ(decodeDatasetFile(encodeDatasetFile(empty)), empty);
  EXPECT_EQ(decodeDatasetFile(encodeDatasetFile(DataPacket())), DataPacket());

  // Values are written in their field's type, as a dataset would hold them.
  const DataPacket loose({{"N", FieldType::Integer, 0}, {"T", FieldType::Text, 3}},
                         {{Variant("7"), Variant("abcdef")}});
  const DataPacket read = decodeDatasetFile(encodeDatasetFile(loose));
  EXPECT_EQ(read.row(0)[0], Variant(7));
  EXPECT_EQ(read.row(0)[1], Variant("abc"));
}

TEST(DatasetFile, ChecksumIsStandardCrc32) {
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32(""), 0u);
}

TEST(DatasetFile, EveryTruncationIsRefused) {
  const std::string bytes = encodeDatasetFile(grandTotal());
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    const std::string message = errorOf(std::string_view(bytes).substr(0, size));
    ASSERT_TRUE(contains(message, "truncado")) << size << ": " << message;
  }
  EXPECT_EQ(errorOf(std::string_view(bytes).substr(0, 100)),
            "Arquivo de dataset truncado: tem 100 de " + std::to_string(bytes.size()) + " bytes");
}

TEST(DatasetFile, EveryFlippedBitIsRefused) {
  const std::string bytes = encodeDatasetFile(grandTotal());
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string damaged = bytes;
      damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
      ASSERT_NE(errorOf(damaged), "(accepted)") << "byte " << at << " bit " << bit;
    }
  }
  std::string damaged = bytes;
  damaged[bytes.size() / 2] ^= 0x10;  // inside the rows
  EXPECT_EQ(errorOf(damaged),
            "Arquivo de dataset corrompido: a soma de verificação (CRC-32) não confere");
}

TEST(DatasetFile, WrongMagicVersionOrLengthAreNamed) {
  const std::string bytes = encodeDatasetFile(grandTotal());
  EXPECT_EQ(errorOf("Serie;GT\n123;4\n"),
            "Arquivo de dataset inválido: assinatura não reconhecida");
  EXPECT_EQ(errorOf("EC"), "Arquivo de dataset truncado: tem só 2 bytes");

  std::string version = bytes;
  putU32(version, 8, 2);
  EXPECT_EQ(errorOf(version),
            "Arquivo de dataset em versão 2 do formato, não suportada (esta lê a versão 1)");

  EXPECT_TRUE(contains(errorOf(bytes + "x"), "1 bytes depois do fim declarado"));
}

TEST(DatasetFile, ForgedCountsAndValuesAreRefusedWithoutOverreading) {
  const DataPacket small({{"T", FieldType::Text, 3}, {"R", FieldType::Real, 0}},
                         {{Variant("abc"), Variant(1.5)}});
  const std::string bytes = encodeDatasetFile(small);
  // Layout: header 16, field count at 16, field "T" at 20 (type, size, length 1, "T"),
  // field "R" at 30, row count at 40, then "abc" tagged at 44 and 1.5 tagged at 52.
  ASSERT_EQ(bytes.size(), 65u);
  ASSERT_EQ(bytes[44], '\x04');

  auto forged = [&](std::size_t at, std::uint32_t value) {
    std::string copy = bytes;
    putU32(copy, at, value);
    return errorOf(resealed(copy));
  };
  EXPECT_TRUE(contains(forged(16, 0xFFFFFFFFu), "campos não cabem")) << forged(16, 0xFFFFFFFFu);
  EXPECT_TRUE(contains(forged(40, 0xFFFFFFFFu), "linhas não cabem"));
  EXPECT_TRUE(contains(forged(45, 0xFFFFFFFFu), "texto passa do fim"));
  EXPECT_TRUE(contains(forged(25, 0x7FFFFFFFu), "nome de campo passa do fim"));
  EXPECT_TRUE(contains(forged(21, 2), "texto maior que o tamanho do campo 'T'"));
  EXPECT_TRUE(contains(forged(40, 2), "fim inesperado"));
  EXPECT_TRUE(contains(forged(40, 0), "bytes sobrando"));

  std::string tag = bytes;
  tag[52] = '\x02';  // an integer in a real field
  EXPECT_TRUE(contains(errorOf(resealed(tag)), "no campo 'R' (real)"));
  std::string type = bytes;
  type[20] = '\x09';
  EXPECT_TRUE(contains(errorOf(resealed(type)), "tipo 9 desconhecido"));
  std::string nan = bytes;
  putU32(nan, 57, 0x7FF80000u);  // high word of a quiet NaN
  EXPECT_TRUE(contains(errorOf(resealed(nan)), "não finito"));
  std::string name = bytes;
  name[29] = '\xC3';  // half a character
  EXPECT_TRUE(contains(errorOf(resealed(name)), "não é UTF-8 válido"));
}

// A file of `rows` rows of nulls over `fields` text fields, as the encoder would write it.
std::string nullRows(std::size_t fields, std::uint32_t rows) {
  std::vector<FieldDef> defs;
  for (std::size_t i = 0; i < fields; ++i) {
    defs.push_back({"F" + std::to_string(i), FieldType::Text, 0});
  }
  std::string bytes = encodeDatasetFile(DataPacket(defs, {}));
  bytes.resize(bytes.size() - 4);  // the checksum
  putU32(bytes, bytes.size() - 4, rows);
  bytes.append(fields * rows, '\0');
  bytes.append(4, '\0');
  putU32(bytes, 12, static_cast<std::uint32_t>(bytes.size()));
  return resealed(bytes);
}

// Each null is one byte on disk but a whole value in memory: a file made of them is
// refused before its rows are allocated, unless they fit the memory allowed for its size.
TEST(DatasetFile, RowsThatWouldTakeFarMoreMemoryThanTheFileAreRefusedUpFront) {
  const std::string huge = nullRows(1, 2'000'000);
  EXPECT_TRUE(contains(errorOf(huge), "2000000 linhas de 1 campo(s) ocupariam memória demais"))
      << errorOf(huge);
  const DataPacket fitting = decodeDatasetFile(nullRows(4, 1000));
  EXPECT_EQ(fitting.rowCount(), 1000u);
  EXPECT_TRUE(fitting.row(999)[3].isNull());
}

TEST(DatasetFile, SaveInterruptedBeforeTheRenameLeavesTheOldFile) {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("ecf_dataset_file_" + std::to_string(stamp));
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / "GT.dat";

  const DataPacket old = grandTotal();
  {
    std::ofstream out(path, std::ios::binary);
    out << encodeDatasetFile(old);
  }
  // The new content got only half way into the temporary file when the power went.
  const DataPacket newer({{"Serie", FieldType::Text, 20}}, {{Variant("NOVA")}});
  const std::string newBytes = encodeDatasetFile(newer);
  {
    std::ofstream out(path.string() + ".tmp", std::ios::binary);
    out << newBytes.substr(0, newBytes.size() / 2);
  }

  auto read = [](const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  EXPECT_EQ(decodeDatasetFile(read(path)), old);
  EXPECT_TRUE(contains(errorOf(read(path.string() + ".tmp")), "truncado"));
  std::filesystem::remove_all(dir);
}

TEST(DatasetFile, ADatasetSavedToAFileLoadsBackWholeAndAMissingFileIsNamed) {
  const auto directory = std::filesystem::temp_directory_path() / "ecf-dataset-save";
  std::filesystem::create_directories(directory);
  const std::string path = (directory / "Merkato.cds").string();
  Dataset saved("cdsCheckECF");
  saved.setData(grandTotal());
  saved.saveToFile(path);
  Dataset loaded("cdsCheckECF");
  loaded.loadFromFile(path);
  EXPECT_EQ(saved.data(), loaded.data());
  std::filesystem::remove(path);
  try {
    loaded.loadFromFile(path);
    FAIL() << "a missing file must be refused";
  } catch (const DatasetError& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos);
  }
  std::filesystem::remove_all(directory);
}

TEST(DatasetFile, AFileThatCannotBeReplacedIsNamedAndKeepsItsContents) {
  const auto directory = std::filesystem::temp_directory_path() / "ecf-dataset-replace";
  std::filesystem::create_directories(directory);
  // The replacement is written beside the file first, under a longer name that cannot exist.
  const std::string path = (directory / std::string(240, 'm')).string();
  std::ofstream(path, std::ios::binary) << "old";
  try {
    writeDatasetFile(realEnv(), path, grandTotal());
    FAIL() << "a file that cannot be replaced must be refused";
  } catch (const DatasetError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Arquivo (" + path + ") não pode ser gravado (", 0), 0u)
        << error.what();
  }
  std::string kept;
  std::getline(std::ifstream(path, std::ios::binary), kept);
  EXPECT_EQ(kept, "old");
  std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace ecf

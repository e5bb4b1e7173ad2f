// The dataset file decoder (the grand-total file): any bytes are refused with a
// DatasetError or decode into a packet that survives saving and loading unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/crc32.h"
#include "data/dataset_file.h"
#include "ecf/dataset.h"

namespace {

// The bytes with their declared length and checksum made right, as a forger would: almost
// every mutation would otherwise stop at the checksum, never reaching the content.
std::string resealed(std::string_view input) {
  std::string bytes(input);
  if (bytes.size() < 20) return bytes;
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
      bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(12, static_cast<std::uint32_t>(bytes.size()));
  put(bytes.size() - 4, ecf::crc32(std::string_view(bytes).substr(0, bytes.size() - 4)));
  return bytes;
}

void decodeAndReload(std::string_view bytes) {
  ecf::DataPacket packet;
  try {
    packet = ecf::decodeDatasetFile(bytes);
  } catch (const ecf::DatasetError&) {
    return;
  }
  // What decodes must encode and decode back to the same packet.
  if (ecf::decodeDatasetFile(ecf::encodeDatasetFile(packet)) != packet) __builtin_trap();
  ecf::Dataset dataset("fuzz");
  dataset.setData(packet);
  if (dataset.data() != packet) __builtin_trap();
  for (dataset.first(); !dataset.eof(); dataset.next()) {
    for (const ecf::FieldDef& field : packet.fields()) dataset.asText(field.name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  decodeAndReload(bytes);
  decodeAndReload(resealed(bytes));
  return 0;
}

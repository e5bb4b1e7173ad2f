// Saving and loading a whole dataset in the dataset file format, with messages an
// operator can act on: which file, and what is wrong with it.
#include "base/env.h"
#include "data/dataset_file.h"
#include "ecf/dataset.h"

namespace ecf {
namespace {

std::string named(const std::string& path) { return "Arquivo (" + path + ")"; }

}  // namespace

DataPacket readDatasetFile(Env& env, const std::string& path, std::size_t maxBytes) {
  std::string bytes;
  std::string error;
  if (!env.readFile(path, bytes, &error, maxBytes)) {
    if (!env.fileExists(path) && !env.directoryExists(path)) {
      throw DatasetError(named(path) + " não encontrado.");
    }
    throw DatasetError(named(path) + " não pode ser lido (" + error + ").");
  }
  try {
    return decodeDatasetFile(bytes);
  } catch (const DatasetError& invalid) {
    throw DatasetError(named(path) + " está inválido. " + invalid.what());
  }
}

void writeDatasetFile(Env& env, const std::string& path, const DataPacket& packet) {
  std::string error;
  if (!env.replaceFile(path, encodeDatasetFile(packet), &error)) {
    throw DatasetError(named(path) + " não pode ser gravado (" + error + ").");
  }
}

void Dataset::saveToFile(const std::string& path) const {
  writeDatasetFile(realEnv(), path, data());
}

void Dataset::loadFromFile(const std::string& path) { setData(readDatasetFile(realEnv(), path)); }

}  // namespace ecf

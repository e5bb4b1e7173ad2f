// Saving and loading a whole dataset in the dataset file format.
#include "base/env.h"
#include "data/dataset_file.h"
#include "ecf/dataset.h"

namespace ecf {

void Dataset::saveToFile(const std::string& path) const {
  std::string error;
  if (!realEnv().replaceFile(path, encodeDatasetFile(data()), &error)) {
    throw DatasetError("Arquivo " + path + " não pode ser gravado: " + error);
  }
}

void Dataset::loadFromFile(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!realEnv().readFile(path, bytes, &error)) {
    throw DatasetError("Arquivo " + path + " não pode ser lido: " + error);
  }
  setData(decodeDatasetFile(bytes));
}

}  // namespace ecf

#include "grand_total_file.h"

#include <fstream>

// The dataset file format belongs to the data platform layer the host links.
#include "data/dataset_file.h"
#include "ecf/datapacket.h"
#include "ecf/variant.h"

namespace ecfhost {

bool registerPrinter(const std::filesystem::path& file, const std::string& branch,
                     const std::string& cashRegister, const std::string& serial,
                     std::string& error) {
  if (std::filesystem::exists(file)) return true;
  try {
    // An empty CAMPO02 is "no total yet": the module's first record-mode update fills it.
    const ecf::DataPacket registration({{"CDFILIAL", ecf::FieldType::Text, 4},
                                        {"CDCAIXA", ecf::FieldType::Text, 3},
                                        {"NRSERIEECF", ecf::FieldType::Text, 20},
                                        {"CAMPO01", ecf::FieldType::Text, 1},
                                        {"CAMPO02", ecf::FieldType::Text, 0}},
                                       {{branch, cashRegister, serial, "S", ""}});
    const std::string bytes = ecf::encodeDatasetFile(registration);
    // Written beside and renamed, so a crash never leaves half a file.
    const std::filesystem::path partial = file.string() + ".new";
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out.flush()) {
        error = "cannot write " + partial.string();
        return false;
      }
    }
    std::filesystem::rename(partial, file);
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
    return false;
  }
}

}  // namespace ecfhost

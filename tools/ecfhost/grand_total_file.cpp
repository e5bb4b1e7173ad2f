#include "grand_total_file.h"

#include "base/utf8_path.h"
#include "ecf/datapacket.h"
#include "ecf/dataset.h"
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
    ecf::Dataset dataset("cdsCheckECF");
    dataset.setData(registration);
    dataset.saveToFile(ecf::utf8FromPath(file));
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
    return false;
  }
}

}  // namespace ecfhost

// Directories named as a shop in Brazil names them, accents and blanks included: the
// module's debug log and grand-total file in the host directory, and the printer's memory
// and tape under its state root, all land where the UTF-8 names say (on Windows through
// the wide-character file names).
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/env.h"
#include "base/utf8_path.h"
#include "ecfsim/controls.h"
#include "platform/test_platform.h"
#include "support/grand_total_file.h"
#include "support/module_fixture.h"

namespace ecftest {
namespace {

namespace fs = std::filesystem;

class AccentedDirectories : public ModuleTest {
 protected:
  // Renames a test directory to its name plus `suffix`; the new name, with a separator.
  static std::string renamed(const std::string& directory, const std::string& suffix) {
    std::string trimmed = directory;
    while (!trimmed.empty() && (trimmed.back() == '/' || trimmed.back() == '\\')) trimmed.pop_back();
    fs::rename(ecf::pathFromUtf8(trimmed), ecf::pathFromUtf8(trimmed + suffix));
    return ecf::withTrailingSeparator(trimmed + suffix);
  }
};

TEST_F(AccentedDirectories, HostDirectoryAndPrinterMemoryKeepTheirNames) {
  hostDir_ = renamed(hostDir_, " Caixa São João");
  printerRoot_ = renamed(printerRoot_, " Impressões Fiscais");
  ecf_SetHostDirectory(hostDir_.c_str());
  testplatform::setEnvironment("ECFSIM_ROOT", printerRoot_);
  const std::string grandTotalFile = hostDir_ + "Merkato.cds";
  writeGrandTotalFile(grandTotalFile, "S", "1000,00");
  ASSERT_TRUE(start());
  printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=1.234,50");
  ASSERT_TRUE(Atu_TotGeral(ecf::makeBag({{"CDFILIAL", "1"},
                                          {"CDCAIXA", "1"},
                                          {"NRSERIEIMP", "SIM0001"},
                                          {"ESQUEMACOR", "001"},
                                          {"IDVALIDA", "N"}})));
  // Read and replaced where the accented name says, with nothing left beside it.
  EXPECT_EQ(recordedGrandTotal(grandTotalFile), "1234,5");
  const fs::path host = ecf::pathFromUtf8(hostDir_);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(host)) {
    names.push_back(ecf::utf8FromPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 2u) << "no temporary file is left behind";
  EXPECT_EQ(names[0], "Merkato.cds");
  EXPECT_EQ(names[1].rfind("impdebug", 0), 0u) << names[1];
  EXPECT_FALSE(debugLines().empty());
  const fs::path printer = ecf::pathFromUtf8(printerRoot_) / port_;
  EXPECT_TRUE(fs::is_regular_file(printer / "state.json"));
  char named[1024] = {};
  ASSERT_GT(ecfsim_get_directory(port_.c_str(), named, sizeof named), 0);
  EXPECT_EQ(ecf::pathFromUtf8(named), printer);
}

}  // namespace
}  // namespace ecftest

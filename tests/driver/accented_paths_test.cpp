// Directories named as a shop in Brazil names them, accents and blanks included: the
// module's debug log and grand-total file in the host directory, and the printer's memory
// and tape under its state root, all land where the UTF-8 names say (on Windows through
// the wide-character file names).
#include <filesystem>

#include "base/env.h"
#include "base/utf8_path.h"
#include "ecfsim/controls.h"
#include "platform/test_platform.h"
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
  ASSERT_TRUE(start());
  ASSERT_TRUE(Atu_TotGeral(ecf::makeBag({{"CDFILIAL", "1"},
                                          {"CDCAIXA", "1"},
                                          {"NRSERIEIMP", "SIM0001"},
                                          {"ESQUEMACOR", "001"},
                                          {"IDVALIDA", "N"}})));

  const fs::path host = ecf::pathFromUtf8(hostDir_);
  EXPECT_TRUE(fs::is_regular_file(host / "Merkato.cds"));
  EXPECT_FALSE(debugLines().empty());
  const fs::path printer = ecf::pathFromUtf8(printerRoot_) / port_;
  EXPECT_TRUE(fs::is_regular_file(printer / "state.json"));
  char named[1024] = {};
  ASSERT_GT(ecfsim_get_directory(port_.c_str(), named, sizeof named), 0);
  EXPECT_EQ(ecf::pathFromUtf8(named), printer);
}

}  // namespace
}  // namespace ecftest

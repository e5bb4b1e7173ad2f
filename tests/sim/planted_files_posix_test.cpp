// Files planted in the printer's directory under its own names: a link to a file elsewhere,
// a second name (hard link) of one, a FIFO, a huge sparse file. The printer does not open,
// its error names the file, the file elsewhere is untouched, and nothing hangs.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/utf8_path.h"
#include "sim/sim_fixture.h"

namespace simtest {
namespace {

enum class Planted { Link, SecondName, Fifo, Huge };

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(SimTest, FilesPlantedUnderThePrintersNamesAreRefusedAndNamed) {
  const std::filesystem::path dir = directory();
  const std::filesystem::path victim = root_ / "victim.txt";
  std::ofstream(victim) << "intact";
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  channel_ = -1;
  struct Case {
    const char* name;
    Planted planted;
  };
  std::vector<Case> cases{{"state.json", Planted::Fifo}, {"state.json", Planted::Huge},
                          {"journal.jsonl", Planted::Huge}};
  for (const char* name : {"tape.txt", "journal.jsonl", "commands.jsonl"}) {
    for (const Planted p : {Planted::Link, Planted::SecondName, Planted::Fifo}) cases.push_back({name, p});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(static_cast<int>(c.planted)));
    const std::filesystem::path planted = dir / c.name;
    const std::filesystem::path kept = dir / "kept";
    std::filesystem::rename(planted, kept);
    switch (c.planted) {
      case Planted::Link: std::filesystem::create_symlink(victim, planted); break;
      case Planted::SecondName: std::filesystem::create_hard_link(victim, planted); break;
      case Planted::Fifo: ASSERT_EQ(0, ::mkfifo(planted.c_str(), 0644)); break;
      case Planted::Huge:
        std::ofstream(planted).close();
        std::filesystem::resize_file(planted, std::uintmax_t{4} << 30);
        break;
    }

    EXPECT_EQ(-2, dll().IniciaDriver(kPort));
    EXPECT_EQ(c.name == std::string("state.json") || c.planted == Planted::Huge ? 15 : 12,
              dll().ObtemCodErro(-2));
    const std::string why = dll().ObtemCircunstancia(-2, nullptr, 0);
    EXPECT_NE(why.find(ecf::utf8FromPath(planted)), std::string::npos) << why;
    EXPECT_EQ("intact", fileText(victim));

    std::filesystem::remove(planted);
    std::filesystem::rename(kept, planted);
  }
  // A temporary state file is never opened under a name known beforehand: one planted
  // under the old fixed name is removed as a link and the save goes elsewhere.
  std::filesystem::create_symlink(victim, dir / "state.json.tmp");
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  EXPECT_EQ(0, send("EmiteLeituraX", {}).code);
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "state.json.tmp"));
  EXPECT_EQ("intact", fileText(victim));
}

}  // namespace
}  // namespace simtest

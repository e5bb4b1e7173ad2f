// A started printer with the record, the operator's messages and the log mark cleared,
// host datasets built from rows, and the blocks a report printed, in order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ecf/dataset.h"
#include "support/module_fixture.h"

namespace ecftest {

using Blocks = std::vector<std::string>;
using Rows = std::vector<std::vector<ecf::Variant>>;

inline const std::string kDashes(48, '-');

// A dataset as the host hands one in.
inline ecf::Dataset hostTable(const std::string& name, std::vector<ecf::FieldDef> fields,
                              Rows rows) {
  ecf::Dataset dataset(name);
  dataset.setData(ecf::DataPacket(std::move(fields), std::move(rows)));
  return dataset;
}

inline ecf::FieldDef text(const char* name) { return {name, ecf::FieldType::Text, 60}; }
inline ecf::FieldDef real(const char* name) { return {name, ecf::FieldType::Real, 0}; }
inline ecf::FieldDef date(const char* name) { return {name, ecf::FieldType::DateTime, 0}; }

class AccountsTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(start());
    printer().clearRecord();
    op().clear();
    markLog();
  }

  // The text of every ImprimeTexto sent since the record was cleared.
  Blocks printedBlocks() {
    Blocks blocks;
    for (const RecordedCommand& print : printer().commandsNamed("ImprimeTexto")) {
      blocks.push_back(print.value("TextoLivre"));
    }
    return blocks;
  }

  std::vector<std::string> sentNames() { return printer().commandNames(); }

  // The commands of a report that printed `blocks` blocks, after the counter was read.
  static std::vector<std::string> reportCommands(std::size_t blocks) {
    std::vector<std::string> names{"LeInteiro", "AbreGerencial"};
    names.insert(names.end(), blocks, "ImprimeTexto");
    names.push_back("EncerraDocumento");
    return names;
  }

  bool documentOpen() { return printer().state()["open"]["kind"] != "none"; }
};

}  // namespace ecftest

// A started printer with the record, the operator's messages and the log mark cleared,
// and readers of the report texts the module sent, one ImprimeTexto block at a time.
#pragma once

#include <string>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/variant.h"
#include "support/module_fixture.h"

namespace ecftest {

// A full-width blank line and hyphen rule, without their line feed.
inline const std::string kBlank(48, ' ');
inline const std::string kRule(48, '-');

class ReportTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(start());
    forgetWhatHappened();
  }

  void forgetWhatHappened() {
    printer().clearRecord();
    op().clear();
    markLog();
  }

  std::vector<std::string> sentNames() { return printer().commandNames(); }

  // Every printed block split at its line feeds: a block ending with a line feed ends
  // with an empty piece, so the expected texts show exactly where each one stops.
  std::vector<std::vector<std::string>> printedBlocks() {
    std::vector<std::vector<std::string>> blocks;
    for (const RecordedCommand& print : printer().commandsNamed("ImprimeTexto")) {
      blocks.push_back(split(print.value("TextoLivre")));
    }
    return blocks;
  }

  // The command names with every run of ImprimeTexto counted: {"AbreGerencial",
  // "ImprimeTexto x5", "EncerraDocumento"}.
  std::vector<std::string> commandOutline() {
    std::vector<std::string> outline;
    int prints = 0;
    const auto flush = [&] {
      if (prints > 0) outline.push_back("ImprimeTexto x" + std::to_string(prints));
      prints = 0;
    };
    for (const std::string& name : sentNames()) {
      if (name == "ImprimeTexto") {
        ++prints;
        continue;
      }
      flush();
      outline.push_back(name);
    }
    flush();
    return outline;
  }

  static std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t lineFeed = text.find('\n'); lineFeed != std::string::npos;
         lineFeed = text.find('\n', start)) {
      pieces.push_back(text.substr(start, lineFeed - start));
      start = lineFeed + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
  }

  static ecf::FieldDef textField(const char* name) { return {name, ecf::FieldType::Text, 0}; }
  static ecf::FieldDef realField(const char* name) { return {name, ecf::FieldType::Real, 0}; }
  static ecf::FieldDef dateField(const char* name) { return {name, ecf::FieldType::DateTime, 0}; }
};

}  // namespace ecftest

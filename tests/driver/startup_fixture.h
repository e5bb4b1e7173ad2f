// The start-up tests' fixture: the grand-total file in the host directory and the
// printer's answers that the start-up reads.
#pragma once

#include <string>

#include "support/grand_total_file.h"
#include "support/module_fixture.h"

namespace ecftest {

class StartUpTest : public ModuleTest {
 protected:
  std::string grandTotalPath() const { return hostDir_ + "Merkato.cds"; }

  void writeGrandTotalFile(const std::string& check, const std::string& storedTotal) {
    ecftest::writeGrandTotalFile(grandTotalPath(), check, storedTotal, kSerial);
  }
  std::string fileBytes() const { return ecftest::fileBytes(grandTotalPath()); }
  std::string recordedTotal() const { return recordedGrandTotal(grandTotalPath()); }

  bool updateGrandTotal(const std::string& verify) {
    return Atu_TotGeral(ecf::makeBag({{"CDFILIAL", "1"},
                                      {"CDCAIXA", "1"},
                                      {"NRSERIEIMP", kSerial},
                                      {"ESQUEMACOR", "001"},
                                      {"IDVALIDA", verify}}));
  }

  // The printer's grand total is 1234,50 for the reads that follow.
  void printerGrandTotalIs(const std::string& amount) {
    printer().scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=" + amount);
  }

  // startBag() without one of its fields.
  ecf::Variant bagWithout(const std::string& field) const {
    const ecf::Variant bag = startBag();
    ecf::Variant::Array pairs;
    for (const ecf::Variant& pair : bag.asArray()) {
      if (pair.asArray()[0].toText() != field) pairs.push_back(pair);
    }
    return ecf::Variant(pairs);
  }

  static constexpr const char* kSerial = "SIM0001";
  static constexpr const char* kClockOff =
      "Data da impressora fiscal difere da data do sistema em mais de 15 minutos.";
};

}  // namespace ecftest

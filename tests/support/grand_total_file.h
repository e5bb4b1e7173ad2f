// The host's grand-total file as tests prepare and read it.
#pragma once

#include <string>

namespace ecftest {

// Writes a file with one row for branch "1", register "1" and `serial`: CAMPO01 = `check`,
// CAMPO02 = `storedTotal` enciphered as the module keeps it.
void writeGrandTotalFile(const std::string& path, const std::string& check,
                         const std::string& storedTotal, const std::string& serial = "SIM0001");
std::string fileBytes(const std::string& path);
// CAMPO02 of the first row, deciphered.
std::string recordedGrandTotal(const std::string& path);

}  // namespace ecftest

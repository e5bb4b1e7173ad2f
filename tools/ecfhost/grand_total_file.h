// The host's grand-total file (Merkato.cds in the host directory). The POS owns it: it
// registers each of its printers there, and the module keeps the recorded grand total of
// a registered printer in step (Atu_TotGeral).
#pragma once

#include <filesystem>
#include <string>

namespace ecfhost {

// Writes a file registering one printer — branch, cash register, serial number, check on
// ("S"), no total recorded yet — unless the file already exists. Returns false with
// `error` set when it cannot be written.
bool registerPrinter(const std::filesystem::path& file, const std::string& branch,
                     const std::string& cashRegister, const std::string& serial,
                     std::string& error);

}  // namespace ecfhost

// The host tool's scenario reader: any file is a scenario or a clear error, never a
// crash, however large, deep or strange.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "ecf/ecf.h"
#include "scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    ecfhost::checkScenario(std::string(reinterpret_cast<const char*>(data), size),
                           ecf_operations());
  } catch (const std::exception&) {
    // The tool prints it and ends with status 2.
  }
  return 0;
}

// Counts the instructions of one VendaItem through the module against the null driver,
// and of the same driver calls made bare, when run under callgrind:
//   valgrind --tool=callgrind --collect-atstart=no ecf_bench_instructions module|bare CALLS
// Only the loop of CALLS calls is collected; the total divided by CALLS is the figure.
// Instruction counts do not move with the machine's load, unlike times.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/bare_driver.h"
#include "support/bench_host.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "module") != 0 && std::strcmp(argv[1], "bare") != 0)) {
    std::fprintf(stderr, "usage: %s module|bare CALLS\n", argv[0]);
    return 2;
  }
  const bool throughModule = std::strcmp(argv[1], "module") == 0;
  const int calls = std::atoi(argv[2]);
  const std::string directory = ecfbench::executableDirectory() + "/nulldriver";

  if (throughModule) {
    ecfhost::ModuleApi& module = ecfbench::loadModule(directory + "/libecfmodule.so");
    ecfbench::installHost(module, ecfbench::makeDirectory(ecfbench::tmpfsDirectory(),
                                                          "ecf-bench-host"));
    ecf::Variant start = ecfbench::startBag("BENCH");
    if (!module.StartImpFiscal(start)) return 1;
    ecf::Variant item = ecfbench::itemBag(7);
    module.VendaItem(item);  // the first call pays for what is done once
    bool accepted = true;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < calls; ++i) accepted = module.VendaItem(item) && accepted;
    CALLGRIND_TOGGLE_COLLECT;
    return accepted ? 0 : 1;
  }
  const ecfbench::BareDriver& driver = ecfbench::bareDriver(directory);
  ecfbench::sellItemBare(driver);
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < calls; ++i) ecfbench::sellItemBare(driver);
  CALLGRIND_TOGGLE_COLLECT;
  return 0;
}

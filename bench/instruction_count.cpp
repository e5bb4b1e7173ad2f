// Counts the instructions of one VendaItem through the module against the null driver
// (called directly, or through the C interface's ecf_call), and of the same driver calls
// made bare, when run under callgrind:
//   valgrind --tool=callgrind --collect-atstart=no ecf_bench_instructions module|capi|bare CALLS
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
  const std::string what = argc == 3 ? argv[1] : "";
  if (what != "module" && what != "capi" && what != "bare") {
    std::fprintf(stderr, "usage: %s module|capi|bare CALLS\n", argv[0]);
    return 2;
  }
  const bool throughModule = what != "bare";
  const int calls = std::atoi(argv[2]);
  const std::string directory = ecfbench::executableDirectory() + "/nulldriver";

  if (throughModule) {
    ecfhost::ModuleApi& module = ecfbench::loadModule(directory + "/libecfmodule.so");
    ecfbench::installHost(module, ecfbench::makeDirectory(ecfbench::tmpfsDirectory(),
                                                          "ecf-bench-host"));
    ecf::Variant start = ecfbench::startBag("BENCH");
    if (!module.StartImpFiscal(start)) return 1;
    ecf::Variant item = ecfbench::itemBag(7);
    const std::string request = ecfbench::itemRequest(7);
    const auto sell = [&] {
      if (what == "module") return module.VendaItem(item);
      char* reply = module.ecf_call("VendaItem", request.c_str());
      const bool sold = reply != nullptr && std::strncmp(reply, "{\"result\":true,", 15) == 0;
      module.ecf_free(reply);
      return sold;
    };
    sell();  // the first call pays for what is done once
    bool accepted = true;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < calls; ++i) accepted = sell() && accepted;
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

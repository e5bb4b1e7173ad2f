// The module alone: its operations against a driver that answers at once, beside the
// same driver calls made bare. The ratio of the two is the figure that holds on a busy
// machine; the absolute times are for this one.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ecf/dllg2.h"
#include "support/bare_driver.h"
#include "support/bench_host.h"

namespace {

// The module copy that sits beside the null driver, so it binds that one by name.
std::string nullDriverDirectory() { return ecfbench::executableDirectory() + "/nulldriver"; }

ecfhost::ModuleApi& startedModule() {
  static ecfhost::ModuleApi& module = [&]() -> ecfhost::ModuleApi& {
    ecfhost::ModuleApi& api = ecfbench::loadModule(nullDriverDirectory() + "/libecfmodule.so");
    ecfbench::installHost(api, ecfbench::makeDirectory(ecfbench::tmpfsDirectory(), "ecf-bench-host"));
    ecf::Variant bag = ecfbench::startBag("BENCH");
    if (!api.StartImpFiscal(bag)) {
      std::fprintf(stderr, "StartImpFiscal failed against the null driver\n");
      std::exit(2);
    }
    return api;
  }();
  return module;
}

void VendaItem_Module(benchmark::State& state) {
  ecfhost::ModuleApi& module = startedModule();
  ecf::Variant item = ecfbench::itemBag(7);
  for (auto _ : state) {
    if (!module.VendaItem(item)) state.SkipWithError("VendaItem refused");
  }
}
BENCHMARK(VendaItem_Module);

// The same item through the C interface: the request parsed, the bag built from it, the
// reply written as JSON. The request text is built once, as the host's own work.
void VendaItem_CInterface(benchmark::State& state) {
  ecfhost::ModuleApi& module = startedModule();
  const std::string request = ecfbench::itemRequest(7);
  for (auto _ : state) {
    char* reply = module.ecf_call("VendaItem", request.c_str());
    if (reply == nullptr || std::strncmp(reply, "{\"result\":true,", 15) != 0) {
      state.SkipWithError("VendaItem refused through ecf_call");
    }
    module.ecf_free(reply);
  }
}
BENCHMARK(VendaItem_CInterface);

// The calls VendaItem makes on the driver, with the same texts, and nothing else.
void VendaItem_BareDriver(benchmark::State& state) {
  const ecfbench::BareDriver& driver = ecfbench::bareDriver(nullDriverDirectory());
  for (auto _ : state) ecfbench::sellItemBare(driver);
}
BENCHMARK(VendaItem_BareDriver);

// With no host directory set, the module writes its log beside the host's executable.
void Nr_Cupom_NoHostDirectory(benchmark::State& state) {
  ecfhost::ModuleApi& module = startedModule();
  module.ecf_SetHostDirectory("");
  for (auto _ : state) benchmark::DoNotOptimize(module.Nr_Cupom("", "001"));
  module.ecf_SetHostDirectory(ecfbench::makeDirectory(ecfbench::tmpfsDirectory(), "ecf-bench-host").c_str());
}
BENCHMARK(Nr_Cupom_NoHostDirectory);

void StartUp_NullDriver(benchmark::State& state) {
  ecfhost::ModuleApi& module = startedModule();
  ecf::Variant bag = ecfbench::startBag("BENCH");
  for (auto _ : state) {
    module.FechaPorta();
    if (!module.StartImpFiscal(bag)) state.SkipWithError("StartImpFiscal failed");
  }
}
BENCHMARK(StartUp_NullDriver);

}  // namespace

BENCHMARK_MAIN();

// The module with the virtual printer, as a shop runs it: whole sales with the printer's
// memory on disk and on tmpfs, the cost of an item late in a long receipt, start-up, and
// the host's memory after a day's worth of items.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ecf/stringlist.h"
#include "support/bench_host.h"

namespace {

using Clock = std::chrono::steady_clock;

ecfhost::ModuleApi& module() {
  static ecfhost::ModuleApi& api = [&]() -> ecfhost::ModuleApi& {
    ecfhost::ModuleApi& loaded =
        ecfbench::loadModule(ecfbench::executableDirectory() + "/libecfmodule.so");
    ecfbench::installHost(loaded, ecfbench::makeDirectory(ecfbench::tmpfsDirectory(), "ecf-bench-host"));
    return loaded;
  }();
  return api;
}

// Where a printer's memory goes: ECF_BENCH_DISK (default: beside this program) or tmpfs.
std::string printerRoot(bool onDisk) {
  if (!onDisk) return ecfbench::makeDirectory(ecfbench::tmpfsDirectory(), "ecf-bench-printers");
  const char* disk = std::getenv("ECF_BENCH_DISK");
  return ecfbench::makeDirectory(disk ? disk : ecfbench::executableDirectory() + "/bench-state",
                                 "printers");
}

// A brand-new printer on its own port, the port opened by the module.
bool startNewPrinter(const std::string& root) {
  static int printers = 0;
  setenv("ECFSIM_ROOT", root.c_str(), 1);
  module().FechaPorta();
  ecf::Variant bag = ecfbench::startBag("BENCH" + std::to_string(++printers));
  return module().StartImpFiscal(bag);
}

bool openReceipt() {
  ecf::Variant bag = ecfbench::openingBag();
  return module().AbreCupom(bag);
}

bool sellItem(int n, double& total) {
  ecf::Variant bag = ecfbench::itemBag(n);
  total += ecfbench::itemPrice(n);
  return module().VendaItem(bag);
}

bool closeReceipt(double total) {
  const std::vector<ecf::Variant> closing = ecfbench::cashClosing(total);
  ecf::StringList unused;
  ecf::Variant result(ecf::Variant::Array(3));
  return module().FechaCupom(closing.data(), static_cast<std::int32_t>(closing.size() - 1),
                             unused, result);
}

bool sale(int items) {
  double total = 0;
  if (!openReceipt()) return false;
  for (int n = 1; n <= items; ++n) {
    if (!sellItem(n, total)) return false;
  }
  return closeReceipt(total);
}

// AbreCupom, 100 items, FechaCupom on a new printer each time.
void Sale100(benchmark::State& state, bool onDisk) {
  const std::string root = printerRoot(onDisk);
  for (auto _ : state) {
    state.PauseTiming();
    const bool started = startNewPrinter(root);
    state.ResumeTiming();
    if (!started || !sale(100)) state.SkipWithError("the sale failed");
  }
}
BENCHMARK_CAPTURE(Sale100, disk, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Sale100, tmpfs, false)->Unit(benchmark::kMillisecond);

// One receipt of 999 items (the printer's limit): the mean time of an item early in it
// and late in it. A receipt whose cost grows with its length shows here.
void LongReceipt(benchmark::State& state) {
  const std::string root = printerRoot(false);
  for (auto _ : state) {
    if (!startNewPrinter(root) || !openReceipt()) {
      state.SkipWithError("the receipt did not open");
      break;
    }
    double total = 0;
    Clock::duration early{}, late{};
    for (int n = 1; n <= 999; ++n) {
      const auto before = Clock::now();
      if (!sellItem(n, total)) {
        state.SkipWithError("an item was refused");
        return;
      }
      const auto spent = Clock::now() - before;
      if (n <= 99) early += spent;
      if (n >= 900) late += spent;
    }
    closeReceipt(total);
    const auto ms = [](Clock::duration d, int items) {
      return std::chrono::duration<double, std::milli>(d).count() / items;
    };
    state.counters["early_ms"] = ms(early, 99);
    state.counters["late_ms"] = ms(late, 100);
  }
}
BENCHMARK(LongReceipt)->Iterations(1)->Unit(benchmark::kMillisecond);

// StartImpFiscal on a printer that already holds a day's sales.
void StartUp_VirtualPrinter(benchmark::State& state) {
  const std::string root = printerRoot(false);
  if (!startNewPrinter(root) || !sale(20)) state.SkipWithError("the day did not start");
  ecf::Variant bag = ecfbench::startBag("BENCH-STARTUP");
  setenv("ECFSIM_ROOT", root.c_str(), 1);
  module().FechaPorta();
  for (auto _ : state) {
    if (!module().StartImpFiscal(bag)) state.SkipWithError("StartImpFiscal failed");
    module().FechaPorta();
  }
}
BENCHMARK(StartUp_VirtualPrinter)->Unit(benchmark::kMicrosecond);

// The host process (module and virtual printer in it) after 3,000 items in 30 receipts.
void ResidentAfter3000Items(benchmark::State& state) {
  const std::string root = printerRoot(false);
  for (auto _ : state) {
    if (!startNewPrinter(root)) state.SkipWithError("the printer did not start");
    for (int receipt = 0; receipt < 30; ++receipt) {
      if (!sale(100)) {
        state.SkipWithError("a sale failed");
        return;
      }
    }
  }
  state.counters["rss_mib"] = ecfbench::residentMiB();
}
BENCHMARK(ResidentAfter3000Items)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

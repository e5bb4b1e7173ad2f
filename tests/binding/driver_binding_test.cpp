// Binding the driver library by name, as a host process would see it: each case loads its
// own copy of the module from a directory that holds the driver under test (or none), in
// a child process, since a process keeps a driver library once it has loaded one.
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "base/env.h"
#include "ecf/host.h"
#include "ecf/variant.h"

namespace fs = std::filesystem;

namespace {

const char* const kEntries[] = {
    "Versao",          "ConfiguraDriver", "IniciaDriver",     "EncerraDriver", "ObtemNomeLog",
    "LeTimeout",       "ListaParams",     "ExecutaComando",   "LeRegistrador", "ObtemCodErro",
    "ObtemNomeErro",   "ObtemCircunstancia", "TotalRetornos", "Retorno",       "ObtemRetornos",
    "DefineTimeout",   "SetaArquivoLog",  "LimpaParams",      "AdicionaParam"};

std::string binDirectory() {
  if (const char* dir = std::getenv("ECF_TEST_BIN")) return dir;
  return ecf::executableDirectory();
}

// A directory holding a copy of the module and, when given, `driver` as libDLLG2.so.
std::string stageModule(const std::string& driver) {
  char pattern[] = "/tmp/ecf-binding-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  fs::copy_file(binDirectory() + "/libecfmodule.so", dir + "/libecfmodule.so");
  if (!driver.empty()) fs::copy_file(driver, dir + "/libDLLG2.so");
  return dir;
}

// Runs `scenario` in a child process; returns its exit code (0 = every check held).
int runIsolated(const std::function<int()>& scenario) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) _exit(scenario());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

class LoadedModule {
 public:
  explicit LoadedModule(const std::string& dir) {
    handle_ = dlopen((dir + "/libecfmodule.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) std::fprintf(stderr, "%s\n", dlerror());
    auto setDirectory = symbol<void (*)(const char*)>("ecf_SetHostDirectory");
    if (setDirectory) setDirectory(dir.c_str());
    auto setOperator = symbol<void (*)(ecf::OperatorCallback)>("ecf_SetOperator");
    if (setOperator) setOperator([this](const ecf::OperatorMessage&) {
      ++messagesShown;
      return false;
    });
  }
  bool loaded() const { return handle_ != nullptr; }
  template <class T>
  T symbol(const char* name) const {
    return handle_ ? reinterpret_cast<T>(dlsym(handle_, name)) : nullptr;
  }
  bool start() const {
    ecf::Variant bag = ecf::makeBag({{"CDFILIAL", "1"},
                                     {"CDCAIXA", "1"},
                                     {"NRSERIEIMP", "SIM0001"},
                                     {"NRSERIE", "SIM0001"},
                                     {"ESQUEMA", "001"},
                                     {"ESQUEMACOR", "001"},
                                     {"CDPORTAIMPFIS", "binding"},
                                     {"PORTAIMPFIS", "binding"}});
    return symbol<bool (*)(ecf::Variant&)>("StartImpFiscal")(bag);
  }
  int boundEntries() const {
    int bound = 0;
    for (const char* entry : kEntries) {
      void** reference = symbol<void**>((std::string("Ecf_DLLG2_") + entry).c_str());
      if (reference != nullptr && *reference != nullptr) ++bound;
    }
    return bound;
  }
  void* driverHandle() const { return *symbol<void**>("ImpFisDLLHandle"); }

  int messagesShown = 0;

 private:
  void* handle_ = nullptr;
};

}  // namespace

TEST(DriverBinding, ADriverLackingOneEntryLeavesEveryReferenceClearedAndTheLibraryLoaded) {
  const std::string dir = stageModule(binDirectory() + "/testlibs/libpartial_DLLG2.so");
  EXPECT_EQ(0, runIsolated([&] {
    LoadedModule module(dir);
    if (!module.loaded()) return 1;
    if (module.start()) return 2;  // the start-up must fail...
    if (module.messagesShown != 0) return 3;  // ...without a message
    if (module.boundEntries() != 0) return 4;
    if (module.driverHandle() == nullptr) return 5;
    return 0;
  }));
  fs::remove_all(dir);
}

TEST(DriverBinding, AMissingDriverFailsTheStartUpSilently) {
  const std::string dir = stageModule("");
  EXPECT_EQ(0, runIsolated([&] {
    LoadedModule module(dir);
    if (!module.loaded()) return 1;
    if (module.start()) return 2;
    if (module.messagesShown != 0) return 3;
    if (module.boundEntries() != 0) return 4;
    if (module.driverHandle() != nullptr) return 5;
    // With nothing bound, an operation fails without calling through an empty reference.
    auto closePort = module.symbol<bool (*)()>("FechaPorta");
    if (closePort()) return 6;
    return 0;
  }));
  fs::remove_all(dir);
}

TEST(DriverBinding, ASecondBindingAfterStopReusesTheLoadedLibrary) {
  const std::string dir = stageModule(binDirectory() + "/libDLLG2.so");
  EXPECT_EQ(0, runIsolated([&] {
    setenv("ECFSIM_ROOT", (dir + "/printers").c_str(), 1);
    LoadedModule module(dir);
    if (!module.loaded()) return 1;
    if (!module.start()) return 2;
    if (module.boundEntries() != 19) return 3;
    void* firstHandle = module.driverHandle();
    module.symbol<void (*)()>("StopImpFiscal")();
    if (module.boundEntries() != 0) return 4;
    if (module.driverHandle() != firstHandle) return 5;  // stopping keeps the library
    module.symbol<bool (*)()>("FechaPorta")();
    if (!module.start()) return 6;
    if (module.boundEntries() != 19) return 7;
    if (module.driverHandle() != firstHandle) return 8;  // and binding again reuses it
    return 0;
  }));
  fs::remove_all(dir);
}

// Binding the driver library by name, as a host process would see it: each case loads its
// own copy of the module from a directory that holds the driver under test (or none), in
// a child process, since a process keeps a driver library once it has loaded one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/env.h"
#include "base/utf8_path.h"
#include "ecf/host.h"
#include "ecf/variant.h"
#include "platform/child_role.h"

namespace fs = std::filesystem;

namespace {

const char* const kEntries[] = {
    "Versao",          "ConfiguraDriver", "IniciaDriver",     "EncerraDriver", "ObtemNomeLog",
    "LeTimeout",       "ListaParams",     "ExecutaComando",   "LeRegistrador", "ObtemCodErro",
    "ObtemNomeErro",   "ObtemCircunstancia", "TotalRetornos", "Retorno",       "ObtemRetornos",
    "DefineTimeout",   "SetaArquivoLog",  "LimpaParams",      "AdicionaParam"};

// A host's directory: a copy of the module and, when given, `driver` under the driver's
// name. The child runs from there too, so no other copy of the driver is near it.
fs::path stageModule(const fs::path& driver) {
  const fs::path dir = testplatform::makeScratchDirectory("ecf-binding");
  fs::copy_file(testplatform::binDirectory() / testplatform::kModuleFileName,
                dir / testplatform::kModuleFileName);
  if (!driver.empty()) fs::copy_file(driver, dir / testplatform::kDriverFileName);
  return dir;
}

// Plays `role` in a child process started from the staged directory; 0 = every check held.
int runIsolated(const std::string& role, const fs::path& dir) {
  return testplatform::runChildRole(role, {{"ECF_BINDING_DIR", ecf::utf8FromPath(dir)},
                                           {"ECFSIM_ROOT", ecf::utf8FromPath(dir / "printers")}},
                                    dir);
}

class LoadedModule {
 public:
  // The module staged in ECF_BINDING_DIR.
  LoadedModule() {
    const std::string dir = testplatform::environment("ECF_BINDING_DIR").value_or("");
    std::string error;
    handle_ = ecf::realEnv().loadLibrary(
        ecf::utf8FromPath(ecf::pathFromUtf8(dir) / testplatform::kModuleFileName), &error);
    if (handle_ == nullptr) std::fprintf(stderr, "%s\n", error.c_str());
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
    return reinterpret_cast<T>(ecf::realEnv().findSymbol(handle_, name));
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

const testplatform::ChildRole partialDriver("partial-driver", [] {
  LoadedModule module;
  if (!module.loaded()) return 1;
  if (module.start()) return 2;  // the start-up must fail...
  if (module.messagesShown != 0) return 3;  // ...without a message
  if (module.boundEntries() != 0) return 4;
  if (module.driverHandle() == nullptr) return 5;
  return 0;
});

TEST(DriverBinding, ADriverLackingOneEntryLeavesEveryReferenceClearedAndTheLibraryLoaded) {
  const fs::path dir = stageModule(testplatform::binDirectory() / "testlibs" /
                                   ECF_PARTIAL_DRIVER);
  EXPECT_EQ(0, runIsolated("partial-driver", dir));
  fs::remove_all(dir);
}

const testplatform::ChildRole missingDriver("missing-driver", [] {
  LoadedModule module;
  if (!module.loaded()) return 1;
  if (module.start()) return 2;
  if (module.messagesShown != 0) return 3;
  if (module.boundEntries() != 0) return 4;
  if (module.driverHandle() != nullptr) return 5;
  // With nothing bound, an operation fails without calling through an empty reference.
  auto closePort = module.symbol<bool (*)()>("FechaPorta");
  if (closePort()) return 6;
  return 0;
});

TEST(DriverBinding, AMissingDriverFailsTheStartUpSilently) {
  const fs::path dir = stageModule("");
  EXPECT_EQ(0, runIsolated("missing-driver", dir));
  fs::remove_all(dir);
}

const testplatform::ChildRole rebind("rebind", [] {
  LoadedModule module;
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
});

TEST(DriverBinding, ASecondBindingAfterStopReusesTheLoadedLibrary) {
  const fs::path dir = stageModule(testplatform::binDirectory() / testplatform::kDriverFileName);
  EXPECT_EQ(0, runIsolated("rebind", dir));
  fs::remove_all(dir);
}

TEST(DriverBinding, TheDriverBesideTheModuleComesBeforeOneBesideTheProgram) {
  // The module's directory holds the partial driver, the program's a complete one: the
  // module binds its own (and fails), never the program's.
  const fs::path dir = stageModule(testplatform::binDirectory() / "testlibs" / ECF_PARTIAL_DRIVER);
  const fs::path programDir = testplatform::makeScratchDirectory("ecf-binding-program");
  fs::copy_file(testplatform::binDirectory() / testplatform::kDriverFileName,
                programDir / testplatform::kDriverFileName);
  EXPECT_EQ(0, testplatform::runChildRole(
                   "partial-driver", {{"ECF_BINDING_DIR", ecf::utf8FromPath(dir)}}, programDir));
  fs::remove_all(dir);
  fs::remove_all(programDir);
}

#include "module_api.h"

#include <dlfcn.h>

#include <filesystem>

namespace ecfhost {
namespace {

template <typename Pointer>
void bind(void* library, const char* name, Pointer& target, std::vector<std::string>& missing) {
  void* symbol = dlsym(library, name);
  // Object and function pointers share one representation on every platform dlsym serves.
  target = reinterpret_cast<Pointer>(symbol);
  if (symbol == nullptr) missing.emplace_back(name);
}

}  // namespace

bool ModuleApi::load(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* why = dlerror();
    error = "cannot load " + path + ": " + (why ? why : "unknown error");
    return false;
  }
  missing_.clear();
#define ECFHOST_BIND(name) bind(library, #name, name, missing_);
  ECFHOST_FUNCTIONS(ECFHOST_BIND)
  ECFHOST_VARIABLES(ECFHOST_BIND)
#undef ECFHOST_BIND
  return true;
}

const std::string* ModuleApi::textVariable(const std::string& name) const {
  if (name == "idTotParcSuprimento") return idTotParcSuprimento;
  if (name == "idTotParcSangria") return idTotParcSangria;
  if (name == "IdTotParcCV") return IdTotParcCV;
  if (name == "IdTotParcVCons") return IdTotParcVCons;
  if (name == "IdTotCompCred") return IdTotCompCred;
  if (name == "IdTotRelatorio") return IdTotRelatorio;
  if (name == "IdTotCancCred") return IdTotCancCred;
  return nullptr;
}

std::string moduleBesideExecutable() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path directory =
      error ? std::filesystem::current_path() : self.parent_path();
  return (directory / "libecfmodule.so").string();
}

std::string findModule() {
  const std::filesystem::path beside = moduleBesideExecutable();
  std::error_code error;
  if (std::filesystem::exists(beside, error)) return beside.string();
  const std::filesystem::path installed =
      beside.parent_path() / ECFHOST_INSTALLED_MODULE_DIR / beside.filename();
  if (std::filesystem::exists(installed, error)) return installed.lexically_normal().string();
  return beside.string();  // missing everywhere: the load error names the first place
}

}  // namespace ecfhost

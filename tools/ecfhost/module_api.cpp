#include "module_api.h"

#include <filesystem>

#include "base/env.h"
#include "base/utf8_path.h"
#include "platform.h"

namespace ecfhost {
namespace {

template <typename Pointer>
void bind(void* library, const char* name, Pointer& target, std::vector<std::string>& missing) {
  void* symbol = ecf::realEnv().findSymbol(library, name);
  // Object and function pointers share one representation on every platform that loads
  // libraries by name (dlsym, GetProcAddress).
  target = reinterpret_cast<Pointer>(symbol);
  if (symbol == nullptr) missing.emplace_back(name);
}

}  // namespace

bool ModuleApi::load(const std::string& path, std::string& error) {
  std::string why;
  void* library = ecf::realEnv().loadLibrary(path, &why);
  if (library == nullptr) {
    error = "cannot load " + path + ": " + (why.empty() ? "unknown error" : why);
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
  return ecf::executableDirectory() + platform::kModuleFileName;
}

std::string findModule() {
  const std::filesystem::path beside = ecf::pathFromUtf8(moduleBesideExecutable());
  std::error_code error;
  if (std::filesystem::exists(beside, error)) return ecf::utf8FromPath(beside);
  const std::filesystem::path installed =
      beside.parent_path() / ECFHOST_INSTALLED_MODULE_DIR / beside.filename();
  if (std::filesystem::exists(installed, error)) {
    return ecf::utf8FromPath(installed.lexically_normal());
  }
  return ecf::utf8FromPath(beside);  // missing everywhere: the load error names the first place
}

}  // namespace ecfhost

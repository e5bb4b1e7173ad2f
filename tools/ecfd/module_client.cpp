#include "module_client.h"

#include <filesystem>
#include <stdexcept>

#include "base/env.h"
#include "base/utf8_path.h"
#include "platform.h"

#ifndef ECFD_INSTALLED_MODULE_DIR
#define ECFD_INSTALLED_MODULE_DIR "../lib"
#endif

namespace ecfd {
namespace {

template <typename Pointer>
void bind(void* library, const char* name, Pointer& target) {
  void* symbol = ecf::realEnv().findSymbol(library, name);
  if (symbol == nullptr) throw std::runtime_error(std::string("the module does not export ") + name);
  // Object and function pointers share one representation wherever libraries are loaded
  // by name (dlsym, GetProcAddress).
  target = reinterpret_cast<Pointer>(symbol);
}

}  // namespace

void ModuleClient::load(const std::string& path) {
  std::string why;
  void* library = ecf::realEnv().loadLibrary(path, &why);
  if (library == nullptr) {
    throw std::runtime_error("cannot load " + path + ": " + (why.empty() ? "unknown error" : why));
  }
  bind(library, "ecf_call", call_);
  bind(library, "ecf_free", free_);
  bind(library, "ecf_operations", operations_);
  bind(library, "ecf_set_settings_json", settings_);
  bind(library, "ecf_set_operator", operator_);
  bind(library, "ecf_SetHostDirectory", hostDirectory_);
  const char* catalogue = operations_();
  catalogue_ = Json::parse(catalogue == nullptr ? "" : catalogue, nullptr, false);
  if (catalogue_.is_discarded()) throw std::runtime_error("the module's catalogue is not JSON");
}

Json ModuleClient::call(const std::string& operation, const Json& request) const {
  const std::string text = request.dump(-1, ' ', false, Json::error_handler_t::replace);
  char* reply = call_(operation.c_str(), text.c_str());
  if (reply == nullptr) {
    return {{"result", nullptr}, {"error", {{"code", "out_of_memory"}, {"message", "no reply"}}}};
  }
  Json parsed = Json::parse(reply, nullptr, false);
  free_(reply);
  if (parsed.is_discarded() || !parsed.is_object()) {
    return {{"result", nullptr},
            {"error", {{"code", "bad_reply"}, {"message", "the module's reply is not JSON"}}}};
  }
  return parsed;
}

bool ModuleClient::setSettings(const Json& settings) const {
  return settings_(settings.dump().c_str()) == 1;
}

void ModuleClient::setOperator(ecf_operator_fn callback, void* context) const {
  operator_(callback, context);
}

void ModuleClient::setHostDirectory(const std::string& directory) const {
  hostDirectory_(directory.c_str());
}

std::string findModule() {
  const std::filesystem::path beside =
      ecf::pathFromUtf8(ecf::executableDirectory() + platform::kModuleFileName);
  std::error_code error;
  if (std::filesystem::exists(beside, error)) return ecf::utf8FromPath(beside);
  const std::filesystem::path installed =
      beside.parent_path() / ECFD_INSTALLED_MODULE_DIR / beside.filename();
  if (std::filesystem::exists(installed, error)) {
    return ecf::utf8FromPath(installed.lexically_normal());
  }
  return ecf::utf8FromPath(beside);
}

}  // namespace ecfd

#include "support/bare_driver.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace ecfbench {
namespace {

template <typename Entry>
Entry entry(void* library, const char* name) {
  void* symbol = dlsym(library, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "driver lacks %s\n", name);
    std::exit(2);
  }
  return reinterpret_cast<Entry>(symbol);
}

// Type codes of the driver's parameters, as the module sends them.
constexpr std::int32_t kIndicator = 0;
constexpr std::int32_t kMoney = 6;
constexpr std::int32_t kText = 7;
constexpr std::int32_t kUnsigned = 9;

}  // namespace

const BareDriver& bareDriver(const std::string& directory) {
  static const BareDriver driver = [&] {
    const std::string path = directory + "/libDLLG2.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      std::fprintf(stderr, "%s\n", dlerror());
      std::exit(2);
    }
    BareDriver bound;
    bound.clearParams = entry<DLLG2_LimpaParams_t>(library, "DLLG2_LimpaParams");
    bound.addParam = entry<DLLG2_AdicionaParam_t>(library, "DLLG2_AdicionaParam");
    bound.execute = entry<DLLG2_ExecutaComando_t>(library, "DLLG2_ExecutaComando");
    bound.errorCode = entry<DLLG2_ObtemCodErro_t>(library, "DLLG2_ObtemCodErro");
    bound.returns = entry<DLLG2_ObtemRetornos_t>(library, "DLLG2_ObtemRetornos");
    bound.channel = entry<DLLG2_IniciaDriver_t>(library, "DLLG2_IniciaDriver")("BENCH");
    return bound;
  }();
  return driver;
}

void sellItemBare(const BareDriver& d) {
  d.clearParams(d.channel);
  d.addParam(d.channel, "AliquotaICMS", "Y", kIndicator);
  d.addParam(d.channel, "CodAliquota", "00", kUnsigned);
  d.addParam(d.channel, "CodProduto", "1007", kText);
  d.addParam(d.channel, "NomeDepartamento", "", kText);
  d.addParam(d.channel, "NomeProduto", "P\xE3o de queijo n\xBA 7", kText);
  d.addParam(d.channel, "PrecoUnitario", "2,750", kMoney);
  d.addParam(d.channel, "Quantidade", "1,000", kMoney);
  d.addParam(d.channel, "Unidade", "UN", kText);
  d.execute(d.channel, "VendaDeItem");
  d.errorCode(d.channel);
  d.returns(d.channel, nullptr, 0);
}

}  // namespace ecfbench

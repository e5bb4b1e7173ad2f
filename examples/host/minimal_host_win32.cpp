// The smallest complete Windows host: loads the module, starts the printer on port ECF1,
// loads the printer's non-fiscal totalizers and registers a cash supply of 150,00.
// Usage: minimal_host [path of ecfmodule.dll]
#include <windows.h>

#include <cstdio>
#include <string>

#include "ecf/module.h"  // declarations only

template <typename Function>
Function bind(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int wmain(int argc, wchar_t** argv) {
  const wchar_t* path = argc > 1 ? argv[1] : L"ecfmodule.dll";
  HMODULE module = LoadLibraryW(path);  // DLLG2.dll is found beside it
  if (module == nullptr) {
    std::fprintf(stderr, "cannot load the module (error %lu)\n", GetLastError());
    return 1;
  }
  auto setOperator = bind<decltype(&::ecf_SetOperator)>(module, "ecf_SetOperator");
  auto start = bind<decltype(&::StartImpFiscal)>(module, "StartImpFiscal");
  auto loadTotalizers = bind<decltype(&::CarregaTotalizador)>(module, "CarregaTotalizador");
  auto supply = bind<decltype(&::Suprimento)>(module, "Suprimento");
  auto closePort = bind<decltype(&::FechaPorta)>(module, "FechaPorta");
  if (setOperator == nullptr || start == nullptr || loadTotalizers == nullptr ||
      supply == nullptr || closePort == nullptr) {
    return 1;
  }

  // Every notice and question of the module reaches the host here.
  setOperator([](const ecf::OperatorMessage& message) {
    std::printf("%s\n", message.text.c_str());
    return false;  // "no" to every question
  });
  ecf::Variant bag = ecf::makeBag({{"CDFILIAL", "1"}, {"CDCAIXA", "1"},
                                   {"NRSERIEIMP", "VP000000000000000001"},
                                   {"NRSERIE", "VP000000000000000001"},
                                   {"ESQUEMA", "001"}, {"ESQUEMACOR", "001"},
                                   {"CDPORTAIMPFIS", "ECF1"}, {"PORTAIMPFIS", "ECF1"}});
  if (!start(bag)) return 1;  // binds the driver, opens the printer on port ECF1

  // Cash movements name the printer's totalizers by code: read them (the missing ones
  // are programmed) before the first supply. The four codes come back here too.
  std::string changeVoucher, consumerSale, creditPurchase, creditCancel, unused;
  ecf::Dataset none;
  loadTotalizers(changeVoucher, consumerSale, creditPurchase, creditCancel, unused, "001", 0,
                 none);

  const bool supplied = supply("001", 150.00);
  closePort();
  return supplied ? 0 : 1;
}

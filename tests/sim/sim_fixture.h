// Drives the virtual printer the way the module does: the library bound by name, each
// command sent as LimpaParams, AdicionaParam..., ExecutaComando, texts in Windows-1252.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ecf/dllg2.h"
#include "ecfsim/controls.h"

namespace simtest {

// Type codes as the module sends them.
constexpr int kInd = 0, kDate = 2, kInt = 4, kMoney = 6, kText = 7, kUInt = 9, kULong = 10;

struct P {
  std::string name;
  std::string value;  // UTF-8; converted to Windows-1252 on the way in
  int type = kText;
};

struct Answer {
  int result = 0;    // what ExecutaComando returned
  int code = 0;      // ObtemCodErro
  std::string name;  // error name and circumstance, UTF-8
  std::string circumstance;
  std::string returned;  // ObtemRetornos, as the library gave it (Windows-1252)
};

// The 19 entries, found by name in libDLLG2.so.
struct Dllg2 {
  Dllg2();
  DLLG2_Versao_t Versao;
  DLLG2_ConfiguraDriver_t ConfiguraDriver;
  DLLG2_IniciaDriver_t IniciaDriver;
  DLLG2_EncerraDriver_t EncerraDriver;
  DLLG2_ObtemNomeLog_t ObtemNomeLog;
  DLLG2_LeTimeout_t LeTimeout;
  DLLG2_ListaParams_t ListaParams;
  DLLG2_ExecutaComando_t ExecutaComando;
  DLLG2_LeRegistrador_t LeRegistrador;
  DLLG2_ObtemCodErro_t ObtemCodErro;
  DLLG2_ObtemNomeErro_t ObtemNomeErro;
  DLLG2_ObtemCircunstancia_t ObtemCircunstancia;
  DLLG2_TotalRetornos_t TotalRetornos;
  DLLG2_Retorno_t Retorno;
  DLLG2_ObtemRetornos_t ObtemRetornos;
  DLLG2_DefineTimeout_t DefineTimeout;
  DLLG2_SetaArquivoLog_t SetaArquivoLog;
  DLLG2_LimpaParams_t LimpaParams;
  DLLG2_AdicionaParam_t AdicionaParam;
};
const Dllg2& dll();

// Every test gets its own state root and a printer on port "COM1" whose clock is frozen
// at 2024-03-15 10:00:00.
class SimTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Answer send(const std::string& command, const std::vector<P>& params = {});
  Answer sendOn(std::int32_t channel, const std::string& command, const std::vector<P>& params);

  // Register reads, cut as the module cuts them.
  std::string readInteger(const std::string& name);
  std::string readMoney(const std::string& name);  // dots removed: "1234,56"
  std::string readDate(const std::string& name);

  // A whole sale: open, items (code, name, tax code, price, quantity), pay, close.
  void openReceipt();
  Answer sell(const std::string& code, const std::string& name, const std::string& taxCode,
              const std::string& price, const std::string& quantity);
  Answer pay(const std::string& method, const std::string& value);
  Answer close(const std::string& promo = "", const std::string& operatorName = "");

  std::string state();  // ecfsim_get_state
  std::string tape();   // ecfsim_get_tape
  std::string record();
  std::filesystem::path directory();
  // The channel closed and opened again: the printer read back from its directory.
  void reopen();

  static constexpr const char* kPort = "COM1";
  std::filesystem::path root_;
  std::int32_t channel_ = -1;
};

// The text a control hands back through a caller buffer.
template <class Getter>
std::string controlText(Getter getter) {
  const int length = getter(nullptr, 0);
  if (length < 0) return "<error " + std::to_string(length) + ">";
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  getter(text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace simtest

#include "sim_fixture.h"

#include <stdexcept>

#include "base/env.h"
#include "base/utf8.h"
#include "base/utf8_path.h"
#include "platform/test_platform.h"

namespace simtest {
namespace {

std::string libraryPath() {
  return ecf::utf8FromPath(testplatform::binDirectory() / testplatform::kDriverFileName);
}

template <class Fn>
Fn bind(void* library, const char* name) {
  void* symbol = ecf::realEnv().findSymbol(library, name);
  if (symbol == nullptr) throw std::runtime_error(std::string("missing entry ") + name);
  return reinterpret_cast<Fn>(symbol);
}

}  // namespace

Dllg2::Dllg2() {
  std::string error;
  void* library = ecf::realEnv().loadLibrary(libraryPath(), &error);
  if (library == nullptr) throw std::runtime_error(error);
#define ECF_BIND(entry) entry = bind<DLLG2_##entry##_t>(library, "DLLG2_" #entry)
  ECF_BIND(Versao);
  ECF_BIND(ConfiguraDriver);
  ECF_BIND(IniciaDriver);
  ECF_BIND(EncerraDriver);
  ECF_BIND(ObtemNomeLog);
  ECF_BIND(LeTimeout);
  ECF_BIND(ListaParams);
  ECF_BIND(ExecutaComando);
  ECF_BIND(LeRegistrador);
  ECF_BIND(ObtemCodErro);
  ECF_BIND(ObtemNomeErro);
  ECF_BIND(ObtemCircunstancia);
  ECF_BIND(TotalRetornos);
  ECF_BIND(Retorno);
  ECF_BIND(ObtemRetornos);
  ECF_BIND(DefineTimeout);
  ECF_BIND(SetaArquivoLog);
  ECF_BIND(LimpaParams);
  ECF_BIND(AdicionaParam);
#undef ECF_BIND
}

const Dllg2& dll() {
  static const Dllg2 bound;
  return bound;
}

void SimTest::SetUp() {
  root_ = testplatform::makeMemoryScratchDirectory("ecfsim-test");
  testplatform::setEnvironment("ECFSIM_ROOT", ecf::utf8FromPath(root_));
  ASSERT_EQ(ecfsim_set_clock(kPort, "2024-03-15 10:00:00"), 0);
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
}

void SimTest::TearDown() {
  if (channel_ > 0) dll().EncerraDriver(channel_);
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

Answer SimTest::sendOn(std::int32_t channel, const std::string& command,
                       const std::vector<P>& params) {
  const Dllg2& d = dll();
  d.LimpaParams(channel);
  for (const P& p : params) {
    d.AdicionaParam(channel, ecf::utf8ToCp1252(p.name).c_str(),
                    ecf::utf8ToCp1252(p.value).c_str(), p.type);
  }
  Answer a;
  a.result = d.ExecutaComando(channel, ecf::utf8ToCp1252(command).c_str());
  a.code = d.ObtemCodErro(channel);
  a.name = ecf::cp1252ToUtf8(d.ObtemNomeErro(channel, nullptr, 0));
  a.circumstance = ecf::cp1252ToUtf8(d.ObtemCircunstancia(channel, nullptr, 0));
  a.returned = d.ObtemRetornos(channel, nullptr, 0);
  return a;
}

Answer SimTest::send(const std::string& command, const std::vector<P>& params) {
  return sendOn(channel_, command, params);
}

std::string SimTest::readInteger(const std::string& name) {
  const Answer a = send("LeInteiro", {{"NomeInteiro", name, kText}});
  EXPECT_EQ(a.code, 0) << name << ": " << a.circumstance;
  return a.returned.size() >= 13 ? a.returned.substr(13) : "";
}

std::string SimTest::readMoney(const std::string& name) {
  const Answer a = send("LeMoeda", {{"NomeDadoMonetario", name, kText}});
  EXPECT_EQ(a.code, 0) << name << ": " << a.circumstance;
  std::string value = a.returned.size() >= 11 ? a.returned.substr(11) : "";
  std::erase(value, '.');
  return value;
}

std::string SimTest::readDate(const std::string& name) {
  const Answer a = send("LeData", {{"NomeData", name, kText}});
  EXPECT_EQ(a.code, 0) << name << ": " << a.circumstance;
  return a.returned.size() >= 12 ? a.returned.substr(11, a.returned.size() - 12) : "";
}

void SimTest::openReceipt() {
  const Answer a = send("AbreCupomFiscal", {{"EnderecoConsumidor", "", kText},
                                            {"NomeConsumidor", "", kText}});
  ASSERT_EQ(a.code, 0) << a.circumstance;
}

Answer SimTest::sell(const std::string& code, const std::string& name, const std::string& taxCode,
                     const std::string& price, const std::string& quantity) {
  return send("VendaDeItem", {{"AliquotaICMS", "Y", kInd},
                              {"CodAliquota", taxCode, kUInt},
                              {"CodProduto", code, kText},
                              {"NomeDepartamento", "", kText},
                              {"NomeProduto", name, kText},
                              {"PrecoUnitario", price, kMoney},
                              {"Quantidade", quantity, kMoney},
                              {"Unidade", "UN", kText}});
}

void SimTest::reopen() {
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
}

Answer SimTest::pay(const std::string& method, const std::string& value) {
  return send("PagaCupom", {{"NomeMeioPagamento", method, kText},
                            {"TextoAdicional", "", kText},
                            {"Valor", value, kMoney}});
}

Answer SimTest::close(const std::string& promo, const std::string& operatorName) {
  return send("EncerraDocumento", {{"Operador", operatorName, kText},
                                   {"TextoPromocional", promo, kText}});
}

std::string SimTest::state() {
  return controlText([](char* b, int s) { return ecfsim_get_state(kPort, b, s); });
}

std::string SimTest::tape() {
  return controlText([](char* b, int s) { return ecfsim_get_tape(kPort, b, s); });
}

std::string SimTest::record() {
  return controlText([](char* b, int s) { return ecfsim_get_record(kPort, b, s); });
}

std::filesystem::path SimTest::directory() {
  return ecf::pathFromUtf8(
      controlText([](char* b, int s) { return ecfsim_get_directory(kPort, b, s); }));
}

}  // namespace simtest

#include "driver/binding.h"

#include "base/utf8.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/module_env.h"

namespace ecf::driver {
namespace {

bool channelOpen = false;

// One row per entry, in binding order.
struct EntryBinding {
  const char* symbol;
  void** reference;
};

template <class T>
void** slot(T& reference) {
  return reinterpret_cast<void**>(&reference);
}

const EntryBinding kEntries[] = {
    {"DLLG2_Versao", slot(Ecf_DLLG2_Versao)},
    {"DLLG2_ConfiguraDriver", slot(Ecf_DLLG2_ConfiguraDriver)},
    {"DLLG2_IniciaDriver", slot(Ecf_DLLG2_IniciaDriver)},
    {"DLLG2_EncerraDriver", slot(Ecf_DLLG2_EncerraDriver)},
    {"DLLG2_ObtemNomeLog", slot(Ecf_DLLG2_ObtemNomeLog)},
    {"DLLG2_LeTimeout", slot(Ecf_DLLG2_LeTimeout)},
    {"DLLG2_ListaParams", slot(Ecf_DLLG2_ListaParams)},
    {"DLLG2_ExecutaComando", slot(Ecf_DLLG2_ExecutaComando)},
    {"DLLG2_LeRegistrador", slot(Ecf_DLLG2_LeRegistrador)},
    {"DLLG2_ObtemCodErro", slot(Ecf_DLLG2_ObtemCodErro)},
    {"DLLG2_ObtemNomeErro", slot(Ecf_DLLG2_ObtemNomeErro)},
    {"DLLG2_ObtemCircunstancia", slot(Ecf_DLLG2_ObtemCircunstancia)},
    {"DLLG2_TotalRetornos", slot(Ecf_DLLG2_TotalRetornos)},
    {"DLLG2_Retorno", slot(Ecf_DLLG2_Retorno)},
    {"DLLG2_ObtemRetornos", slot(Ecf_DLLG2_ObtemRetornos)},
    {"DLLG2_DefineTimeout", slot(Ecf_DLLG2_DefineTimeout)},
    {"DLLG2_SetaArquivoLog", slot(Ecf_DLLG2_SetaArquivoLog)},
    {"DLLG2_LimpaParams", slot(Ecf_DLLG2_LimpaParams)},
    {"DLLG2_AdicionaParam", slot(Ecf_DLLG2_AdicionaParam)},
};

// Every call through an entry goes through here, so a missing binding is one clear
// failure instead of a call through nothing.
// The log says which of the three it is: never loaded, unbound by StopImpFiscal (or a
// failed binding), or bound with the port closed.
template <class Fn>
Fn entry(Fn reference, const char* what) {
  if (reference == nullptr) {
    const char* state = ImpFisDLLHandle == nullptr
                            ? "driver da impressora fiscal não carregado ("
                            : "funções do driver da impressora fiscal desvinculadas (";
    throw DriverUnavailable(std::string(state) + what + ")");
  }
  return reference;
}

template <class Fn>
Fn channelEntry(Fn reference, const char* what) {
  entry(reference, what);
  if (!channelOpen) {
    throw DriverUnavailable(std::string("porta da impressora fiscal fechada (") + what + ")");
  }
  return reference;
}

std::string fromDriver(const char* text) { return text ? cp1252ToUtf8(text) : std::string(); }

// The text as the driver reads it, in Windows-1252. ASCII text, the usual case, reads the
// same in both and is passed as it is; other text is converted into `converted`.
const char* toDriver(const std::string& text, std::string& converted) {
  if (isAscii(text)) return text.c_str();
  converted = utf8ToCp1252(text);
  return converted.c_str();
}

}  // namespace

const char* libraryName() {
#if defined(_WIN32)
  return "DLLG2.dll";
#else
  return "libDLLG2.so";
#endif
}

bool bind() {
  if (ImpFisDLLHandle == nullptr) {
    ImpFisDLLHandle = moduleEnv().loadLibrary(libraryName(), nullptr);
    // The platform's search order comes first; a driver placed beside the module is found
    // even where that order misses the module's own directory (an interposed loader).
    const std::string beside = codeDirectory() + libraryName();
    if (ImpFisDLLHandle == nullptr && !codeDirectory().empty() &&
        moduleEnv().fileExists(beside)) {
      ImpFisDLLHandle = moduleEnv().loadLibrary(beside, nullptr);
    }
    if (ImpFisDLLHandle == nullptr) return false;
  }
  for (const EntryBinding& binding : kEntries) {
    *binding.reference = moduleEnv().findSymbol(ImpFisDLLHandle, binding.symbol);
    if (*binding.reference == nullptr) {
      StopImpFiscal();
      return false;
    }
  }
  return true;
}

void unbind() {
  for (const EntryBinding& binding : kEntries) *binding.reference = nullptr;
  channelOpen = false;
}

bool bound() {
  for (const EntryBinding& binding : kEntries) {
    if (*binding.reference == nullptr) return false;
  }
  return true;
}

bool portOpen() { return channelOpen && bound(); }

std::int32_t openPort(const std::string& port) {
  channelOpen = false;
  inCanalSerial = entry(Ecf_DLLG2_IniciaDriver, "IniciaDriver")(utf8ToCp1252(port).c_str());
  channelOpen = inCanalSerial >= 0;
  return inCanalSerial;
}

std::int32_t configure(std::int32_t speed, std::int32_t options) {
  return channelEntry(Ecf_DLLG2_ConfiguraDriver, "ConfiguraDriver")(inCanalSerial, speed,
                                                                      options);
}

std::int32_t defineTimeout(std::int32_t seconds) {
  return channelEntry(Ecf_DLLG2_DefineTimeout, "DefineTimeout")(inCanalSerial, seconds);
}

std::int32_t closePort() {
  const std::int32_t result = entry(Ecf_DLLG2_EncerraDriver, "EncerraDriver")(inCanalSerial);
  channelOpen = false;
  return result;
}

void clearParams() { channelEntry(Ecf_DLLG2_LimpaParams, "LimpaParams")(inCanalSerial); }

void addParam(const std::string& name, const std::string& value, std::int32_t type) {
  std::string nameText, valueText;
  channelEntry(Ecf_DLLG2_AdicionaParam, "AdicionaParam")(
      inCanalSerial, toDriver(name, nameText), toDriver(value, valueText), type);
}

std::int32_t execute(const std::string& command) {
  std::string commandText;
  return channelEntry(Ecf_DLLG2_ExecutaComando, "ExecutaComando")(
      inCanalSerial, toDriver(command, commandText));
}

std::int32_t errorCode() {
  return channelEntry(Ecf_DLLG2_ObtemCodErro, "ObtemCodErro")(inCanalSerial);
}

std::string errorName() {
  return fromDriver(
      channelEntry(Ecf_DLLG2_ObtemNomeErro, "ObtemNomeErro")(inCanalSerial, nullptr, 0));
}

std::string errorCircumstance() {
  return fromDriver(channelEntry(Ecf_DLLG2_ObtemCircunstancia, "ObtemCircunstancia")(
      inCanalSerial, nullptr, 0));
}

std::string returns() {
  return fromDriver(channelEntry(Ecf_DLLG2_ObtemRetornos, "ObtemRetornos")(
      inCanalSerial, const_cast<char*>(stTamRetorno), 0));
}

OpeningError openingError() {
  OpeningError error;
  if (channelOpen) return error;
  error.code = entry(Ecf_DLLG2_ObtemCodErro, "ObtemCodErro")(inCanalSerial);
  if (error.code <= 0) return error;
  error.name = fromDriver(entry(Ecf_DLLG2_ObtemNomeErro, "ObtemNomeErro")(inCanalSerial, nullptr, 0));
  error.circumstance = fromDriver(
      entry(Ecf_DLLG2_ObtemCircunstancia, "ObtemCircunstancia")(inCanalSerial, nullptr, 0));
  return error;
}

}  // namespace ecf::driver

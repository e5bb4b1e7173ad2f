// A driver library that answers every entry point at once and prints nothing, so that a
// benchmark times the module alone. It keeps the pending parameters and the command as
// any driver must before it talks to a printer; commands succeed, registers read as
// empty texts. Same 19 entry points as the virtual printer's library.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ecf/dllg2.h"

#define NULL_DRIVER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr std::int32_t kChannel = 1;
const char kEmpty[] = "";

std::vector<std::pair<std::string, std::string>> pendingParams;
std::string lastCommand;

const char* emptyText(char* buffer, std::int32_t size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  return kEmpty;
}

}  // namespace

NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_Versao() { return "null driver"; }
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_ConfiguraDriver(std::int32_t, std::int32_t,
                                                                 std::int32_t) {
  return 0;
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_IniciaDriver(const char*) { return kChannel; }
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_EncerraDriver(std::int32_t) { return 0; }
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_ObtemNomeLog(std::int32_t, char* buffer,
                                                             std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_LeTimeout(std::int32_t) { return 40; }
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_ListaParams(std::int32_t, char* buffer,
                                                            std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_ExecutaComando(std::int32_t,
                                                                const char* command) {
  lastCommand = command != nullptr ? command : "";
  return 0;
}
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_LeRegistrador(std::int32_t, const char*,
                                                              char* buffer, std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_ObtemCodErro(std::int32_t) { return 0; }
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_ObtemNomeErro(std::int32_t, char* buffer,
                                                              std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_ObtemCircunstancia(std::int32_t, char* buffer,
                                                                   std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_TotalRetornos(std::int32_t) { return 0; }
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_Retorno(std::int32_t, std::int32_t, char* buffer,
                                                        std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT const char* DLLG2_CALL DLLG2_ObtemRetornos(std::int32_t, char* buffer,
                                                              std::int32_t size) {
  return emptyText(buffer, size);
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_DefineTimeout(std::int32_t, std::int32_t) {
  return 0;
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_SetaArquivoLog(std::int32_t, const char*) {
  return 0;
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_LimpaParams(std::int32_t) {
  pendingParams.clear();
  return 0;
}
NULL_DRIVER_EXPORT std::int32_t DLLG2_CALL DLLG2_AdicionaParam(std::int32_t, const char* name,
                                                               const char* value, std::int32_t) {
  pendingParams.emplace_back(name != nullptr ? name : "", value != nullptr ? value : "");
  return 0;
}

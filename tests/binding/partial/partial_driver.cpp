// A driver library that exports every entry but "DLLG2_AdicionaParam", to show that the
// module refuses to half-bind a driver.
#include <cstdint>

#include "ecf/dllg2.h"

#if defined(_WIN32)
#define PARTIAL_EXPORT extern "C" __declspec(dllexport)
#else
#define PARTIAL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_Versao() { return "partial"; }
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_ConfiguraDriver(std::int32_t, std::int32_t,
                                                             std::int32_t) {
  return 0;
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_IniciaDriver(const char*) { return 1; }
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_EncerraDriver(std::int32_t) { return 0; }
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_ObtemNomeLog(std::int32_t, char*, std::int32_t) {
  return "";
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_LeTimeout(std::int32_t) { return 0; }
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_ListaParams(std::int32_t, char*, std::int32_t) {
  return "";
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_ExecutaComando(std::int32_t, const char*) {
  return 0;
}
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_LeRegistrador(std::int32_t, const char*, char*,
                                                         std::int32_t) {
  return "";
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_ObtemCodErro(std::int32_t) { return 0; }
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_ObtemNomeErro(std::int32_t, char*, std::int32_t) {
  return "";
}
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_ObtemCircunstancia(std::int32_t, char*,
                                                              std::int32_t) {
  return "";
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_TotalRetornos(std::int32_t) { return 0; }
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_Retorno(std::int32_t, std::int32_t, char*,
                                                   std::int32_t) {
  return "";
}
PARTIAL_EXPORT const char* DLLG2_CALL DLLG2_ObtemRetornos(std::int32_t, char*, std::int32_t) {
  return "";
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_DefineTimeout(std::int32_t, std::int32_t) {
  return 0;
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_SetaArquivoLog(std::int32_t, const char*) {
  return 0;
}
PARTIAL_EXPORT std::int32_t DLLG2_CALL DLLG2_LimpaParams(std::int32_t) { return 0; }

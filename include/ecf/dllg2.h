// The printer driver library's entry points, as the module binds them by name.
// Text arguments and results are NUL-terminated Windows-1252 text. Results that are
// texts belong to the library and stay valid until the next call on the channel.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#  define DLLG2_CALL __stdcall
#else
#  define DLLG2_CALL
#endif

extern "C" {
typedef const char*(DLLG2_CALL* DLLG2_Versao_t)();
typedef std::int32_t(DLLG2_CALL* DLLG2_ConfiguraDriver_t)(std::int32_t channel, std::int32_t speed,
                                                           std::int32_t options);
typedef std::int32_t(DLLG2_CALL* DLLG2_IniciaDriver_t)(const char* port);
typedef std::int32_t(DLLG2_CALL* DLLG2_EncerraDriver_t)(std::int32_t channel);
typedef const char*(DLLG2_CALL* DLLG2_ObtemNomeLog_t)(std::int32_t channel, char* buffer,
                                                       std::int32_t size);
typedef std::int32_t(DLLG2_CALL* DLLG2_LeTimeout_t)(std::int32_t channel);
typedef const char*(DLLG2_CALL* DLLG2_ListaParams_t)(std::int32_t channel, char* buffer,
                                                      std::int32_t size);
typedef std::int32_t(DLLG2_CALL* DLLG2_ExecutaComando_t)(std::int32_t channel, const char* command);
typedef const char*(DLLG2_CALL* DLLG2_LeRegistrador_t)(std::int32_t channel, const char* name,
                                                        char* buffer, std::int32_t size);
typedef std::int32_t(DLLG2_CALL* DLLG2_ObtemCodErro_t)(std::int32_t channel);
typedef const char*(DLLG2_CALL* DLLG2_ObtemNomeErro_t)(std::int32_t channel, char* buffer,
                                                        std::int32_t size);
typedef const char*(DLLG2_CALL* DLLG2_ObtemCircunstancia_t)(std::int32_t channel, char* buffer,
                                                             std::int32_t size);
typedef std::int32_t(DLLG2_CALL* DLLG2_TotalRetornos_t)(std::int32_t channel);
typedef const char*(DLLG2_CALL* DLLG2_Retorno_t)(std::int32_t channel, std::int32_t index,
                                                  char* buffer, std::int32_t size);
typedef const char*(DLLG2_CALL* DLLG2_ObtemRetornos_t)(std::int32_t channel, char* buffer,
                                                        std::int32_t size);
typedef std::int32_t(DLLG2_CALL* DLLG2_DefineTimeout_t)(std::int32_t channel, std::int32_t seconds);
typedef std::int32_t(DLLG2_CALL* DLLG2_SetaArquivoLog_t)(std::int32_t channel, const char* path);
typedef std::int32_t(DLLG2_CALL* DLLG2_LimpaParams_t)(std::int32_t channel);
typedef std::int32_t(DLLG2_CALL* DLLG2_AdicionaParam_t)(std::int32_t channel, const char* name,
                                                         const char* value, std::int32_t type);
}

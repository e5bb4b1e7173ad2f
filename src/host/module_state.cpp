// The module's exported constants and shared state, and what happens at load and unload.
#include "ecf/module.h"
#include "host/module_env.h"

extern "C" {

const std::int32_t PARAMETRO_INDICADOR = 0;
const std::int32_t PARAMETRO_DATA = 2;
const std::int32_t PARAMETRO_HORA = 3;
const std::int32_t PARAMETRO_INT = 4;
const std::int32_t PARAMETRO_LONG = 5;
const std::int32_t PARAMETRO_MONEY = 6;
const std::int32_t PARAMETRO_STRING = 7;
const std::int32_t PARAMETRO_UINT = 9;
const std::int32_t PARAMETRO_ULONG = 10;

const std::int32_t FLAG_INTERVENCAO_TECNICA = 1;
const std::int32_t FLAG_SEM_MFD = 2;
const std::int32_t FLAG_RAM_NOK = 4;
const std::int32_t FLAG_RELOGIO_NOK = 8;
const std::int32_t FLAG_SEM_MF = 16;
const std::int32_t FLAG_DIA_FECHADO = 32;
const std::int32_t FLAG_DIA_ABERTO = 64;
const std::int32_t FLAG_Z_PENDENTE = 128;
const std::int32_t FLAG_SEM_PAPEL = 256;
const std::int32_t FLAG_MECANISMO_NOK = 512;
const std::int32_t FLAG_DOCUMENTO_ABERTO = 1024;
const std::int32_t FLAG_INSCRICOES_OK = 2048;
const std::int32_t FLAG_CLICHE_OK = 4096;
const std::int32_t FLAG_EM_LINHA = 8192;
const std::int32_t FLAG_MFD_ESGOTADA = 16384;

bool boImpFiscalOK = false;
void* ImpFisDLLHandle = nullptr;
std::int32_t inCanalSerial = 0;
std::int32_t inRetornoFuncao = 0;
std::int32_t inRetornoErro = 0;
std::int32_t inRetorno = 0;
const char* stParametro = "";
const char* stRetornoFuncao = "";
const char* stRetornoErro = "";
const char* stTamRetorno = "";
std::int32_t inPos = 0;
std::int32_t inPos1 = 0;
std::string stImpDebug;
std::string stAliquotaIss;
bool boComando = false;
std::string dsDirCad;
std::string IdTotRelatorio;
std::string IdTotParcCV;
std::string IdTotParcVCons;
std::string idTotParcSuprimento;
std::string idTotParcSangria;
std::string IdTotCompCred;
std::string IdTotCancCred;
ecf::Dataset* cdsAuxExtSimp = nullptr;
ecf::TdtmEcf01600* dtmEcf01600 = nullptr;

DLLG2_Versao_t Ecf_DLLG2_Versao = nullptr;
DLLG2_ConfiguraDriver_t Ecf_DLLG2_ConfiguraDriver = nullptr;
DLLG2_IniciaDriver_t Ecf_DLLG2_IniciaDriver = nullptr;
DLLG2_EncerraDriver_t Ecf_DLLG2_EncerraDriver = nullptr;
DLLG2_ObtemNomeLog_t Ecf_DLLG2_ObtemNomeLog = nullptr;
DLLG2_LeTimeout_t Ecf_DLLG2_LeTimeout = nullptr;
DLLG2_ListaParams_t Ecf_DLLG2_ListaParams = nullptr;
DLLG2_ExecutaComando_t Ecf_DLLG2_ExecutaComando = nullptr;
DLLG2_LeRegistrador_t Ecf_DLLG2_LeRegistrador = nullptr;
DLLG2_ObtemCodErro_t Ecf_DLLG2_ObtemCodErro = nullptr;
DLLG2_ObtemNomeErro_t Ecf_DLLG2_ObtemNomeErro = nullptr;
DLLG2_ObtemCircunstancia_t Ecf_DLLG2_ObtemCircunstancia = nullptr;
DLLG2_TotalRetornos_t Ecf_DLLG2_TotalRetornos = nullptr;
DLLG2_Retorno_t Ecf_DLLG2_Retorno = nullptr;
DLLG2_ObtemRetornos_t Ecf_DLLG2_ObtemRetornos = nullptr;
DLLG2_DefineTimeout_t Ecf_DLLG2_DefineTimeout = nullptr;
DLLG2_SetaArquivoLog_t Ecf_DLLG2_SetaArquivoLog = nullptr;
DLLG2_LimpaParams_t Ecf_DLLG2_LimpaParams = nullptr;
DLLG2_AdicionaParam_t Ecf_DLLG2_AdicionaParam = nullptr;

}  // extern "C"

namespace {

// Defined after the variables above, so they are constructed before it runs. The
// counter keeps start-up and unload single when the library is attached twice.
struct ModuleLifetime {
  static inline int loads = 0;
  ModuleLifetime() {
    if (loads++ == 0) dsDirCad = ecf::moduleEnv().hostDirectory();
  }
  ~ModuleLifetime() {
    if (--loads != 0) return;
    // The data module is never freed: the host may still hold datasets it handed out.
    IdTotCancCred.clear();
    dsDirCad.clear();
    IdTotCompCred.clear();
    idTotParcSangria.clear();
    idTotParcSuprimento.clear();
    IdTotParcVCons.clear();
    IdTotParcCV.clear();
    IdTotRelatorio.clear();
    stImpDebug.clear();
    stAliquotaIss.clear();
  }
};

const ModuleLifetime lifetime;

}  // namespace

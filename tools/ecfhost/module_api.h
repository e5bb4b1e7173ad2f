// The module as a host sees it: a library loaded at run time whose operations are
// bound by name. Every binding is typed from the module's own public declarations
// (decltype of the declared function), so no signature is written twice.
#pragma once

#include <string>
#include <vector>

#include "ecf/ecf.h"
#include "ecf/module.h"

namespace ecfhost {

// Every operation and set-up function the tool calls.
#define ECFHOST_FUNCTIONS(X)                                                          \
  X(ecf_SetOperator) X(ecf_SetSettings) X(ecf_SetHostDirectory)                      \
  X(ecf_call) X(ecf_free) X(ecf_operations)                                           \
  X(StartImpFiscal) X(StopImpFiscal) X(FechaPorta) X(Atu_TotGeral) X(BuscaTotGer)    \
  X(Data_Imp) X(LeIndicadores) X(Carrega_Dados_Impressora) X(Estado_Imp)             \
  X(Nr_Cupom) X(Estado_Gaveta_Imp) X(InfImpTerm)                                     \
  X(CarregaAliquota) X(CarregaTotalizador) X(VerificaTotalizador)                    \
  X(CarregaRecebimento) X(Config_FormaPg)                                            \
  X(AbreCupom) X(VendaItem) X(Cancela_UltimoItem) X(Cancela_ItGenerico)              \
  X(Acrescimo_Imp) X(FechaCupom) X(Cancela_Cupom_Imp) X(Abre_Gaveta_Imp) X(Guilhotina) \
  X(Relatorio_Gerencial_Imp) X(Usa_CompNFis) X(FechRelatGerenc)                      \
  X(Suprimento) X(Sangria) X(Cupom_NFiscNVinc)                                       \
  X(Leitura_X_Imp) X(Reducao_Z_Imp) X(Estado_HorVerao) X(Muda_Horario)              \
  /* restaurant tickets, pre-formatted texts, listings, identification */         \
  X(Abertura_Mesa) X(RegistroVenda) X(Conferencia_Formatada) X(Cupom_Troca)          \
  X(GeraCatGenerica) X(imprimeTipoRece) X(ImprimeMesasAbertas)                       \
  X(imprimeProdutosTransf) X(ImprimeDadosPaf)                                       \
  /* consumer account documents */                                                  \
  X(Cabecalho) X(Extrato) X(ImpSaldo) X(SaldoNegativo) X(ImprimeProdBloq)            \
  X(Saldo_CredPessoal)                                                              \
  /* fiscal day closing: detail-memory reading and the Z data export */             \
  X(Memoria_Fiscal_Imp) X(DataMoviFiscal) X(ExportRedZ)                            \
  /* linked, card-transaction and consumer vouchers */                               \
  X(Abre_Comp_NFiscalVinc) X(ImprimeTef)                                             \
  X(Comp_DebitoCons) X(Compr_CredPessoal) X(Cancela_Cred_Pessoal)                  \
  /* ---- product report and cash closing ---- */                                 \
  X(Relatorio_Produto) X(GeraReciboSangria)

// The exported variables the tool reads after an operation.
#define ECFHOST_VARIABLES(X)                                                          \
  X(dtmEcf01600) X(idTotParcSuprimento) X(idTotParcSangria) X(IdTotParcCV)           \
  X(IdTotParcVCons) X(IdTotCompCred) X(IdTotRelatorio) X(IdTotCancCred)

class ModuleApi {
 public:
#define ECFHOST_DECLARE(name) decltype(&::name) name = nullptr;
  ECFHOST_FUNCTIONS(ECFHOST_DECLARE)
  ECFHOST_VARIABLES(ECFHOST_DECLARE)
#undef ECFHOST_DECLARE

  // Loads the library at `path` (kept loaded for the life of the process, as the module
  // keeps its driver) and binds every name above. Returns false with `error` set when the
  // library does not load; names it does not export stay null and are listed in missing().
  bool load(const std::string& path, std::string& error);
  const std::vector<std::string>& missing() const { return missing_; }

  // The exported text variable of that name ("IdTotParcCV"...), or nullptr.
  const std::string* textVariable(const std::string& name) const;

 private:
  std::vector<std::string> missing_;
};

// "<directory of this executable>/libecfmodule.so".
std::string moduleBesideExecutable();
// The module beside this executable (a build tree, a deployment in one directory), else
// where an installation puts it: <this executable's directory>/<bindir to libdir>.
std::string findModule();

}  // namespace ecfhost

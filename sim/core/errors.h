// The printer's refusals: a code above zero, a name and a circumstance (in Portuguese),
// as the driver reports them after a command it did not carry out.
#pragma once

#include <stdexcept>
#include <string>

namespace ecfsim {

enum class ErrorCode : int {
  None = 0,
  // The command itself.
  ComandoInexistente = 1,
  ParametroAusente = 2,
  ParametroInvalido = 3,
  TipoParametroInvalido = 4,
  ValorForaDaFaixa = 5,
  RegistradorInexistente = 6,
  // The printer as a device.
  ImpressoraNaoResponde = 10,
  SemPapel = 11,
  FalhaGravacao = 12,
  LimiteEsgotado = 13,
  // The printer could not be opened (DLLG2_IniciaDriver).
  ImpressoraEmUso = 14,
  EstadoIlegivel = 15,
  AberturaRecusada = 16,
  SemDiretorioDeEstado = 17,
  // Documents and the fiscal day.
  DocumentoAberto = 20,
  NenhumDocumentoAberto = 21,
  CupomFiscalNaoAberto = 22,
  CupomSemItens = 23,
  PagamentoInsuficiente = 24,
  ReducaoZPendente = 25,
  DiaFechado = 26,
  FaseIncorreta = 27,
  // Tables.
  AliquotaNaoProgramada = 30,
  TotalizadorNaoProgramado = 31,
  MeioPagamentoNaoProgramado = 32,
  TabelaCheia = 33,
  NomeDuplicado = 34,
  CodigoJaProgramado = 35,
  // Items, amounts and payments.
  ItemInexistente = 40,
  ItemJaCancelado = 41,
  SubtotalJaAjustado = 42,
  ValorInvalido = 43,
  PagamentoJaConcluido = 44,
  LimiteItens = 45,
  // Cancellations, vouchers, clock.
  CancelamentoNaoPermitido = 50,
  VinculadoNaoPermitido = 51,
  HorarioVeraoInvalido = 52,
};

// The error's name as the driver reports it ("ComandoInexistente"); empty for None.
const char* errorName(ErrorCode code);

// Thrown by a command that the printer refuses; nothing it did is kept.
class CommandError : public std::runtime_error {
 public:
  CommandError(ErrorCode code, std::string circumstance)
      : std::runtime_error(circumstance), code_(code), circumstance_(std::move(circumstance)) {}
  ErrorCode code() const { return code_; }
  const std::string& circumstance() const { return circumstance_; }

 private:
  ErrorCode code_;
  std::string circumstance_;
};

}  // namespace ecfsim

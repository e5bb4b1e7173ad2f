#include "core/errors.h"

namespace ecfsim {

const char* errorName(ErrorCode code) {
  switch (code) {
    case ErrorCode::None: return "";
    case ErrorCode::ComandoInexistente: return "ComandoInexistente";
    case ErrorCode::ParametroAusente: return "ParametroAusente";
    case ErrorCode::ParametroInvalido: return "ParametroInvalido";
    case ErrorCode::TipoParametroInvalido: return "TipoParametroInvalido";
    case ErrorCode::ValorForaDaFaixa: return "ValorForaDaFaixa";
    case ErrorCode::RegistradorInexistente: return "RegistradorInexistente";
    case ErrorCode::ImpressoraNaoResponde: return "ImpressoraNaoResponde";
    case ErrorCode::SemPapel: return "SemPapel";
    case ErrorCode::FalhaGravacao: return "FalhaGravacao";
    case ErrorCode::LimiteEsgotado: return "LimiteEsgotado";
    case ErrorCode::ImpressoraEmUso: return "ImpressoraEmUso";
    case ErrorCode::EstadoIlegivel: return "EstadoIlegivel";
    case ErrorCode::AberturaRecusada: return "AberturaRecusada";
    case ErrorCode::SemDiretorioDeEstado: return "SemDiretorioDeEstado";
    case ErrorCode::DocumentoAberto: return "DocumentoAberto";
    case ErrorCode::NenhumDocumentoAberto: return "NenhumDocumentoAberto";
    case ErrorCode::CupomFiscalNaoAberto: return "CupomFiscalNaoAberto";
    case ErrorCode::CupomSemItens: return "CupomSemItens";
    case ErrorCode::PagamentoInsuficiente: return "PagamentoInsuficiente";
    case ErrorCode::ReducaoZPendente: return "ReducaoZPendente";
    case ErrorCode::DiaFechado: return "DiaFechado";
    case ErrorCode::FaseIncorreta: return "FaseIncorreta";
    case ErrorCode::AliquotaNaoProgramada: return "AliquotaNaoProgramada";
    case ErrorCode::TotalizadorNaoProgramado: return "TotalizadorNaoProgramado";
    case ErrorCode::MeioPagamentoNaoProgramado: return "MeioPagamentoNaoProgramado";
    case ErrorCode::TabelaCheia: return "TabelaCheia";
    case ErrorCode::NomeDuplicado: return "NomeDuplicado";
    case ErrorCode::CodigoJaProgramado: return "CodigoJaProgramado";
    case ErrorCode::ItemInexistente: return "ItemInexistente";
    case ErrorCode::ItemJaCancelado: return "ItemJaCancelado";
    case ErrorCode::SubtotalJaAjustado: return "SubtotalJaAjustado";
    case ErrorCode::ValorInvalido: return "ValorInvalido";
    case ErrorCode::PagamentoJaConcluido: return "PagamentoJaConcluido";
    case ErrorCode::LimiteItens: return "LimiteItens";
    case ErrorCode::CancelamentoNaoPermitido: return "CancelamentoNaoPermitido";
    case ErrorCode::VinculadoNaoPermitido: return "VinculadoNaoPermitido";
    case ErrorCode::HorarioVeraoInvalido: return "HorarioVeraoInvalido";
  }
  return "ErroDesconhecido";
}

}  // namespace ecfsim

#include "core/commands.h"

#include "base/utf8.h"
#include "core/documents.h"

namespace ecfsim {

const std::vector<CommandDefinition>& commandCatalogue() {
  static const std::vector<CommandDefinition> catalogue = {
      {"LeInteiro", leInteiro, false, true},
      {"LeMoeda", leMoeda, false, true},
      {"LeData", leData, false, true},
      {"LeHora", leHora, false, true},
      {"LeTexto", leTexto, false, true},
      {"LeIndicador", leIndicador, false, true},
      {"LeAliquota", leAliquota, false, true},
      {"LeNaoFiscal", leNaoFiscal, false, true},
      {"LeMeioPagamento", leMeioPagamento, false, true},
      {"DefineNaoFiscal", defineNaoFiscal, false, false},
      {"DefineMeioPagamento", defineMeioPagamento, false, false},
      {"AbreCupomFiscal", abreCupomFiscal, true, false},
      {"VendaDeItem", vendaDeItem, true, false},
      {"CancelaItemFiscal", cancelaItemFiscal, true, false},
      {"AcresceSubtotal", acresceSubtotal, true, false},
      {"PagaCupom", pagaCupom, true, false},
      {"EncerraDocumento", encerraDocumento, true, false},
      {"CancelaCupom", cancelaCupom, true, false},
      {"AbreCupomNaoFiscal", abreCupomNaoFiscal, true, false},
      {"EmiteItemNaoFiscal", emiteItemNaoFiscal, true, false},
      {"AbreCreditoDebito", abreCreditoDebito, true, false},
      {"AbreGerencial", abreGerencial, true, false},
      {"ImprimeTexto", imprimeTexto, true, false},
      {"AbreGaveta", abreGaveta, false, false},
      {"CortaPapel", cortaPapel, true, false},
      {"EmiteLeituraX", emiteLeituraX, true, false},
      {"EmiteReducaoZ", emiteReducaoZ, true, false},
      {"EmiteLeituraFitaDetalhe", emiteLeituraFitaDetalhe, true, false},
      {"AcertaHorarioVerao", acertaHorarioVerao, false, false},
  };
  return catalogue;
}

const CommandDefinition* findCommand(std::string_view name) {
  for (const CommandDefinition& definition : commandCatalogue()) {
    if (ecf::equalsIgnoreCase(definition.name, name)) return &definition;
  }
  return nullptr;
}

}  // namespace ecfsim

#include "core/commands.h"

#include "base/utf8.h"
#include "core/documents.h"

namespace ecfsim {

const std::vector<CommandDefinition>& commandCatalogue() {
  static const std::vector<CommandDefinition> catalogue = {
      {"LeInteiro", leInteiro, false},
      {"LeMoeda", leMoeda, false},
      {"LeData", leData, false},
      {"LeHora", leHora, false},
      {"LeTexto", leTexto, false},
      {"LeIndicador", leIndicador, false},
      {"LeAliquota", leAliquota, false},
      {"LeNaoFiscal", leNaoFiscal, false},
      {"LeMeioPagamento", leMeioPagamento, false},
      {"DefineNaoFiscal", defineNaoFiscal, false},
      {"DefineMeioPagamento", defineMeioPagamento, false},
      {"AbreCupomFiscal", abreCupomFiscal, true},
      {"VendaDeItem", vendaDeItem, true},
      {"CancelaItemFiscal", cancelaItemFiscal, true},
      {"AcresceSubtotal", acresceSubtotal, true},
      {"PagaCupom", pagaCupom, true},
      {"EncerraDocumento", encerraDocumento, true},
      {"CancelaCupom", cancelaCupom, true},
      {"AbreCupomNaoFiscal", abreCupomNaoFiscal, true},
      {"EmiteItemNaoFiscal", emiteItemNaoFiscal, true},
      {"AbreCreditoDebito", abreCreditoDebito, true},
      {"AbreGerencial", abreGerencial, true},
      {"ImprimeTexto", imprimeTexto, true},
      {"AbreGaveta", abreGaveta, false},
      {"CortaPapel", cortaPapel, true},
      {"EmiteLeituraX", emiteLeituraX, true},
      {"EmiteReducaoZ", emiteReducaoZ, true},
      {"EmiteLeituraFitaDetalhe", emiteLeituraFitaDetalhe, true},
      {"AcertaHorarioVerao", acertaHorarioVerao, false},
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

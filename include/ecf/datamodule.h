// The data module: the two message catalogues and the module's working datasets.
// A host may fill cdsParcProdutos before the operations that read it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ecf/dataset.h"
#include "ecf/export.h"

namespace ecf {

// A key-to-text catalogue. Lookup ignores letter case; the first of a duplicated key wins.
class ECF_API TMessages {
 public:
  TMessages() = default;
  // Rows of key, "|", text, one per line.
  explicit TMessages(std::string_view catalogue);
  // The text of the key's row; a missing key yields the key itself (and a debug-log line).
  std::string Msg(std::string_view key) const;
  bool contains(std::string_view key) const;
  std::size_t rowCount() const { return rows_.size(); }

 private:
  const std::string* find(std::string_view key) const;

  std::vector<std::pair<std::string, std::string>> rows_;
  // Upper-cased key to the position of its first row in rows_.
  std::unordered_map<std::string, std::size_t> byKey_;
};

class ECF_API TdtmEcf01600 {
 public:
  TdtmEcf01600();

  TMessages msgPadrao;
  TMessages msgPadrao2;

  Dataset cdsAliqImpFis{"cdsAliqImpFis"};
  Dataset cdsReceb{"cdsReceb"};
  Dataset cdsParcProdutos{"cdsParcProdutos"};
  Dataset cdsMovCaixa{"cdsMovCaixa"};
  Dataset cdsMovCaixaTef{"cdsMovCaixaTef"};
  Dataset cdsRecebAux{"cdsRecebAux"};
  Dataset cdsTipoRece{"cdsTipoRece"};
  Dataset cdsMovFecha{"cdsMovFecha"};
  Dataset cdsSangria{"cdsSangria"};
  Dataset cdsOperadorSup{"cdsOperadorSup"};
  Dataset cdsTipoReceAux{"cdsTipoReceAux"};
  Dataset cdsMovAbertura{"cdsMovAbertura"};
  Dataset cdsMovTot{"cdsMovTot"};
  Dataset cdsRedzAux01{"cdsRedzAux01"};
  Dataset cdsFormRedzAux01{"cdsFormRedzAux01"};
  Dataset cdsTotNFisAux01{"cdsTotNFisAux01"};
  Dataset cdsImpostoRedzAux01{"cdsImpostoRedzAux01"};
  Dataset cdsReducaoZ{"cdsReducaoZ"};
  Dataset cdsFormPgtoRedZ{"cdsFormPgtoRedZ"};
  Dataset cdsImpostoRedZ{"cdsImpostoRedZ"};
  Dataset cdsTotNFiscRedZ{"cdsTotNFiscRedZ"};
  Dataset cdsTeste{"cdsTeste"};
  Dataset cdsProdVend{"cdsProdVend"};
  Dataset cdsAliqProduto{"cdsAliqProduto"};
  Dataset cdsItemsReg{"cdsItemsReg"};
  Dataset cdsProdDeb{"cdsProdDeb"};
  Dataset cdsTipoReceHomolog{"cdsTipoReceHomolog"};
  Dataset cdsMesaAberZul{"cdsMesaAberZul"};
  Dataset cdsProdutoTransf{"cdsProdutoTransf"};
  Dataset cdsDadosPaf{"cdsDadosPaf"};
  Dataset cdsCheckECF{"cdsCheckECF"};
  Dataset cdsBuscaNrSerieEcf{"cdsBuscaNrSerieEcf"};
  Dataset cdsEmprestimo{"cdsEmprestimo"};
  Dataset cdsFamiliaSaldo{"cdsFamiliaSaldo"};
  Dataset cdsSaldCred{"cdsSaldCred"};
};

}  // namespace ecf

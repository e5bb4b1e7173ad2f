// The paper: documents laid out on 48 columns, in UTF-8, each starting with the
// separator line.
#include <chrono>

#include "base/utf8.h"
#include "core/tape.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

class Tape : public SimTest {};

std::string repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST_F(Tape, OneReceiptWithAnAccentedProductIsPrintedExactly) {
  openReceipt();
  ASSERT_EQ(sell("7891000100103", "Pão de queijo", "0", "3.50", "2.000").code, 0);
  ASSERT_EQ(sell("42", "Café expresso", "2", "4.00", "1").code, 0);
  ASSERT_EQ(send("CancelaItemFiscal", {{"NumItem", "2", kUInt}}).code, 0);
  ASSERT_EQ(send("AcresceSubtotal", {{"ValorAcrescimo", "-0.50", kMoney}}).code, 0);
  ASSERT_EQ(pay("Dinheiro", "10.00").code, 0);
  ASSERT_EQ(close("Obrigado pela preferência!\r\nVolte sempre\n", "Maria").code, 0);
  EXPECT_EQ(tape(),
            "================================================\n"
            "           EMPRESA DEMONSTRAÇÃO LTDA\n"
            "           AV. EXEMPLO, 1000 - CENTRO\n"
            "              CIDADE EXEMPLO - UF\n"
            "CNPJ:11.111.111/0001-11  IE:111.111.111.111\n"
            "IM:12345\n"
            "------------------------------------------------\n"
            "15/03/2024 10:00:00        CCF:000001 COO:000001\n"
            "                  CUPOM FISCAL\n"
            "ITEM CÓDIGO DESCRIÇÃO\n"
            "QTD. UN. VL.UNIT(R$) ST              VL.ITEM(R$)\n"
            "------------------------------------------------\n"
            "001 7891000100103 Pão de queijo\n"
            "    2,000 UN x 3,50 T00                     7,00\n"
            "002 42 Café expresso\n"
            "    1,000 UN x 4,00 T02                     4,00\n"
            "CANCELAMENTO DO ITEM 002                   -4,00\n"
            "SUBTOTAL R$                                 7,00\n"
            "DESCONTO R$                                -0,50\n"
            "TOTAL R$                                    6,50\n"
            "Dinheiro                                   10,00\n"
            "TROCO R$                                    3,50\n"
            "------------------------------------------------\n"
            "Obrigado pela preferência!\n"
            "Volte sempre\n"
            "Operador: Maria\n"
            "------------------------------------------------\n"
            "ECF VIRTUAL 01.00.00                     ECF:001\n"
            "FAB:VP000000000000000001                      BR\n");
}

TEST_F(Tape, EveryDocumentStartsWithTheSeparatorAndNoLinePassesFortyEightCharacters) {
  ASSERT_EQ(send("DefineNaoFiscal", {{"NomeNaoFiscal", "Sangria", kText},
                                     {"TipoNaoFiscal", "f", kInd}}).code, 0);
  openReceipt();
  ASSERT_EQ(sell("1", "Pão de queijo recheado com requeijão cremoso e orégano fresco da casa",
                 "0", "1234567.89", "3").code, 0);
  ASSERT_EQ(send("CancelaCupom").code, 0);
  ASSERT_EQ(send("EmiteItemNaoFiscal", {{"CodNaoFiscal", "0", kUInt},
                                        {"Valor", "2.00", kMoney}}).code, 0);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  ASSERT_EQ(send("AbreGerencial").code, 0);
  ASSERT_EQ(send("ImprimeTexto",
                 {{"TextoLivre",
                   "Açaí\n" + repeat("Ç", 55) + "\n\nfim",
                   kText}}).code, 0);
  ASSERT_EQ(send("EncerraDocumento").code, 0);
  ASSERT_EQ(send("EmiteLeituraX").code, 0);
  ASSERT_EQ(send("EmiteLeituraFitaDetalhe", {{"DataInicial", "15/03/24", kDate},
                                             {"DataFinal", "15/03/2024", kDate},
                                             {"Destino", "I", kText}}).code, 0);
  ASSERT_EQ(send("EmiteReducaoZ").code, 0);

  const std::string paper = tape();
  const auto documents = ecfsim::splitDocuments(paper);
  ASSERT_EQ(documents.size(), 6u);  // receipt, non-fiscal, report, X, detail reading, Z
  EXPECT_EQ(paper.rfind(std::string(48, '=') + "\n", 0), 0u);
  std::size_t lines = 0;
  for (const auto& document : documents) {
    for (const std::string& line : document) {
      ++lines;
      EXPECT_LE(ecf::charCount(line), 48u) << line;
      EXPECT_TRUE(ecf::isValidUtf8(line)) << line;
    }
  }
  EXPECT_GT(lines, 100u);
  // The long name wraps at a blank; a run of 55 "Ç" breaks after 48 characters.
  EXPECT_NE(paper.find("001 1 Pão de queijo recheado com requeijão\n"
                       "cremoso e orégano fresco da casa\n"
                       "    3,000 UN x 1.234.567,89 T00     3.703.703,67\n"),
            std::string::npos);
  EXPECT_NE(paper.find("Açaí\n" + repeat("Ç", 48) + "\n" + repeat("Ç", 7) + "\n\nfim\n"),
            std::string::npos);
  // The detail reading reprints the three documents of the day before it.
  EXPECT_EQ(documents[4].size() > documents[0].size() + documents[1].size(), true);
  EXPECT_NE(paper.find("                 FIM DA LEITURA\n"), std::string::npos);
}

TEST(TapeLayout, WrapCountsCharactersNotBytes) {
  EXPECT_EQ(ecfsim::wrapLine("abc def", 3), (std::vector<std::string>{"abc", "def"}));
  EXPECT_EQ(ecfsim::wrapLine("ãããã", 3), (std::vector<std::string>{"ããã", "ã"}));
  EXPECT_EQ(ecfsim::wrapLine("ããã ããã", 4), (std::vector<std::string>{"ããã", "ããã"}));
  EXPECT_EQ(ecfsim::wrapLine("", 48), (std::vector<std::string>{""}));
  ecfsim::Paper paper;
  paper.leftRight("Operação", "1,00");
  paper.centered("Ç");
  paper.freeText("a\r\n\r\nb\rc\n");
  EXPECT_EQ(paper.text(),
            "Operação                                    1,00\n"
            "                       Ç\n"
            "a\n\nb\nc\n");
}

// A line of a megabyte (words, then one endless word of accented letters) wraps whole,
// in linear time: the old quadratic wrap took half a minute here, under the module's lock.
TEST(TapeLayout, AMegabyteLineWrapsWholeInLinearTime) {
  std::string words;
  while (words.size() < 1'000'000) words += "palavra açúcar ";
  const std::string endless = repeat("ã", 500'000);
  for (const std::string& text : {words, endless}) {
    const auto started = std::chrono::steady_clock::now();
    const std::vector<std::string> lines = ecfsim::wrapLine(text);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(10)) << "a generous bound: linear takes milliseconds";
    std::string joined;
    for (const std::string& line : lines) {
      ASSERT_LE(ecf::charCount(line), ecfsim::kTapeWidth) << line;
      joined += line;
    }
    std::string compact = text;
    std::erase(compact, ' ');
    std::erase(joined, ' ');
    EXPECT_EQ(joined, compact);
    EXPECT_GE(lines.size(), ecf::charCount(text) / ecfsim::kTapeWidth);
  }
}

}  // namespace
}  // namespace simtest

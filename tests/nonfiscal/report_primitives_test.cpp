// Opening a management report, printing blocks into it and closing it: exactly one
// command each, sent with exactly the text given, and a refusal stops at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {
namespace {

using ReportPrimitivesTest = NonFiscalTest;

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST_F(ReportPrimitivesTest, OpeningAsksForReportZeroAndKeepsTheReturnedText) {
  EXPECT_TRUE(Relatorio_Gerencial_Imp("azul", "ignored", "ignored", ""));

  EXPECT_EQ(sentNames(), std::vector<std::string>{"AbreGerencial"});
  const RecordedCommand opening = onlyCommand("AbreGerencial");
  EXPECT_EQ(sentParams(opening), (std::vector<SentParam>{{"CodGerencial", "0", PARAMETRO_UINT}}));
  EXPECT_EQ(newDebugLines(), std::vector<std::string>{"Comando Executado: AbreGerencial"});
  EXPECT_EQ(std::string(stRetornoFuncao), opening.returned);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ReportPrimitivesTest, ARefusedOpeningIsShownAndNothingElseIsSent) {
  printer().refuseNext("AbreGerencial");

  EXPECT_FALSE(Relatorio_Gerencial_Imp("azul", "", "", ""));

  EXPECT_EQ(sentNames(), std::vector<std::string>{"AbreGerencial"});
  expectRefusalShown("azul");
  EXPECT_EQ(newDebugLines(),
            (std::vector<std::string>{"Comando Executado: AbreGerencial", kRefusalLogLine}));
  EXPECT_EQ(std::string(stRetornoFuncao), "");
}

TEST_F(ReportPrimitivesTest, PrintingSendsTheTextWholeAndUnchanged) {
  ASSERT_TRUE(Relatorio_Gerencial_Imp("", "", "", ""));
  printer().clearRecord();
  markLog();

  // 700 characters (more than the writers' 620-character cut), accents included.
  const std::string longText = repeat("Pão de queijo ", 50);
  EXPECT_TRUE(Usa_CompNFis("azul", longText));
  const RecordedCommand print = onlyCommand("ImprimeTexto");
  EXPECT_EQ(sentParams(print), (std::vector<SentParam>{{"TextoLivre", longText, PARAMETRO_STRING}}));

  // Line feeds and blanks at either end are not touched.
  const std::string lines = "  Linha 1\nLinha 2  \n\n";
  EXPECT_TRUE(Usa_CompNFis("azul", lines));
  EXPECT_EQ(printer().commandsNamed("ImprimeTexto").back().value("TextoLivre"), lines);

  EXPECT_TRUE(Usa_CompNFis("azul", "Total do dia"));
  const std::vector<std::string> log = newDebugLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Comando Executado: ImprimeTexto - TextoLivre - Total do dia");
  EXPECT_EQ(sentNames(), std::vector<std::string>(3, "ImprimeTexto"));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ReportPrimitivesTest, AnEmptyTextIsStillSentAsAnEmptyFreeText) {
  ASSERT_TRUE(Relatorio_Gerencial_Imp("", "", "", ""));
  printer().clearRecord();
  markLog();

  Usa_CompNFis("azul", "");  // whether an empty line is printed is the printer's decision

  const RecordedCommand print = onlyCommand("ImprimeTexto");
  EXPECT_EQ(sentParams(print), (std::vector<SentParam>{{"TextoLivre", "", PARAMETRO_STRING}}));
  const std::vector<std::string> log = newDebugLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "Comando Executado: ImprimeTexto - TextoLivre - ");
}

TEST_F(ReportPrimitivesTest, ClosingSendsNoParametersEvenWhenSomeWerePending) {
  ASSERT_TRUE(Relatorio_Gerencial_Imp("", "", "", ""));
  ASSERT_TRUE(Usa_CompNFis("", "RELATORIO DE CONFERENCIA\n"));
  printer().clearRecord();
  markLog();
  // A parameter left in the driver's list by someone else must not reach the closing.
  ASSERT_EQ(Ecf_DLLG2_AdicionaParam(inCanalSerial, "Operador", "Fulano", PARAMETRO_STRING), 0);

  EXPECT_TRUE(FechRelatGerenc("azul", true, false));

  EXPECT_TRUE(onlyCommand("EncerraDocumento").params.empty());
  EXPECT_EQ(newDebugLines(), std::vector<std::string>{"Comando Executado: EncerraDocumento"});
  EXPECT_NE(printer().tape().find("RELATORIO DE CONFERENCIA"), std::string::npos);
}

TEST_F(ReportPrimitivesTest, RefusedPrintingAndClosingReturnFalseAfterTheMessage) {
  ASSERT_TRUE(Relatorio_Gerencial_Imp("", "", "", ""));
  forgetWhatHappened();

  printer().refuseNext("ImprimeTexto");
  EXPECT_FALSE(Usa_CompNFis("verde", "linha"));
  expectRefusalShown("verde");
  EXPECT_EQ(newDebugLines(), (std::vector<std::string>{
                                 "Comando Executado: ImprimeTexto - TextoLivre - linha",
                                 kRefusalLogLine}));

  forgetWhatHappened();
  printer().refuseNext("EncerraDocumento");
  EXPECT_FALSE(FechRelatGerenc("verde", true, true));
  expectRefusalShown("verde");
  EXPECT_EQ(sentNames(), std::vector<std::string>{"EncerraDocumento"});
}

}  // namespace
}  // namespace ecftest

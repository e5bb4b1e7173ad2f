// Sending commands, judging them, and the debug log they leave.
#include <filesystem>
#include <fstream>

#include "support/module_fixture.h"

namespace ecftest {
namespace {

using CommandLayerTest = ModuleTest;

TEST_F(CommandLayerTest, AReadIsLoggedAsTheCommandThenTheValue) {
  ASSERT_TRUE(start());
  markLog();
  EXPECT_EQ("1", LeInteiro("ECF", false));
  EXPECT_EQ((std::vector<std::string>{"Comando Executado: LeInteiro - NomeInteiro - ECF",
                                      "Retorno Impressora: 1"}),
            newDebugLines());
  const RecordedCommand read = printer().commands().back();
  EXPECT_EQ("LeInteiro", read.name);
  ASSERT_EQ(1u, read.params.size());
  EXPECT_EQ("NomeInteiro", read.params[0].name);
  EXPECT_EQ("ECF", read.params[0].value);
  EXPECT_EQ(PARAMETRO_STRING, read.params[0].type);
}

TEST_F(CommandLayerTest, ARefusalIsLoggedWithCodeNameAndCircumstanceAndShownOnlyWhenAsked) {
  ASSERT_TRUE(start());
  op().clear();
  markLog();
  printer().refuseNext("LeInteiro", 12, "Erro de teste", "Circunstância do teste");
  EXPECT_EQ("", LeInteiro("COO", false));
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ((std::vector<std::string>{"Comando Executado: LeInteiro - NomeInteiro - COO",
                                      "12: Erro de teste - Circunstância do teste"}),
            newDebugLines());

  printer().refuseNext("LeInteiro", 12, "Erro de teste", "Circunstância do teste");
  EXPECT_EQ("", LeInteiro("COO", true));
  ASSERT_EQ(1u, op().messages().size());
  EXPECT_EQ("12: Erro de teste Circunstância do teste", op().messages()[0].text);
  EXPECT_EQ("N", op().messages()[0].letter1);
  EXPECT_EQ("N", op().messages()[0].letter2);
  EXPECT_EQ(3, op().messages()[0].kind);
}

TEST_F(CommandLayerTest, AnErrorWithoutNameOrCircumstanceStillKeepsItsSeparators) {
  ASSERT_TRUE(start());
  markLog();
  printer().refuseNext("LeInteiro", 7, "", "");
  LeInteiro("COO", false);
  EXPECT_EQ("7:  - ", newDebugLines().back());
}

TEST_F(CommandLayerTest, ANegativeExecutionResultWithoutAnErrorCodeIsASuccess) {
  ASSERT_TRUE(start());
  printer().scriptNextAnswer("LeInteiro", -5, 0, "ValorInteiro=42");
  EXPECT_EQ("42", LeInteiro("COO", true));
  EXPECT_EQ(-5, inRetornoFuncao);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(CommandLayerTest, EachMonthHasItsOwnLogFile) {
  setClock(ecf::DateTime::fromParts(2026, 1, 31, 23, 59, 0));
  ImpFisDebug("last line of January");
  setClock(ecf::DateTime::fromParts(2026, 2, 1, 0, 1, 0));
  ImpFisDebug("first line of February");

  std::ifstream january(hostDir_ + "impdebug0126.txt");
  std::ifstream february(hostDir_ + "impdebug0226.txt");
  std::string januaryLine, februaryLine;
  ASSERT_TRUE(std::getline(january, januaryLine));
  ASSERT_TRUE(std::getline(february, februaryLine));
  EXPECT_EQ("last line of January - 31/01/2026 23:59:00", januaryLine);
  EXPECT_EQ("first line of February - 01/02/2026 00:01:00", februaryLine);
  EXPECT_FALSE(std::getline(january, januaryLine));
}

TEST_F(CommandLayerTest, ALogThatCannotBeWrittenDoesNotStopTheCommand) {
  ASSERT_TRUE(start());
  // A regular file where the log's directory should be: every append fails.
  const std::string blocked = hostDir_ + "not-a-directory";
  std::ofstream(blocked) << "x";
  ecf_SetHostDirectory((blocked + "/sub").c_str());
  EXPECT_EQ("1", LeInteiro("ECF", false));
  ecf_SetHostDirectory(hostDir_.c_str());
}

TEST_F(CommandLayerTest, ParametersLeftByAnEarlierCommandNeverReachTheNext) {
  ASSERT_TRUE(start());
  LeInteiro("COO", false);
  LimpaParametros();
  EXPECT_STREQ("", stRetornoFuncao);
  EXPECT_EQ(0, inRetornoErro);
  LeMoeda("GT", false);
  const RecordedCommand read = printer().commands().back();
  ASSERT_EQ(1u, read.params.size());
  EXPECT_EQ("NomeDadoMonetario", read.params[0].name);
}

TEST_F(CommandLayerTest, AnOperationWithThePortClosedFailsWithoutReachingTheDriver) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(FechaPorta());
  printer().clearRecord();
  markLog();
  EXPECT_EQ("", LeInteiro("COO", true));
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(std::vector<std::string>{"ERRO!!! LeInteiro: porta da impressora fiscal fechada "
                                     "(LimpaParams)"},
            newDebugLines());
}

TEST_F(CommandLayerTest, AnOperationAfterStopImpFiscalSaysTheDriverIsUnbound) {
  ASSERT_TRUE(start());
  StopImpFiscal();  // the port stays open; only the driver's entries are gone
  printer().clearRecord();
  markLog();
  EXPECT_EQ("", LeInteiro("COO", true));
  EXPECT_TRUE(printer().commands().empty());
  EXPECT_TRUE(op().messages().empty());
  EXPECT_EQ(std::vector<std::string>{"ERRO!!! LeInteiro: funções do driver da impressora fiscal "
                                     "desvinculadas (LimpaParams)"},
            newDebugLines());
}

TEST_F(CommandLayerTest, AnOperationBeforeAnyStartUpFailsQuietly) {
  StopImpFiscal();
  EXPECT_EQ("", LeMoeda("GT", true));
  EXPECT_FALSE(LeIndicadores(8));
  EXPECT_TRUE(op().messages().empty());
}

}  // namespace
}  // namespace ecftest

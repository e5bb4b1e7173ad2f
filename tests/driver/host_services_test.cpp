// What every operation shares: the catalogues, the data module, and the guard that keeps
// errors from reaching the host.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/dateformat.h"
#include "base/env.h"
#include "base/utf8_path.h"
#include "platform/test_platform.h"
#include "support/module_fixture.h"

namespace ecftest {
namespace {

using HostServicesTest = ModuleTest;

TEST_F(HostServicesTest, CatalogueLookupIgnoresCaseAndTheFirstDuplicateWins) {
  ASSERT_TRUE(start());
  ASSERT_NE(nullptr, dtmEcf01600);
  const ecf::TMessages& messages = dtmEcf01600->msgPadrao;
  EXPECT_EQ("Data da impressora fiscal difere da data do sistema em mais de 15 minutos.",
            messages.Msg("Datadif"));
  EXPECT_EQ("Relatorios", messages.Msg("RELATORIO"));
  EXPECT_EQ("Alíquota não cadastrada na impressora fiscal.", messages.Msg("AliqNaoCad"));
  EXPECT_EQ("RELATORIO DE FECHAMENTO GERAL", messages.Msg("relFechamentoGeral"));
  EXPECT_EQ("Erro ao configurar o driver da impressora fiscal.",
            dtmEcf01600->msgPadrao2.Msg("Erro_Configura_Driver_DT"));
}

TEST_F(HostServicesTest, AMissingKeyYieldsTheKeyAndALogLine) {
  ASSERT_TRUE(start());
  markLog();
  EXPECT_EQ("ChaveInexistente", dtmEcf01600->msgPadrao.Msg("ChaveInexistente"));
  const std::vector<std::string> lines = newDebugLines();
  ASSERT_EQ(1u, lines.size());
  EXPECT_NE(std::string::npos, lines[0].find("ChaveInexistente"));
}

TEST_F(HostServicesTest, ACatalogueBuiltByAHostFollowsTheSameRules) {
  const ecf::TMessages messages("# comment\nUm|primeiro\nUM|segundo\nDois|com espaço \r\n");
  EXPECT_EQ(3u, messages.rowCount());
  EXPECT_EQ("primeiro", messages.Msg("um"));
  EXPECT_EQ("com espaço ", messages.Msg("DOIS"));
}

// Lookup folds letter case, accented letters included, but never drops an accent.
TEST_F(HostServicesTest, CatalogueKeysFoldCaseButKeepAccents) {
  const ecf::TMessages messages("Relatório|com acento\nRelatorio|sem acento\nrelatório|repetido\n"
                                "Ação|primeira\n");
  const std::vector<std::pair<std::string, std::string>> lookups = {
      {"RELATÓRIO", "com acento"}, {"relatório", "com acento"}, {"RELATORIO", "sem acento"},
      {"AÇÃO", "primeira"},        {"acao", "acao"},             {"Relatóri", "Relatóri"},
      {"", ""}};
  for (const auto& [key, text] : lookups) {
    EXPECT_EQ(text, messages.Msg(key)) << key;
    EXPECT_EQ(text != key, messages.contains(key)) << key;
  }
}

// The log goes wherever the host directory is at the moment: the executable's directory
// when the host sets none, and the new one at once when the host sets it again.
TEST_F(HostServicesTest, TheLogFollowsEveryChangeOfTheHostDirectory) {
  const std::string executableDir = ecf::withTrailingSeparator(
      ecf::utf8FromPath(testplatform::currentProgram().parent_path()));
  const std::string logName =
      "impdebug" + ecf::formatDateTime("MMYY", clock(), ecf::HostSettings{}) + ".txt";
  const bool hadLog = std::filesystem::exists(ecf::pathFromUtf8(executableDir + logName));
  const std::string otherDir = hostDir_ + "outro/";
  std::filesystem::create_directory(otherDir);
  const auto logged = [&](const std::string& directory, const std::string& text) {
    std::ifstream in(ecf::pathFromUtf8(directory + logName), std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(in)), {});
    return contents.find(text) != std::string::npos;
  };

  ecf_SetHostDirectory("");
  EXPECT_EQ(executableDir, dsDirCad);
  ImpFisDebug("linha no executável");
  ecf_SetHostDirectory(otherDir.c_str());
  EXPECT_EQ(otherDir, dsDirCad);
  ImpFisDebug("linha no outro");
  ecf_SetHostDirectory("");
  ImpFisDebug("linha de volta ao executável");
  ecf_SetHostDirectory(hostDir_.c_str());
  ImpFisDebug("linha no do teste");

  EXPECT_TRUE(logged(executableDir, "linha no executável"));
  EXPECT_TRUE(logged(executableDir, "linha de volta ao executável"));
  EXPECT_FALSE(logged(executableDir, "linha no outro"));
  EXPECT_TRUE(logged(otherDir, "linha no outro"));
  EXPECT_FALSE(logged(otherDir, "linha de volta ao executável"));
  EXPECT_TRUE(logged(hostDir_, "linha no do teste"));
  if (!hadLog) std::filesystem::remove(ecf::pathFromUtf8(executableDir + logName));
}

TEST_F(HostServicesTest, AnErrorInsideAnOperationBecomesItsFailureResultAndANotice) {
  ASSERT_TRUE(start());
  op().clear();
  markLog();
  // Not a bag at all: the read of its first field fails inside the operation.
  EXPECT_FALSE(Atu_TotGeral(ecf::Variant(42)));
  ASSERT_EQ(1u, op().messages().size());
  EXPECT_EQ(3, op().messages()[0].kind);
  EXPECT_EQ("N", op().messages()[0].letter1);
  EXPECT_EQ("N", op().messages()[0].letter2);
  const std::vector<std::string> lines = newDebugLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(0u, lines.back().find("ERRO!!! Atu_TotGeral: "));
}

TEST_F(HostServicesTest, WithoutAnOperatorNoticesGoToTheLog) {
  ecf_SetOperator(nullptr);
  printer().refuseOpening(true);
  markLog();
  EXPECT_FALSE(start());
  EXPECT_TRUE(logContains("Mensagem sem operador: Erro ao abrir porta de comunicação. 16: "
                          "AberturaRecusada Abertura da porta recusada (ecfsim_refuse_open)."));
}

TEST_F(HostServicesTest, TheHostDirectoryIsPublishedWithItsSeparator) {
  EXPECT_EQ(hostDir_, dsDirCad);
  EXPECT_EQ(ecf::pathSeparator(), dsDirCad.back());
}

}  // namespace
}  // namespace ecftest

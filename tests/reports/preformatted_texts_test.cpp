// Bill checks and exchange vouchers laid out by the host: printed whole, in blocks cut at
// line boundaries once they reach 500 characters, with nothing added or lost; the bill
// check also hands back the report's receipt counter.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "reports/reports_fixture.h"

namespace ecftest {
namespace {

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// A line of exactly 60 characters with its line feed.
std::string line60(char mark) { return std::string(59, mark) + "\n"; }

using PreformattedTextTest = ReportTest;

// Either printing operation, as the host calls it.
using PrintDocument = std::function<bool(const std::string& scheme, const std::string& text)>;

struct Printer {
  const char* name;
  PrintDocument print;
};

std::vector<Printer> bothOperations() {
  return {{"Conferencia_Formatada",
           [](const std::string& scheme, const std::string& text) {
             std::string counter;
             return Conferencia_Formatada(scheme, "", "", "", counter, text);
           }},
          {"Cupom_Troca", [](const std::string& scheme, const std::string& text) {
             return Cupom_Troca(scheme, "", "", text);
           }}};
}

TEST_F(PreformattedTextTest, BillCheckIsPrintedAsSentAndHandsBackTheReportsCounter) {
  const std::string document =
      "          CONFERÊNCIA DE MESA\n"
      "Mesa 0012  Garçom: João\n"
      "------------------------------------------------\n"
      "2 x Café com leite                         13,00\n"
      "1 x Filé à parmegiana                      59,90\n"
      "Total                                     72,90";
  std::string counter = "stale";

  EXPECT_TRUE(Conferencia_Formatada("azul", "x", "y", "z", counter, document));

  EXPECT_EQ(sentNames(), (std::vector<std::string>{"AbreGerencial", "LeInteiro", "ImprimeTexto",
                                                   "EncerraDocumento"}));
  EXPECT_EQ(printer().commandsNamed("LeInteiro")[0].value("NomeInteiro"), "COO");
  // The counter read after the opening is the report's own.
  EXPECT_EQ(counter.size(), 6u);
  EXPECT_EQ(counter, Nr_Cupom("", "azul"));
  EXPECT_EQ(printedTexts(), std::vector<std::string>{document});
  EXPECT_NE(printer().tape().find("Garçom: João"), std::string::npos);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(PreformattedTextTest, DocumentsAreCutAtLineFeedsOnceABlockReaches500Characters) {
  struct Case {
    const char* what;
    std::string document;
    std::vector<std::string> blocks;
  };
  std::string nineLines;
  for (char mark = 'a'; mark < 'j'; ++mark) nineLines += line60(mark);
  // Accented lines: 60 characters each, more bytes.
  const std::string accented = repeat("ç", 59) + "\n";
  const std::vector<Case> cases = {
      {"empty document", "", {}},
      {"10 lines of 60: 540 characters, then the last line", nineLines + line60('j'),
       {nineLines, line60('j')}},
      {"accented lines count characters", repeat(accented, 10),
       {repeat(accented, 9), accented}},
      {"no line feed at all: one block however long", std::string(800, 'x'),
       {std::string(800, 'x')}},
      {"the last line keeps having no line feed", "Troca em até 30 dias\nLoja Centro",
       {"Troca em até 30 dias\nLoja Centro"}},
  };
  for (const Printer& operation : bothOperations()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(operation.name) + ": " + c.what);
      forgetWhatHappened();
      EXPECT_TRUE(operation.print("azul", c.document));
      EXPECT_EQ(printedTexts(), c.blocks);
      EXPECT_EQ(sentNames().front(), "AbreGerencial");
      EXPECT_EQ(sentNames().back(), "EncerraDocumento");
    }
  }
}

TEST_F(PreformattedTextTest, TheResultIsTheClosingsWhateverHappenedBefore) {
  const std::string document = repeat(line60('m'), 12);
  for (const Printer& operation : bothOperations()) {
    SCOPED_TRACE(operation.name);

    // A refused block: the rest is still printed and the closing decides.
    forgetWhatHappened();
    printer().refuseNext("ImprimeTexto");
    EXPECT_TRUE(operation.print("verde", document));
    EXPECT_EQ(printer().commandsNamed("ImprimeTexto").size(), 2u);
    ASSERT_EQ(op().messages().size(), 1u);
    EXPECT_EQ(op().messages()[0].scheme, "verde");

    // A refused closing: false, after the printer's error was shown.
    forgetWhatHappened();
    printer().refuseNext("EncerraDocumento");
    EXPECT_FALSE(operation.print("verde", document));
    EXPECT_EQ(op().texts(), std::vector<std::string>{kRefusalNotice});
    FechRelatGerenc("", true, true);

    // A refused opening: the blocks and the closing are still sent.
    forgetWhatHappened();
    printer().refuseNext("AbreGerencial");
    operation.print("verde", document);
    EXPECT_EQ(printer().commandsNamed("ImprimeTexto").size(), 2u);
    EXPECT_EQ(sentNames().back(), "EncerraDocumento");
    EXPECT_EQ(op().texts().front(), kRefusalNotice);
  }
}

TEST_F(PreformattedTextTest, GenericCategoryGenerationDoesNothingAndSucceeds) {
  const std::vector<ecf::Variant> values = {"1", 2.5};
  ecf::StringList list{"linha 1", "linha 2"};

  EXPECT_TRUE(GeraCatGenerica(values.data(), 1, 7, list));

  EXPECT_EQ(list.items(), (std::vector<std::string>{"linha 1", "linha 2"}));
  EXPECT_TRUE(sentNames().empty());
  EXPECT_TRUE(op().messages().empty());
}

}  // namespace
}  // namespace ecftest

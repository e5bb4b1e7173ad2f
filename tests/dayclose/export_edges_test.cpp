// The Z data export at its edges: the order of the reads, counters and rates that need
// care, slots the printer refuses, a stop at every stage, a bad host table, the host's
// directories, and a second export in the same session.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/env.h"
#include "base/utf8_path.h"
#include "dayclose/dayclose_fixture.h"

namespace ecftest {
namespace {

using Lines = std::vector<std::string>;

std::size_t count(const ecf::Dataset& dataset) { return dataset.data().rowCount(); }

bool contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

using ZExportEdges = DayCloseTest;

TEST_F(ZExportEdges, ReadsTheCountersAndTotalsInTheOrderOfTheDayRecord) {
  ZDatasets z;
  ASSERT_TRUE(exportDay(z));
  const Lines log = newDebugLines();
  const Lines expectedStart = {
      "Comando Executado: LeInteiro - NomeInteiro - COO",
      "Retorna Impressora: 000000",
      "Comando Executado: LeData - DataAbertura",
      "Retorno da Impressora : 000000",
      "Comando Executado: LeInteiro - NomeInteiro - GNF",
      "Retorno Impressora: 0",
      "Comando Executado: LeInteiro - NomeInteiro - CRZ",
      "Retorno Impressora: 0",
      "Comando Executado: LeInteiro - NomeInteiro - CRZ",
      "Retorno Impressora: 0",
      "Comando Executado: LeInteiro - NomeInteiro - ContadorReinicioReducao[0]",
      "Retorno Impressora: 1",
      "Comando Executado: LeInteiro - NomeInteiro - CFC",
      "Retorno Impressora: 0",
      "Comando Executado: LeInteiro - NomeInteiro - COOInicioDia",
      "Retorno Impressora: 0",
  };
  ASSERT_GE(log.size(), expectedStart.size());
  EXPECT_EQ(Lines(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(expectedStart.size())),
            expectedStart);
  Lines money;
  for (const RecordedCommand& read : printer().commandsNamed("LeMoeda")) {
    money.push_back(read.value("NomeDadoMonetario"));
  }
  const Lines expectedMoney = {"TotalDiaVendaBruta",
                               "TotalDiaCancelamentosICMS",
                               "TotalDiaDescontos",
                               "TotalDiaImpostoISSQN",
                               "TotalDiaAcrescimos",
                               "TotalDiaVendaLiquida",
                               "GT",
                               "TotalDiaSubstituicaoTributariaICMS",
                               "TotalDiaIsencaoICMS",
                               "TotalDiaNaoTributadoICMS",
                               "TotalDiaDinheiro",
                               "TotalDiaMeioPagamento[0]",
                               "TotalDiaMeioPagamento[1]",
                               "TotalDiaMeioPagamento[2]",
                               "TotalDiaImpostoAliquota[0]"};
  ASSERT_GE(money.size(), expectedMoney.size());
  EXPECT_EQ(Lines(money.begin(), money.begin() + static_cast<std::ptrdiff_t>(expectedMoney.size())),
            expectedMoney);
  // Table reads name their slot only; a free slot is skipped after its refusal is logged.
  const RecordedCommand method = printer().commandsNamed("LeMeioPagamento").front();
  EXPECT_EQ(sentParams(method),
            (std::vector<SentParam>{{"CodMeioPagamentoProgram", "0", PARAMETRO_UINT}}));
  EXPECT_EQ(printer().commandsNamed("LeMeioPagamento").size(), 15u);
  EXPECT_EQ(sentParams(printer().commandsNamed("LeNaoFiscal").at(14)),
            (std::vector<SentParam>{{"CodNaoFiscal", "14", PARAMETRO_UINT}}));
  EXPECT_EQ(sentParams(printer().commandsNamed("LeAliquota").at(3)),
            (std::vector<SentParam>{{"CodAliquotaProgramavel", "3", PARAMETRO_UINT}}));
  EXPECT_TRUE(contains(log, "Comando Executado: LeMeioPagamento - CodMeioPagamentoProgram - 4"));
  EXPECT_TRUE(contains(log, "32: MeioPagamentoNaoProgramado - Meio de pagamento 4 não programado."));
  EXPECT_TRUE(contains(log, "Comando Executado: LeAliquota - CodAliquotaProgramavel - 14"));
  EXPECT_TRUE(contains(log, "Comando Executado: LeNaoFiscal - CodNaoFiscal - 0"));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ZExportEdges, NextCounterRatesAndSlotsAsThePrinterAnswers) {
  // 100,00 at 18 %: a tax of 18,00 on a base of 100.
  openReceipt();
  sell("0", "100,00");
  pay("Dinheiro", "100,00");
  closeReceipt();

  struct Case {
    const char* what;
    void (*prepare)(VirtualPrinter&);
    Lines taxSlots;
    std::vector<double> slot0;  // rate, base, tax
    std::string nextCoo;
  };
  const std::vector<Case> cases = {
      {"as the printer answers", [](VirtualPrinter&) {}, {"00", "01", "02", "03", "04"},
       {18.00, 100.00, 18.00}, "0000000002"},
      {"COO 000123 gives the next counter 124",
       [](VirtualPrinter& p) { p.scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=123"); },
       {"00", "01", "02", "03", "04"}, {18.00, 100.00, 18.00}, "0000000124"},
      {"a refused slot leaves no row; the others keep their numbers",
       [](VirtualPrinter& p) { p.refuseNth(2, "LeAliquota"); }, {"00", "02", "03", "04"},
       {18.00, 100.00, 18.00}, "0000000002"},
      {"a zero rate has a zero base",
       [](VirtualPrinter& p) {
         p.scriptNextAnswer("LeAliquota", 0, 0,
                            "AliquotaICMS=Y CodAliquotaProgramavel=00 PercentualAliquota=0,00");
       },
       {"00", "01", "02", "03", "04"}, {0.00, 0.00, 18.00}, "0000000002"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.prepare(printer());
    ZDatasets z;
    EXPECT_TRUE(exportDay(z));
    EXPECT_EQ(rows(z.day, {"NRULTCFREDZ"}), std::vector<Lines>{{c.nextCoo}});
    Lines slots;
    for (const Lines& row : rows(z.taxes, {"CDALIQIMPRZ"})) slots.push_back(row[0]);
    EXPECT_EQ(slots, c.taxSlots);
    EXPECT_DOUBLE_EQ(number(z.taxes, 0, "VRALIQIMPRZ"), c.slot0[0]);
    EXPECT_DOUBLE_EQ(number(z.taxes, 0, "VRBCALCIMPRZ"), c.slot0[1]);
    EXPECT_DOUBLE_EQ(number(z.taxes, 0, "VRIMPOSTORZ"), c.slot0[2]);
  }
}

TEST_F(ZExportEdges, PaymentTotalsFollowTheHostsNamesOnly) {
  openReceipt();
  sell("0", "30,00");
  pay("Cartão", "10,00");
  pay("Cheque", "5,00");
  pay("Dinheiro", "15,00");
  closeReceipt();

  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> hostTypes;
    void (*prepare)(VirtualPrinter&);
    std::vector<std::pair<std::string, double>> rows;
    bool readsCash;
  };
  const std::vector<Case> cases = {
      {"no host type DINHEIRO: the cash total is not exported",
       {{"002", "cartao"}, {"003", "CHEQUE "}}, [](VirtualPrinter&) {},
       {{"002", 10.00}, {"003", 5.00}}, false},
      {"a printer method the printer will not read is left out",
       {{"001", "Dinheiro"}, {"002", "Cartão"}, {"003", "Cheque"}},
       [](VirtualPrinter& p) { p.refuseNth(2, "LeMeioPagamento"); },
       {{"001", 15.00}, {"002", 10.00}}, true},
      {"a host code longer than the field is matched as kept",
       {{"0021", "CARTÃO"}}, [](VirtualPrinter&) {}, {{"002", 10.00}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.prepare(printer());
    forget();
    ZDatasets z;
    EXPECT_TRUE(exportDay(z, paymentTypes(c.hostTypes)));
    ASSERT_EQ(count(z.payments), c.rows.size());
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
      EXPECT_EQ(rows(z.payments, {"CDTIPORECE"})[r][0], c.rows[r].first);
      EXPECT_DOUBLE_EQ(number(z.payments, r, "VRFORMPGTORZ"), c.rows[r].second);
    }
    EXPECT_EQ(contains(newDebugLines(),
                       "Comando Executado: LeMoeda - NomeDadoMonetario - TotalDiaDinheiro"),
              c.readsCash);
  }
}

TEST_F(ZExportEdges, AStopAtAnyStageKeepsWhatWasBuiltAndReturnsFalse) {
  struct Case {
    const char* what;
    void (*fault)(VirtualPrinter&);
    std::vector<std::size_t> rowCounts;  // day, payments, taxes, non-fiscal
    std::string logLine;
  };
  // Reads of money, in order: 10 for the day, the cash, the three card and cheque methods,
  // five rates, then the totalizers.
  const std::vector<Case> cases = {
      {"a day total unreadable", [](VirtualPrinter& p) { p.refuseNth(3, "LeMoeda"); },
       {0, 0, 0, 0}, "registrador TotalDiaDescontos não lido"},
      {"a day counter unreadable", [](VirtualPrinter& p) { p.refuseNth(2, "LeInteiro"); },
       {0, 0, 0, 0}, "registrador GNF não lido"},
      {"a day total that is not a number",
       [](VirtualPrinter& p) { p.scriptNextAnswer("LeMoeda", 0, 0, "ValorMoeda=1x2,00"); },
       {0, 0, 0, 0}, "registrador TotalDiaVendaBruta com valor '1x2,00', que não é um número"},
      {"a payment total unreadable", [](VirtualPrinter& p) { p.refuseNth(13, "LeMoeda"); },
       {1, 2, 0, 0}, "registrador TotalDiaMeioPagamento[1] não lido"},
      {"a tax total unreadable", [](VirtualPrinter& p) { p.refuseNth(16, "LeMoeda"); },
       {1, 3, 1, 0}, "registrador TotalDiaImpostoAliquota[1] não lido"},
      {"a rate that is not a number",
       [](VirtualPrinter& p) {
         p.scriptNextAnswer("LeAliquota", 0, 0,
                            "AliquotaICMS=Y CodAliquotaProgramavel=00 PercentualAliquota=ab,cd");
       },
       {1, 3, 0, 0}, "alíquota 00 com valor 'ab,cd', que não é um número"},
      {"a non-fiscal total unreadable, its row half filled",
       [](VirtualPrinter& p) { p.refuseNth(21, "LeMoeda"); }, {1, 3, 5, 1},
       "registrador TotalDiaNaoFiscal[1] não lido"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    printer().clearRecord();
    c.fault(printer());
    markLog();
    ZDatasets z;
    EXPECT_FALSE(exportDay(z));
    EXPECT_EQ((std::vector<std::size_t>{count(z.day), count(z.payments), count(z.taxes),
                                        count(z.nonFiscal)}),
              c.rowCounts);
    // Whatever was built, the host gets the four layouts.
    EXPECT_TRUE(z.day.hasField("NRULTCFREDZ"));
    EXPECT_TRUE(z.nonFiscal.hasField("VRACUTOTNFIS"));
    EXPECT_TRUE(op().messages().empty());
    // The building ends at the stop: nothing is read after it.
    const Lines log = newDebugLines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "ExportRedZ interrompida: " + c.logLine);
  }
}

TEST_F(ZExportEdges, AnUnreadableCounterOfReceiptsExportsNothing) {
  ZDatasets z;
  // What the host had is left as it was.
  z.payments.setData(ecf::DataPacket({{"CDTIPORECE", ecf::FieldType::Text, 3}}, {{"999"}}));
  printer().refuseNext("LeInteiro");
  EXPECT_FALSE(exportDay(z));
  EXPECT_EQ(printer().commandNames(), Lines{"LeInteiro"});
  EXPECT_EQ(rows(z.payments, {"CDTIPORECE"}), std::vector<Lines>{{"999"}});
  EXPECT_FALSE(z.day.active());
  EXPECT_TRUE(contains(newDebugLines(), "ExportRedZ interrompida: COO não lido; nada foi exportado"));

  // With the port closed the same: false, nothing copied, no word to the operator.
  ASSERT_TRUE(FechaPorta());
  markLog();
  EXPECT_FALSE(exportDay(z));
  EXPECT_EQ(rows(z.payments, {"CDTIPORECE"}), std::vector<Lines>{{"999"}});
  const Lines log = newDebugLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().rfind("ExportRedZ interrompida: COO não lido (", 0), 0u) << log.back();
  EXPECT_EQ(DataMoviFiscal(kScheme), ecf::DateTime::fromParts(2026, 12, 8));
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(ZExportEdges, AHostTableWithoutTheNamesIsRefusedBeforeAnythingIsRead) {
  ecf::Dataset types("types");
  types.setData(ecf::DataPacket({{"CDTIPORECE", ecf::FieldType::Text, 3}}, {{"001"}}));
  ZDatasets z;
  EXPECT_FALSE(exportDay(z, types));
  EXPECT_TRUE(printer().commands().empty());
  const std::string text =
      "Os tipos de recebimento não têm o campo NMTIPORECE: os dados da redução Z não foram "
      "exportados.";
  ASSERT_EQ(op().texts(), Lines{text});
  EXPECT_EQ(op().messages()[0].scheme, kScheme);
  EXPECT_TRUE(contains(newDebugLines(), "ExportRedZ interrompida: " + text));
}

TEST_F(ZExportEdges, TheHostsDirectoriesAreMadeReadyOrTheOperatorIsTold) {
  const std::string data = hostDir_ + "Dados";
  const std::string reductions = data + ecf::pathSeparator() + "Reduções";
  ZDatasets z;
  ASSERT_TRUE(exportDay(z));
  EXPECT_TRUE(std::filesystem::is_directory(ecf::pathFromUtf8(reductions)));
  EXPECT_TRUE(op().messages().empty());

  // A file where the directory should be: both are reported, the export goes on.
  std::filesystem::remove_all(ecf::pathFromUtf8(data));
  std::ofstream(ecf::pathFromUtf8(data)) << "not a directory";
  ZDatasets again;
  EXPECT_TRUE(exportDay(again));
  EXPECT_EQ(op().texts(), (Lines{"Não foi possível criar o diretório: " + data,
                                 "Não foi possível criar o diretório: " + reductions}));
  for (const auto& message : op().messages()) {
    EXPECT_EQ(message.scheme, "002");
    EXPECT_EQ(message.kind, 3);
    EXPECT_EQ(message.letter2, "N");
  }
  EXPECT_EQ(count(again.day), 1u);
}

TEST_F(ZExportEdges, ASecondExportStartsFromEmptyDatasets) {
  openReceipt();
  sell("0", "10,00");
  pay("Cartao", "10,00");
  closeReceipt();
  ZDatasets z;
  ASSERT_TRUE(exportDay(z));
  ASSERT_EQ(count(z.payments), 3u);
  EXPECT_DOUBLE_EQ(number(z.payments, 1, "VRFORMPGTORZ"), 10.00);

  openReceipt();
  sell("0", "2,50");
  pay("Cartão", "2,50");
  closeReceipt();
  ASSERT_TRUE(exportDay(z, paymentTypes(), "0008"));
  EXPECT_EQ(count(z.day), 1u);
  EXPECT_EQ(rows(z.day, {"NRECFREDZ", "NRULTCFREDZ"}),
            (std::vector<Lines>{{"0008", "0000000003"}}));
  EXPECT_EQ(count(z.taxes), 5u);
  ASSERT_EQ(count(z.payments), 3u);
  EXPECT_DOUBLE_EQ(number(z.payments, 1, "VRFORMPGTORZ"), 12.50);
  EXPECT_DOUBLE_EQ(number(z.day, 0, "VRVENBRUREDZ"), 12.50);
}

}  // namespace
}  // namespace ecftest

// Starting the printer session: the port, the clock check, a pending receipt, the
// grand-total file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "driver/startup_fixture.h"

namespace ecftest {
namespace {

TEST_F(StartUpTest, AClockUpToFifteenMinutesOffPasses) {
  printer().setClock(clock().addMinutes(-15));
  EXPECT_TRUE(start());
  EXPECT_TRUE(boImpFiscalOK);
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(StartUpTest, AClockMoreThanFifteenMinutesOffFailsTheStartUp) {
  for (const long long minutes : {-16LL, 65LL, 24LL * 60 + 5, -24LL * 60}) {
    SCOPED_TRACE(minutes);
    op().clear();
    printer().setClock(clock().addMinutes(minutes));
    EXPECT_FALSE(start());
    ASSERT_EQ(1u, op().texts().size());
    EXPECT_EQ(kClockOff, op().texts()[0]);
    FechaPorta();
  }
}

TEST_F(StartUpTest, TheClockDistanceCountsSecondsOnBothSides) {
  // Both clocks stand at a half minute (and just before a whole one): the printer's
  // seconds count as much as the computer's, ahead or behind.
  for (const int seconds : {30, 59}) {
    for (const long long minutes : {15LL, -15LL, 16LL, -16LL}) {
      SCOPED_TRACE(std::to_string(minutes) + " min at :" + std::to_string(seconds));
      op().clear();
      setClock(ecf::DateTime::fromParts(2026, 12, 8, 10, 0, seconds));
      printer().setClock(clock().addMinutes(minutes));
      const bool passes = minutes == 15 || minutes == -15;
      EXPECT_EQ(passes, start());
      EXPECT_EQ(passes ? std::vector<std::string>{} : std::vector<std::string>{kClockOff},
                op().texts());
      FechaPorta();
    }
  }
}

TEST_F(StartUpTest, TheClockCheckReadsDateAndTimeThenClosesWhateverWasOpen) {
  ASSERT_TRUE(start());
  const std::vector<std::string> expected = {"LeData", "LeHora", "EncerraDocumento",
                                             "LeInteiro"};
  EXPECT_EQ(expected, printer().commandNames());
  EXPECT_TRUE(logContains("Comando Executado: LeData - Data"));
  EXPECT_TRUE(logContains("Comando Executado: LeHora - Hora"));
  EXPECT_TRUE(logContains("Comando Executado: LeInteiro - NomeInteiro - EstadoFiscal"));
  EXPECT_EQ("hora", printer().commandsNamed("LeHora")[0].value("NomeHora"));
}

TEST_F(StartUpTest, TheMovementDateComesFromItsTextOrIsToday) {
  ASSERT_TRUE(start());
  ecf::DateTime date;
  EXPECT_TRUE(VerificaData("001", date, "", "311299", false));
  EXPECT_EQ(ecf::DateTime::fromParts(clock().year() / 100 * 100 + 99, 12, 31), date);
  EXPECT_TRUE(VerificaData("001", date, "", "", false));
  EXPECT_EQ(clock().date(), date);
  EXPECT_TRUE(VerificaData("001", date, "", "99x", false));
  EXPECT_EQ(clock().date(), date);
}

TEST_F(StartUpTest, ThePrinterDateTimeIsReadInEitherLayout) {
  ASSERT_TRUE(start());
  ecf::DateTime date;
  // ddmmyy + hhmmss and dd/mm/yyyy + hh:mm:ss, both ten minutes behind: within tolerance.
  const ecf::DateTime behind = clock().addMinutes(-10);
  char compact[32], spelled[40];
  std::snprintf(compact, sizeof compact, "%02d%02d%02d%02d%02d00", behind.day(), behind.month(),
                behind.year() % 100, behind.hour(), behind.minute());
  std::snprintf(spelled, sizeof spelled, "%02d/%02d/%04d%02d:%02d:00", behind.day(),
                behind.month(), behind.year(), behind.hour(), behind.minute());
  EXPECT_TRUE(VerificaData("001", date, compact, "", false));
  EXPECT_TRUE(VerificaData("001", date, spelled, "", false));
  // An unreadable printer date-time is logged and does not fail the check.
  markLog();
  EXPECT_TRUE(VerificaData("001", date, "garbage!!!", "", false));
  EXPECT_FALSE(newDebugLines().empty());
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(StartUpTest, APendingFiscalReceiptIsCancelledAndTheGrandTotalRecorded) {
  for (const char* state : {"2", "4", "8"}) {
    SCOPED_TRACE(state);
    writeGrandTotalFile("S", "0");
    printer().clearRecord();
    printer().scriptNextAnswer("LeInteiro", 0, 0, std::string("ValorInteiro=") + state);
    printerGrandTotalIs("1.234,50");
    ASSERT_TRUE(start());
    const std::vector<std::string> names = printer().commandNames();
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ("CancelaCupom", names[4]);
    EXPECT_TRUE(printer().commands()[4].params.empty());
    EXPECT_EQ("LeMoeda", names[5]);
    EXPECT_TRUE(logContains("Comando Executado: CancelaCupom"));
    // The grand-total step had this session's branch, register and serial: it found
    // the row and recorded the printer's total in it.
    EXPECT_EQ("1234,5", recordedTotal());
    FechaPorta();
  }
}

TEST_F(StartUpTest, AnOpenDocumentThatIsNoFiscalReceiptIsCancelledAndNamed) {
  struct Case {
    const char* state;
    std::string document;
  };
  for (const Case& c : {Case{"16", "comprovante não fiscal"}, Case{"32", "relatório gerencial"},
                        Case{"64", "comprovante de crédito ou débito"},
                        Case{"128", "documento de estado fiscal 128"}}) {
    SCOPED_TRACE(c.state);
    op().clear();
    printer().clearRecord();
    printer().scriptNextAnswer("LeInteiro", 0, 0, std::string("ValorInteiro=") + c.state);
    printer().scriptNextAnswer("CancelaCupom", 0, 0, "");
    ASSERT_TRUE(start());
    EXPECT_EQ(1u, printer().commandsNamed("CancelaCupom").size());
    EXPECT_EQ(std::vector<std::string>{"O documento deixado aberto na impressora fiscal foi "
                                       "cancelado: " + c.document + "."},
              op().texts());
    FechaPorta();
  }
  // A cancellation the printer refuses is shown as its refusal, never as done.
  op().clear();
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=16");
  ASSERT_TRUE(start());
  ASSERT_EQ(1u, op().texts().size());
  EXPECT_NE(op().texts()[0].find("CancelamentoNaoPermitido"), std::string::npos);
}

TEST_F(StartUpTest, AnIdleFiscalStateCancelsNothing) {
  printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=1");
  ASSERT_TRUE(start());
  EXPECT_TRUE(printer().commandsNamed("CancelaCupom").empty());
}

TEST_F(StartUpTest, TheGrandTotalCheckCanBeSwitchedOffPerRow) {
  writeGrandTotalFile("N", "999,99");
  ASSERT_TRUE(start());
  const std::string before = fileBytes();
  for (const char* verify : {"S", "N"}) {
    printer().clearRecord();
    EXPECT_TRUE(updateGrandTotal(verify));
    EXPECT_TRUE(printer().commandsNamed("LeMoeda").empty());
    EXPECT_EQ(before, fileBytes());
  }
}

TEST_F(StartUpTest, VerifyModeRecordsAnUnrecordedRowOnceThenOnlyCompares) {
  writeGrandTotalFile("S", "10,10");
  ASSERT_TRUE(start());
  printerGrandTotalIs("1.234,50");
  EXPECT_TRUE(updateGrandTotal("S"));
  EXPECT_EQ("1234,5", recordedTotal());
  const std::string recorded = fileBytes();

  printerGrandTotalIs("1.234,50");
  EXPECT_TRUE(updateGrandTotal("S"));
  EXPECT_EQ(recorded, fileBytes());
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(StartUpTest, VerifyModeReportsADifferentOrEmptyTotalWithoutTouchingTheFile) {
  const std::string message = "Arquivo (" + hostDir_ +
                              "Merkato.cds) está inválido. Valor do totalizador geral da "
                              "impressora fiscal está incorreto.";
  ASSERT_TRUE(start());
  for (const char* stored : {"1234,49", ""}) {
    SCOPED_TRACE(stored);
    writeGrandTotalFile("S", stored);
    op().clear();
    const std::string before = fileBytes();
    printerGrandTotalIs("1.234,50");
    EXPECT_FALSE(updateGrandTotal("S"));
    EXPECT_EQ(before, fileBytes());
    ASSERT_EQ(1u, op().texts().size());
    EXPECT_EQ(message, op().texts()[0]);
  }
}

TEST_F(StartUpTest, RecordModeOverwritesWithThePrinterTotal) {
  writeGrandTotalFile("S", "1,00");
  ASSERT_TRUE(start());
  printerGrandTotalIs("2.000,00");
  EXPECT_TRUE(updateGrandTotal("N"));
  EXPECT_EQ("2000", recordedTotal());
  EXPECT_TRUE(op().messages().empty());
}

TEST_F(StartUpTest, AnUnreadableGrandTotalIsNeverRecorded) {
  writeGrandTotalFile("S", "1,00");
  ASSERT_TRUE(start());
  const std::string before = fileBytes();
  printer().refuseNext("LeMoeda");
  EXPECT_FALSE(updateGrandTotal("N"));
  EXPECT_EQ(before, fileBytes());
}

TEST_F(StartUpTest, AMissingUnreadableOrDamagedFileIsNamedAndTheStepGoesOn) {
  ASSERT_TRUE(start());
  const std::string path = grandTotalPath();
  const auto noticeFor = [&](const std::function<void()>& prepare) {
    std::filesystem::remove_all(path);
    prepare();
    op().clear();
    EXPECT_TRUE(updateGrandTotal("S"));
    return op().texts();
  };
  EXPECT_EQ(std::vector<std::string>{"Arquivo (" + path + ") não encontrado."},
            noticeFor([] {}));
  EXPECT_EQ(std::vector<std::string>{"Arquivo (" + path + ") não pode ser lido (cannot read '" +
                                     path + "': not a regular file)."},
            noticeFor([&] { std::filesystem::create_directory(path); }));
  EXPECT_EQ(std::vector<std::string>{"Arquivo (" + path +
                                     ") está inválido. Arquivo de dataset inválido: assinatura "
                                     "não reconhecida"},
            noticeFor([&] { std::ofstream(path, std::ios::binary) << "not a dataset file"; }));
  EXPECT_EQ("not a dataset file", fileBytes());
  EXPECT_EQ(std::vector<std::string>{"Arquivo (" + path +
                                     ") está inválido. Arquivo de dataset corrompido: a soma de "
                                     "verificação (CRC-32) não confere"},
            noticeFor([&] {
              writeGrandTotalFile("S", "10,10");
              std::string bytes = fileBytes();
              bytes[bytes.size() / 2] ^= 0x20;
              std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
            }));
}

// A grand-total file is a few hundred bytes: a huge file under its name is reported at
// once, unread, and the step goes on as for any unreadable file.
TEST_F(StartUpTest, AnOversizedGrandTotalFileIsRefusedUnread) {
  ASSERT_TRUE(start());
  std::ofstream(grandTotalPath(), std::ios::binary) << std::string(2 * 1024 * 1024, '\0');
  op().clear();
  EXPECT_TRUE(updateGrandTotal("N"));
  ASSERT_EQ(1u, op().texts().size());
  EXPECT_NE(op().texts()[0].find("2097152 bytes, more than the 1048576 bytes"), std::string::npos)
      << op().texts()[0];
  EXPECT_EQ(std::string(2 * 1024 * 1024, '\0'), fileBytes());
}

TEST_F(StartUpTest, ABagMissingAnyFieldIsReportedOnceAndTheStartUpGoesOn) {
  const std::string notice =
      "Erro no recebimento dos parâmetros da função: StartImpFiscal - Zul_01600.bpl\r";
  // Branch, register and serial matter only to the grand-total step after a pending
  // receipt is cancelled: that branch runs too, with no second notice.
  for (const char* field :
       {"CDFILIAL", "CDCAIXA", "NRSERIEIMP", "NRSERIE", "ESQUEMA", "ESQUEMACOR", "CDPORTAIMPFIS"}) {
    for (const bool receiptPending : {false, true}) {
      SCOPED_TRACE(std::string(field) + (receiptPending ? " with a pending receipt" : ""));
      op().clear();
      printer().clearRecord();
      writeGrandTotalFile("S", "10,10");
      if (receiptPending) printer().scriptNextAnswer("LeInteiro", 0, 0, "ValorInteiro=2");
      ecf::Variant bag = bagWithout(field);
      boImpFiscalOK = false;
      EXPECT_TRUE(StartImpFiscal(bag));
      EXPECT_TRUE(boImpFiscalOK);
      EXPECT_EQ((std::vector<std::string>{notice + "Campo " + field +
                                          " não encontrado nos parâmetros."}),
                op().texts());
      ASSERT_FALSE(op().messages().empty());
      EXPECT_EQ("001", op().messages()[0].scheme);
      EXPECT_EQ(receiptPending ? 1u : 0u, printer().commandsNamed("CancelaCupom").size());
      FechaPorta();
    }
  }
}

TEST_F(StartUpTest, WithoutAPortTheDriverIsNotAskedToOpenOne) {
  ecf::Variant bag = bagWithout("PORTAIMPFIS");
  markLog();
  EXPECT_FALSE(StartImpFiscal(bag));
  EXPECT_EQ((std::vector<std::string>{
                "Erro no recebimento dos parâmetros da função: StartImpFiscal - Zul_01600.bpl\r"
                "Campo PORTAIMPFIS não encontrado nos parâmetros.",
                "Erro ao abrir porta de comunicação."}),
            op().texts());
  EXPECT_TRUE(logContains("ERRO!!! Abrindo porta "));
  // An empty port text would open whatever printer the driver takes by default.
  EXPECT_FALSE(std::filesystem::exists(printerRoot_ + "default"));
  EXPECT_TRUE(printer().commands().empty());
}

TEST_F(StartUpTest, APortThatDoesNotOpenIsReported) {
  printer().refuseOpening(true);
  markLog();
  EXPECT_FALSE(start());
  ASSERT_EQ(1u, op().texts().size());
  EXPECT_EQ("Erro ao abrir porta de comunicação. 16: AberturaRecusada Abertura da porta recusada "
            "(ecfsim_refuse_open).",
            op().texts()[0]);
  EXPECT_TRUE(logContains("ERRO!!! Abrindo porta " + port_));
  EXPECT_TRUE(logContains(
      "16: AberturaRecusada - Abertura da porta recusada (ecfsim_refuse_open)."));
}

TEST_F(StartUpTest, ClosingThePortTwiceReportsTheDriversRefusal) {
  ASSERT_TRUE(start());
  EXPECT_TRUE(FechaPorta());
  EXPECT_GE(inCanalSerial, 0);
  EXPECT_FALSE(FechaPorta());
  EXPECT_LT(inCanalSerial, 0);
}

}  // namespace
}  // namespace ecftest

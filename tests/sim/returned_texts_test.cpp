// Every returned text, cut at the fixed positions the module uses.
#include <cstring>

#include "sim_fixture.h"

namespace simtest {
namespace {

class ReturnedTexts : public SimTest {};

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The module's cuts of the table reads.
std::string between(const std::string& text, const std::string& after, const std::string& before) {
  const auto start = text.find(after);
  if (start == std::string::npos) return "<no " + after + ">";
  const auto from = start + after.size();
  const auto end = text.find(before, from);
  return end == std::string::npos ? "<no " + before + ">" : text.substr(from, end - from);
}

TEST_F(ReturnedTexts, RegisterReadsCutAtTheirFixedPrefixes) {
  Answer a = send("LeInteiro", {{"NomeInteiro", "COO", kText}});
  EXPECT_EQ(a.returned, "ValorInteiro=0");
  EXPECT_EQ(a.returned.substr(13), "0");

  a = send("LeMoeda", {{"NomeDadoMonetario", "GT", kText}});
  EXPECT_EQ(a.returned, "ValorMoeda=0,00");
  openReceipt();
  ASSERT_EQ(sell("1", "Televisor", "0", "1234.56", "1").code, 0);
  a = send("LeMoeda", {{"NomeDadoMonetario", "gt", kText}});
  EXPECT_EQ(a.returned, "ValorMoeda=1.234,56");
  EXPECT_EQ(readMoney("GT"), "1234,56");
  EXPECT_EQ(readMoney("TotalDiaVendaBruta"), "1234,56");

  a = send("LeData", {{"NomeData", "Data", kText}});
  EXPECT_EQ(a.returned, "ValorData=\"150324\"");
  EXPECT_EQ(a.returned.substr(11, a.returned.size() - 12), "150324");
  EXPECT_EQ(readDate("DataAbertura"), "150324");

  a = send("LeHora", {{"NomeHora", "hora", kText}});
  ASSERT_EQ(a.code, 0);
  EXPECT_EQ(a.returned.substr(11, a.returned.size() - 12), "100000");

  a = send("LeTexto", {{"NomeTexto", "NumeroSerieECF", kText}});
  ASSERT_GT(a.returned.size(), 12u);
  EXPECT_EQ(a.returned.substr(0, 12), "ValorTexto=\"");
  EXPECT_EQ(trim(a.returned.substr(12, a.returned.size() - 13)), "VP000000000000000001");

  a = send("LeInteiro", {{"NomeInteiro", "NaoExiste", kText}});
  EXPECT_EQ(a.code, 6);
  EXPECT_EQ(a.name, "RegistradorInexistente");
  EXPECT_EQ(a.returned, "");
}

TEST_F(ReturnedTexts, DataAberturaIsZerosWhileNoDayIsOpen) {
  EXPECT_EQ(readDate("DataAbertura"), "000000");
  EXPECT_EQ(readInteger("COOInicioDia"), "0");
  // An X reading changes nothing but COO and GNF: the day opens with the receipt.
  ASSERT_EQ(send("EmiteLeituraX", {{"Destino", "", kText}}).code, 0);
  EXPECT_EQ(readDate("DataAbertura"), "000000");
  openReceipt();
  EXPECT_EQ(readDate("DataAbertura"), "150324");
  EXPECT_EQ(readInteger("COOInicioDia"), "2");
}

TEST_F(ReturnedTexts, IndicatorsCarryTheirValueAtThe24thCharacter) {
  Answer a = send("LeIndicador", {{"NomeIndicador", "SensorGaveta", kText}});
  ASSERT_GE(a.returned.size(), 24u);
  EXPECT_EQ(a.returned[23], '0');
  ASSERT_EQ(ecfsim_set_drawer(kPort, 1), 0);
  a = send("LeIndicador", {{"NomeIndicador", "SensorGaveta", kText}});
  EXPECT_EQ(a.returned, "ValorIndicador=000000001");
  EXPECT_EQ(a.returned[23], '1');

  a = send("LeIndicador", {{"NomeIndicador", "HorarioVerao", kText}});
  EXPECT_EQ(a.returned[23], '0');
  // The module enters daylight-saving time with "TRUE" under the unsigned type.
  ASSERT_EQ(send("AcertaHorarioVerao", {{"EntradaHV", "TRUE", kUInt}}).code, 0);
  a = send("LeIndicador", {{"NomeIndicador", "horarioverao", kText}});
  EXPECT_EQ(a.returned[23], '1');
  a = send("LeHora", {{"NomeHora", "hora", kText}});
  EXPECT_EQ(a.returned.substr(11, 6), "110000");
  EXPECT_EQ(send("AcertaHorarioVerao", {{"EntradaHV", "TRUE", kUInt}}).code, 52);
}

TEST_F(ReturnedTexts, FiscalStateStartsWith2_4Or8ExactlyWhileAFiscalReceiptIsPending) {
  auto first = [&] { return readInteger("EstadoFiscal").substr(0, 1); };
  auto pending = [&] {
    const std::string c = first();
    return c == "2" || c == "4" || c == "8";
  };
  ASSERT_EQ(send("DefineNaoFiscal", {{"CodNaoFiscal", "0", kUInt},
                                     {"NomeNaoFiscal", "Suprimento", kText},
                                     {"TipoNaoFiscal", "t", kInd}}).code, 0);
  EXPECT_FALSE(pending());
  openReceipt();
  EXPECT_EQ(readInteger("EstadoFiscal"), "2");
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "2").code, 0);
  ASSERT_EQ(pay("Dinheiro", "1.00").code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "4");
  ASSERT_EQ(pay("Dinheiro", "5.00").code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "8");
  ASSERT_EQ(close().code, 0);
  EXPECT_FALSE(pending());
  ASSERT_EQ(send("AbreCupomNaoFiscal").code, 0);
  EXPECT_FALSE(pending());
  EXPECT_EQ(readInteger("EstadoFiscal"), "16");
  ASSERT_EQ(send("CancelaCupom").code, 0);
  ASSERT_EQ(send("AbreGerencial", {{"CodGerencial", "0", kUInt}}).code, 0);
  EXPECT_EQ(readInteger("EstadoFiscal"), "32");
  EXPECT_FALSE(pending());
  // Indicadores: on line, cliché and registrations programmed, day open, document open.
  EXPECT_EQ(readInteger("Indicadores"), std::to_string(8192 + 4096 + 2048 + 1024 + 64));
}

TEST_F(ReturnedTexts, TaxRateAnswersCarryTheIcmsFlagAt14AndThePercentageLast) {
  struct Expected {
    const char* code;
    char icms;
    const char* percent;
  };
  for (const Expected& e : {Expected{"0", 'Y', "18,00"}, Expected{"1", 'Y', "12,00"},
                            Expected{"2", 'Y', "7,00"}, Expected{"3", 'Y', "25,00"},
                            Expected{"4", 'N', "5,00"}}) {
    const Answer a = send("LeAliquota", {{"CodAliquotaProgramavel", e.code, kUInt}});
    ASSERT_EQ(a.code, 0) << e.code;
    ASSERT_GE(a.returned.size(), 14u);
    EXPECT_EQ(a.returned[13], e.icms);
    const auto code = a.returned.find("CodAliquotaProgramavel=");
    EXPECT_EQ(a.returned.substr(code + 23, 2), std::string("0") + e.code);
    const auto percent = a.returned.find("PercentualAliquota=");
    EXPECT_EQ(a.returned.substr(percent + 19, 5), e.percent);
  }
  EXPECT_EQ(send("LeAliquota", {{"CodAliquotaProgramavel", "2", kUInt}}).returned,
            "AliquotaICMS=Y CodAliquotaProgramavel=02 PercentualAliquota=7,00");
  for (int slot = 5; slot < 16; ++slot) {
    EXPECT_EQ(send("LeAliquota", {{"CodAliquotaProgramavel", std::to_string(slot), kUInt}}).code,
              30);
  }
  EXPECT_EQ(send("LeAliquota", {{"CodAliquotaProgramavel", "16", kUInt}}).code, 5);
}

TEST_F(ReturnedTexts, TotalizerAndPaymentMethodAnswersCutByName) {
  // Scanning the table as the module does: the first refused code is the first free one.
  EXPECT_EQ(send("LeNaoFiscal", {{"CodNaoFiscal", "0", kUInt}, {"NomeNaoFiscal", "", kText}}).code,
            31);
  ASSERT_EQ(send("DefineNaoFiscal", {{"CodNaoFiscal", "00", kUInt},
                                     {"DescricaoNaoFiscal", "", kText},
                                     {"NomeNaoFiscal", "CONTRA-VALE EMITIDO", kText},
                                     {"TipoNaoFiscal", "f", kInd}}).code, 0);
  Answer a = send("LeNaoFiscal", {{"CodNaoFiscal", "0", kUInt}, {"NomeNaoFiscal", "", kText}});
  ASSERT_EQ(a.code, 0);
  EXPECT_EQ(a.returned,
            "CodNaoFiscal=0 DescricaoNaoFiscal=\"\" NomeNaoFiscal=\"CONTRA-VALE EMITIDO\" "
            "TipoNaoFiscal=f");
  EXPECT_EQ(between(a.returned, "NomeNaoFiscal=\"", "\" TipoNaoFiscal="), "CONTRA-VALE EMITIDO");

  a = send("LeMeioPagamento", {{"CodMeioPagamentoProgram", "-2", kUInt},
                               {"NomeMeioPagamento", "", kText}});
  ASSERT_EQ(a.code, 0);
  ASSERT_GT(a.returned.size(), 24u);
  EXPECT_EQ(a.returned.substr(0, 24), "CodMeioPagamentoProgram=");
  EXPECT_EQ(trim(a.returned.substr(24, a.returned.find("DescricaoMeioPagamento=") - 24)), "-2");
  EXPECT_EQ(between(a.returned, "NomeMeioPagamento=\"", "\" PermiteVinculado="), "Dinheiro");
  EXPECT_EQ(send("LeMeioPagamento", {{"CodMeioPagamentoProgram", "0", kUInt},
                                     {"NomeMeioPagamento", "", kText}}).code, 32);

  // A name in Windows-1252 goes in and comes back in Windows-1252.
  ASSERT_EQ(send("DefineMeioPagamento", {{"CodMeioPagamentoProgram", "", kUInt},
                                         {"DescricaoMeioPagamento", "", kText},
                                         {"NomeMeioPagamento", "Cartão Crédito", kText},
                                         {"PermiteVinculado", "Y", kInd}}).code, 0);
  a = send("LeMeioPagamento", {{"CodMeioPagamentoProgram", "0", kUInt}});
  EXPECT_EQ(trim(a.returned.substr(24, a.returned.find("DescricaoMeioPagamento=") - 24)), "0");
  EXPECT_EQ(between(a.returned, "NomeMeioPagamento=\"", "\" PermiteVinculado="),
            "Cart\xE3o Cr\xE9" "dito");
  // TotalRetornos and Retorno split the same text into its pairs.
  EXPECT_EQ(dll().TotalRetornos(channel_), 4);
  EXPECT_STREQ(dll().Retorno(channel_, 2, nullptr, 0), "NomeMeioPagamento=\"Cart\xE3o Cr\xE9" "dito\"");
  // The payment is found by its name ignoring case, also through the tape in UTF-8.
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1").code, 0);
  ASSERT_EQ(pay("CARTÃO CRÉDITO", "3.00").code, 0);
  ASSERT_EQ(close().code, 0);
  EXPECT_NE(tape().find("Cartão Crédito"), std::string::npos);
}

TEST_F(ReturnedTexts, EveryRegisterTheModuleReadsAnswers) {
  for (const char* name : {"EstadoFiscal", "COO", "ECF", "CFC", "GNF", "CRZ", "CRO", "CCF",
                           "COOInicioDia", "ContadorReinicioReducao[0]", "ContadorReinicioReducao[1]",
                           "Indicadores"}) {
    EXPECT_EQ(send("LeInteiro", {{"NomeInteiro", name, kText}}).code, 0) << name;
  }
  for (const char* name :
       {"GT", "TotalDiaAcrescimos", "TotalDiaVendaBruta", "TotalDiaVendaLiquida",
        "TotalDiaDescontos", "TotalDiaCancelamentosICMS", "TotalDiaImpostoISSQN",
        "TotalDiaSubstituicaoTributariaICMS", "TotalDiaIsencaoICMS", "TotalDiaNaoTributadoICMS",
        "TotalDiaDinheiro", "TotalDiaMeioPagamento[-2]", "TotalDiaMeioPagamento[0]",
        "TotalDiaMeioPagamento[14]", "TotalDiaImpostoAliquota[0]", "TotalDiaImpostoAliquota[15]",
        "TotalDiaNaoFiscal[0]", "TotalDiaNaoFiscal[14]", "TotalDiaCancelamentosNaoFiscal"}) {
    const Answer a = send("LeMoeda", {{"NomeDadoMonetario", name, kText}});
    EXPECT_EQ(a.code, 0) << name;
    EXPECT_EQ(a.returned, "ValorMoeda=0,00") << name;
  }
  EXPECT_EQ(readInteger("ECF"), "1");
  EXPECT_EQ(readInteger("CRO"), "1");
  EXPECT_EQ(readInteger("ContadorReinicioReducao[0]"), "1");
  for (const char* name : {"TotalDiaNaoFiscal[15]", "TotalDiaMeioPagamento[-1]",
                           "TotalDiaImpostoAliquota[16]", "TotalDiaImpostoAliquota[x]"}) {
    EXPECT_EQ(send("LeMoeda", {{"NomeDadoMonetario", name, kText}}).code, 6) << name;
  }
  EXPECT_EQ(send("LeInteiro", {{"NomeInteiro", "ContadorReinicioReducao[2]", kText}}).code, 6);
}

TEST_F(ReturnedTexts, LibraryOwnedTextsAndCallerBuffers) {
  const Dllg2& d = dll();
  send("LeInteiro", {{"NomeInteiro", "EstadoFiscal", kText}});
  // The module passes an empty text with size 0: nothing may be written into it.
  char untouched[4] = "abc";
  EXPECT_STREQ(d.ObtemRetornos(channel_, untouched, 0), "ValorInteiro=1");
  EXPECT_STREQ(untouched, "abc");
  char small[6];
  EXPECT_STREQ(d.ObtemRetornos(channel_, small, sizeof small), "ValorInteiro=1");
  EXPECT_STREQ(small, "Valor");
  // A refused command: error name and circumstance, empty returned text.
  send("LeInteiro", {{"NomeInteiro", "", kText}});
  EXPECT_GT(d.ObtemCodErro(channel_), 0);
  char name[64];
  EXPECT_STREQ(d.ObtemNomeErro(channel_, name, sizeof name), "ParametroAusente");
  EXPECT_STREQ(name, "ParametroAusente");
  EXPECT_STREQ(d.ObtemRetornos(channel_, nullptr, 0), "");
  // An unknown channel: negative numbers and empty texts, the buffer emptied.
  char buffer[8] = "xyz";
  EXPECT_LT(d.ExecutaComando(999, "LeInteiro"), 0);
  EXPECT_LT(d.ObtemCodErro(999), 0);
  EXPECT_LT(d.LimpaParams(999), 0);
  EXPECT_LT(d.AdicionaParam(999, "A", "B", kText), 0);
  EXPECT_LT(d.ConfiguraDriver(999, 115200, 101), 0);
  EXPECT_LT(d.DefineTimeout(999, 40), 0);
  EXPECT_LT(d.EncerraDriver(999), 0);
  EXPECT_STREQ(d.ObtemRetornos(999, buffer, sizeof buffer), "");
  EXPECT_STREQ(buffer, "");
  EXPECT_STREQ(d.ObtemNomeErro(-5, nullptr, 0), "");
  EXPECT_STREQ(d.ObtemCircunstancia(0, nullptr, 0), "");
  // The driver configuration the module sends.
  EXPECT_EQ(d.ConfiguraDriver(channel_, 115200, 101), 0);
  EXPECT_EQ(d.DefineTimeout(channel_, 40), 0);
  EXPECT_EQ(d.LeTimeout(channel_), 40);
  EXPECT_NE(std::strlen(d.Versao()), 0u);
  // The entries the module binds but never calls answer harmlessly.
  d.LimpaParams(channel_);
  d.AdicionaParam(channel_, "NomeInteiro", "COO", kText);
  EXPECT_STREQ(d.ListaParams(channel_, nullptr, 0), "NomeInteiro=\"COO\"(7)");
  EXPECT_STREQ(d.LeRegistrador(channel_, "EstadoFiscal", nullptr, 0), "1");
  EXPECT_STREQ(d.LeRegistrador(channel_, "GT", nullptr, 0), "0,00");
  EXPECT_STREQ(d.LeRegistrador(channel_, "Nada", nullptr, 0), "");
  EXPECT_EQ(d.SetaArquivoLog(channel_, "/nao/existe.log"), 0);
  EXPECT_NE(std::string(d.ObtemNomeLog(channel_, nullptr, 0)).find("commands.jsonl"),
            std::string::npos);
  EXPECT_EQ(d.AdicionaParam(channel_, "", "x", kText), -1);
}

}  // namespace
}  // namespace simtest

// The module's exported operations, variables and constants, for hosts that link it
// directly. A host that loads the module at run time binds the same names with dlsym /
// GetProcAddress, using the types declared here.
#pragma once

#include <cstdint>
#include <string>

#include "ecf/datamodule.h"
#include "ecf/dataset.h"
#include "ecf/dllg2.h"
#include "ecf/export.h"
#include "ecf/host.h"
#include "ecf/stringlist.h"
#include "ecf/variant.h"

// Operations returning a text are C++ functions with unmangled names, as every host of
// this module is built with the same compiler and standard library.
#if defined(__clang__)
#  pragma clang diagnostic push
#  pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif

extern "C" {

// ---- parameter type codes and Indicadores flags ----
ECF_API extern const std::int32_t PARAMETRO_INDICADOR;
ECF_API extern const std::int32_t PARAMETRO_DATA;
ECF_API extern const std::int32_t PARAMETRO_HORA;
ECF_API extern const std::int32_t PARAMETRO_INT;
ECF_API extern const std::int32_t PARAMETRO_LONG;
ECF_API extern const std::int32_t PARAMETRO_MONEY;
ECF_API extern const std::int32_t PARAMETRO_STRING;
ECF_API extern const std::int32_t PARAMETRO_UINT;
ECF_API extern const std::int32_t PARAMETRO_ULONG;

ECF_API extern const std::int32_t FLAG_INTERVENCAO_TECNICA;
ECF_API extern const std::int32_t FLAG_SEM_MFD;
ECF_API extern const std::int32_t FLAG_RAM_NOK;
ECF_API extern const std::int32_t FLAG_RELOGIO_NOK;
ECF_API extern const std::int32_t FLAG_SEM_MF;
ECF_API extern const std::int32_t FLAG_DIA_FECHADO;
ECF_API extern const std::int32_t FLAG_DIA_ABERTO;
ECF_API extern const std::int32_t FLAG_Z_PENDENTE;
ECF_API extern const std::int32_t FLAG_SEM_PAPEL;
ECF_API extern const std::int32_t FLAG_MECANISMO_NOK;
ECF_API extern const std::int32_t FLAG_DOCUMENTO_ABERTO;
ECF_API extern const std::int32_t FLAG_INSCRICOES_OK;
ECF_API extern const std::int32_t FLAG_CLICHE_OK;
ECF_API extern const std::int32_t FLAG_EM_LINHA;
ECF_API extern const std::int32_t FLAG_MFD_ESGOTADA;

// ---- shared state ----
ECF_API extern bool boImpFiscalOK;
ECF_API extern void* ImpFisDLLHandle;
ECF_API extern std::int32_t inCanalSerial;
ECF_API extern std::int32_t inRetornoFuncao;
ECF_API extern std::int32_t inRetornoErro;
ECF_API extern std::int32_t inRetorno;
ECF_API extern const char* stParametro;
ECF_API extern const char* stRetornoFuncao;
ECF_API extern const char* stRetornoErro;
ECF_API extern const char* stTamRetorno;
ECF_API extern std::int32_t inPos;
ECF_API extern std::int32_t inPos1;
ECF_API extern std::string stImpDebug;
ECF_API extern std::string stAliquotaIss;
ECF_API extern bool boComando;
ECF_API extern std::string dsDirCad;
ECF_API extern std::string IdTotRelatorio;
ECF_API extern std::string IdTotParcCV;
ECF_API extern std::string IdTotParcVCons;
ECF_API extern std::string idTotParcSuprimento;
ECF_API extern std::string idTotParcSangria;
ECF_API extern std::string IdTotCompCred;
ECF_API extern std::string IdTotCancCred;
ECF_API extern ecf::Dataset* cdsAuxExtSimp;
ECF_API extern ecf::TdtmEcf01600* dtmEcf01600;

// ---- the bound driver entry points ----
ECF_API extern DLLG2_Versao_t Ecf_DLLG2_Versao;
ECF_API extern DLLG2_ConfiguraDriver_t Ecf_DLLG2_ConfiguraDriver;
ECF_API extern DLLG2_IniciaDriver_t Ecf_DLLG2_IniciaDriver;
ECF_API extern DLLG2_EncerraDriver_t Ecf_DLLG2_EncerraDriver;
ECF_API extern DLLG2_ObtemNomeLog_t Ecf_DLLG2_ObtemNomeLog;
ECF_API extern DLLG2_LeTimeout_t Ecf_DLLG2_LeTimeout;
ECF_API extern DLLG2_ListaParams_t Ecf_DLLG2_ListaParams;
ECF_API extern DLLG2_ExecutaComando_t Ecf_DLLG2_ExecutaComando;
ECF_API extern DLLG2_LeRegistrador_t Ecf_DLLG2_LeRegistrador;
ECF_API extern DLLG2_ObtemCodErro_t Ecf_DLLG2_ObtemCodErro;
ECF_API extern DLLG2_ObtemNomeErro_t Ecf_DLLG2_ObtemNomeErro;
ECF_API extern DLLG2_ObtemCircunstancia_t Ecf_DLLG2_ObtemCircunstancia;
ECF_API extern DLLG2_TotalRetornos_t Ecf_DLLG2_TotalRetornos;
ECF_API extern DLLG2_Retorno_t Ecf_DLLG2_Retorno;
ECF_API extern DLLG2_ObtemRetornos_t Ecf_DLLG2_ObtemRetornos;
ECF_API extern DLLG2_DefineTimeout_t Ecf_DLLG2_DefineTimeout;
ECF_API extern DLLG2_SetaArquivoLog_t Ecf_DLLG2_SetaArquivoLog;
ECF_API extern DLLG2_LimpaParams_t Ecf_DLLG2_LimpaParams;
ECF_API extern DLLG2_AdicionaParam_t Ecf_DLLG2_AdicionaParam;

// ---- driver binding and tear-down ----
ECF_API void StopImpFiscal();
ECF_API bool FechaPorta();

// ---- command layer ----
ECF_API void LimpaParametros();
ECF_API const char* StrToPChar(const std::string& text);
ECF_API bool AnalisaRetorno(const std::string& scheme, std::int32_t returnCode, bool showMessage,
                            bool flag2, bool flag3);
ECF_API void ImpFisDebug(const std::string& text);

// ---- register reading ----
ECF_API std::string LeInteiro(const std::string& registerName, bool showMessage);
ECF_API std::string LeMoeda(const std::string& registerName, bool showMessage);
ECF_API bool LeIndicadores(std::int32_t selector);
ECF_API double GetValue(const std::string& amountText);
ECF_API bool BuscaTotGer(const std::string& scheme, std::string& grandTotal);

// ---- session start-up and port opening ----
ECF_API bool StartImpFiscal(ecf::Variant& bag);
ECF_API bool AbrePorta(const ecf::Variant& bag);
ECF_API bool VerificaData(const std::string& scheme, ecf::DateTime& movementDate,
                          const std::string& printerDateTime, const std::string& movementDateText,
                          bool readPrinter);
ECF_API bool Data_Imp(const std::string& scheme, std::string& printerDateTime);
ECF_API bool Atu_TotGeral(const ecf::Variant& bag);
ECF_API bool VerificaSerialImp(const ecf::Variant& bag);

// ---- printer identity and status ----
ECF_API bool Carrega_Dados_Impressora(ecf::Variant& bag);
ECF_API bool Estado_Imp(const std::string& scheme, bool flag1, bool flag2);
ECF_API std::string Nr_Cupom(const std::string& unused, const std::string& scheme);
ECF_API std::string Estado_Gaveta_Imp(const std::string& scheme);
ECF_API bool InfImpTerm(const std::string& scheme, const std::string& unused1,
                        const std::string& unused2, const std::string& unused3,
                        std::string& counter);
ECF_API std::string Codigo_Nacional_ECF(std::int32_t model, const std::string& firmwareVersion);
ECF_API bool Versao_Software_Basico(const std::string& scheme, std::string& version);
ECF_API bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& scheme,
                                                        std::string& dateTime, std::string& user,
                                                        std::string& additionalMemory);
ECF_API bool NumeroOperacoesNaoFiscais(const std::string& scheme, std::string& count);

// ---- tax rates ----
ECF_API void CarregaAliquota(const std::string& scheme, ecf::Dataset& unused);
ECF_API bool Retorno_Aliquotas_Imp(const std::string& scheme);

// ---- non-fiscal totalizers ----
ECF_API void CarregaTotalizador(std::string& changeVoucherId, std::string& consumerSaleId,
                                std::string& creditPurchaseId, std::string& creditCancelId,
                                std::string& unused5, const std::string& scheme,
                                std::int32_t unused7, ecf::Dataset& unused8);
ECF_API bool VerificaTotalizador();
ECF_API bool Nomeia_TotParcial(const std::string& text1, const std::string& text2,
                               const std::string& text3, const std::string& text4, bool flag1,
                               bool flag2);

// ---- payment methods ----
ECF_API void CarregaRecebimento(const std::string& unused1, const std::string& scheme,
                                std::int32_t unused3, ecf::Dataset& paymentTypes);
ECF_API bool Config_FormaPg(const std::string& scheme, const std::string& name, bool flag1,
                            bool flag2);

// ---- fiscal receipt ----
ECF_API bool AbreCupom(ecf::Variant& bag);
ECF_API bool VendaItem(ecf::Variant& bag);
ECF_API bool Cancela_UltimoItem(const std::string& scheme);
ECF_API bool Cancela_ItGenerico(const std::string& scheme, const std::string& itemNumber,
                                const std::string& unused1, const std::string& unused2,
                                const std::string& unused3, const std::string& unused4,
                                const std::string& unused5, const std::string& unused6,
                                const std::string& unused7, double unused8, double unused9);
ECF_API bool Acrescimo_Imp(const std::string& scheme, std::string& surchargeTotal);
// values[0..high]: the 44 closing positions; result: an array of at least 3 elements.
ECF_API bool FechaCupom(const ecf::Variant* values, std::int32_t high, ecf::StringList& unused,
                        ecf::Variant& result);
ECF_API bool Cancela_Cupom_Imp(const ecf::Variant* values, std::int32_t high,
                               ecf::Variant& result);
ECF_API bool Abre_Gaveta_Imp(const std::string& scheme, bool unused);
ECF_API bool Guilhotina(const std::string& scheme, std::int32_t cutKind);
ECF_API bool CodigoBarra(const std::string& unused1, const std::string& unused2);

// ---- management report primitives, cash, non-fiscal receipts ----
ECF_API bool Relatorio_Gerencial_Imp(const std::string& scheme, const std::string& unused2,
                                     const std::string& unused3, const std::string& unused4);
ECF_API bool Usa_CompNFis(const std::string& scheme, const std::string& text);
ECF_API bool FechRelatGerenc(const std::string& scheme, bool unused1, bool unused2);
ECF_API bool Suprimento(const std::string& scheme, double amount);
ECF_API bool Sangria(const std::string& unused, const std::string& scheme, double amount,
                     ecf::Dataset& unusedDataset);
ECF_API bool Cupom_NFiscNVinc(const std::string& scheme, const std::string& totalizerCode,
                              const std::string& amount, const std::string& paymentMethod,
                              const std::string& unused);

// ---- X reading, Z reduction, daylight saving ----
ECF_API bool Leitura_X_Imp(const std::string& unused1, const std::string& scheme,
                           const std::string& unused3);
ECF_API bool Reducao_Z_Imp(const std::string& unused1, const std::string& scheme,
                           const std::string& unused3);
ECF_API bool DadosUltimaRedZ(const ecf::Variant* values, std::int32_t high,
                             ecf::Variant& packet, ecf::Dataset& dataset);
ECF_API bool Estado_HorVerao(const std::string& scheme);
ECF_API bool Muda_Horario(const std::string& scheme);

// ---- restaurant tickets, pre-formatted texts, listings, application identification ----
// Texts named passThrough are handed to the report's opening, which ignores them.
ECF_API bool Abertura_Mesa(const std::string& unused1, const std::string& scheme,
                           const std::string& unused3, const std::string& table,
                           const std::string& unused5, const std::string& issued,
                           const ecf::Variant& items, double discount, double unused9,
                           double unused10, double serviceCharge, double unused12, double total,
                           double surcharge);
ECF_API bool RegistroVenda(const std::string& passThrough1, const std::string& passThrough2,
                           const std::string& scheme, const ecf::Dataset& items,
                           const std::string& number);
ECF_API bool Conferencia_Formatada(const std::string& scheme, const std::string& passThrough1,
                                   const std::string& passThrough2, const std::string& unused4,
                                   std::string& receiptCounter, const std::string& document);
ECF_API bool Cupom_Troca(const std::string& scheme, const std::string& passThrough1,
                         const std::string& passThrough2, const std::string& document);
ECF_API bool GeraCatGenerica(const ecf::Variant* values, std::int32_t high, std::int32_t number,
                             ecf::StringList& list);
ECF_API void imprimeTipoRece(const std::string& passThrough1, const std::string& passThrough2,
                             const std::string& scheme, const ecf::Variant& packet);
ECF_API bool ImprimeMesasAbertas(ecf::Dataset& unused, const std::string& passThrough1,
                                 const std::string& passThrough2, const std::string& scheme,
                                 const ecf::Variant& packet);
ECF_API void imprimeProdutosTransf(const std::string& passThrough1,
                                   const std::string& passThrough2, const std::string& scheme,
                                   const ecf::Variant& packet);
// values[0..high]: two pass-through texts, the colour scheme, the identification packet and
// the authorised printers' packet, in this order (at least five values).
ECF_API void ImprimeDadosPaf(const ecf::Variant* values, std::int32_t high, ecf::Variant& unused);
// ---- consumer account documents ----
// The report opened by Cabecalho stays open for its caller.
ECF_API void Cabecalho(const std::string& passThrough, const std::string& scheme,
                       const std::string& title, const std::string& cashRegister,
                       const std::string& unused5, const std::string& unused6);
// True when at least one movement was printed. IDEMISEXTRSIMPL "S" selects the summary.
ECF_API bool Extrato(const std::string& passThrough, const std::string& scheme,
                     const ecf::Dataset& configuration, ecf::Dataset& families,
                     ecf::Dataset& movements, ecf::Dataset& saleItems,
                     ecf::Dataset& familyBalances, const std::string& unused8,
                     const std::string& title, const std::string& cashRegister,
                     const std::string& headingText1, const std::string& headingText2,
                     ecf::Dataset& detailMovements);
// True when the report opened (and was then printed).
ECF_API bool ImpSaldo(const std::string& scheme, ecf::Dataset& balances,
                      const std::string& identification1, const std::string& identification2);
// True when any consumer was printed; with none, nothing is opened.
ECF_API bool SaldoNegativo(const std::string& passThrough, const std::string& scheme,
                           ecf::Dataset& consumerTypes, ecf::Dataset& consumers,
                           const std::string& title, const std::string& cashRegister,
                           const std::string& unused7, const std::string& unused8);
ECF_API bool ImprimeProdBloq(const std::string& passThrough1, const std::string& passThrough2,
                             const std::string& scheme, ecf::Dataset& products);
ECF_API void Saldo_CredPessoal(const std::string& passThrough1, const std::string& passThrough2,
                               const std::string& scheme, const std::string& title,
                               ecf::Dataset& balances);
// ---- fiscal day closing: detail-memory reading and the Z data export ----
// kind "D": start and end are dates "ddmmyy"; kind "R": receipt counters (COO).
ECF_API bool Memoria_Fiscal_Imp(const std::string& scheme, const std::string& kind,
                                const std::string& start, const std::string& end,
                                const std::string& unused);
// The fiscal date of the day being closed (the printer's opening date, or today).
ECF_API ecf::DateTime DataMoviFiscal(const std::string& scheme);
// Fills the four Z datasets (day record, payment totals, tax totals, non-fiscal totals)
// from the printer; false when the export stopped before reading everything.
ECF_API bool ExportRedZ(const std::string& unused1, const std::string& scheme,
                        const std::string& ecfNumber, std::int32_t unused4,
                        const ecf::Dataset& paymentTypes, ecf::Dataset& dayRecord,
                        ecf::Dataset& paymentTotals, ecf::Dataset& taxTotals,
                        ecf::Dataset& nonFiscalTotals);
// ---- linked vouchers, card-transaction (TEF) vouchers, consumer debit and credit vouchers ----
ECF_API bool Abre_Comp_NFiscalVinc(const std::string& scheme, const std::string& paymentMethod,
                                   const std::string& amount, const std::string& coo);
// vouchers: the first copies, one text per card transaction; secondCopies: entry k is the
// second copy of voucher k. printingMode 2: `coo` is used as given, not read.
ECF_API bool ImprimeTef(const std::string& unused1, const std::string& reportText2,
                        const std::string& reportText3, const std::string& scheme,
                        const ecf::StringList& vouchers, const ecf::StringList& secondCopies,
                        const ecf::StringList& unused7, const ecf::StringList& unused8,
                        const std::string& coo, const std::string& unused10,
                        const std::string& unused11, double unused12, double unused13,
                        std::int32_t printingMode, const std::string& unused15,
                        const std::string& transactionKind);
// products: a data packet of CDARVPROD, NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN.
ECF_API bool Comp_DebitoCons(const std::string& scheme, const ecf::Variant& products,
                             double saleTotal, const std::string& unused4,
                             const std::string& consumerCode, const std::string& consumerName,
                             const std::string& customer, const std::string& customerLine2,
                             const std::string& orderPassword, double balanceBefore,
                             double subsidy, double unused12, const std::string& balanceMode,
                             const std::string& unused14, const std::string& unused15,
                             const std::string& unused16, const std::string& unused17,
                             const ecf::Variant& unused18);
// payments: one row per payment, VRMOVIVEND and NMTIPORECE.
ECF_API bool Compr_CredPessoal(
    const std::string& unused1, const std::string& unused2, const std::string& unused3,
    const std::string& unused4, const std::string& unused5, const std::string& scheme,
    std::string& unused7, std::string& unused8, ecf::Dataset& payments, double balanceBefore,
    const std::string& consumerName, const std::string& depositNumber,
    const std::string& unused13, const std::string& unused14, const std::string& unused15,
    const std::string& unused16, const std::string& unused17, const std::string& unused18,
    const std::string& unused19, const std::string& unused20, const std::string& unused21,
    const std::string& unused22, const std::string& unused23, const std::string& unused24,
    bool unused25, const std::string& familyName, const std::string& unused27);
ECF_API bool Cancela_Cred_Pessoal(const std::string& totalizerCode, const std::string& unused2,
                                  const std::string& reportText3, const std::string& reportText4,
                                  const std::string& scheme, std::string& unused6,
                                  const std::string& depositNumber, const std::string& customer,
                                  const std::string& consumerName, const std::string& unused10,
                                  const std::string& paymentMethod, double amount,
                                  double finalBalance, const std::string& familyName);
// ---- product report and cash-closing receipts ----
ECF_API void Relatorio_Produto(const std::string& unused1, const std::string& unused2,
                               const std::string& unused3, const std::string& openText4,
                               const std::string& openText5, std::string& coo,
                               const ecf::Dataset& products, const std::string& confirmation,
                               const std::string& layout, const std::string& scheme,
                               bool& reportSeries);
ECF_API bool GeraReciboSangria(
    const std::string& unused1, const std::string& productText2, const std::string& openText3,
    const std::string& openText4, const std::string& ecfNumber, std::int32_t exportNumber,
    std::string& coo, const ecf::Dataset& envelopes, const ecf::Dataset& withdrawals,
    const ecf::Dataset& shiftProducts, const ecf::Dataset& people,
    const ecf::Dataset& dayMovements, const ecf::Dataset& shiftMovements,
    const ecf::Dataset& dayProducts, ecf::DateTime unused15, bool printReceipt,
    bool reductionAllowed1, bool unused18, ecf::Dataset& zDay, ecf::Dataset& zPayments,
    ecf::Dataset& zTaxes, ecf::Dataset& zNonFiscal, bool& zSaved,
    const ecf::Dataset& paymentTypes, const std::string& productConfirmation,
    const std::string& productLayout, const std::string& xReading,
    const std::string& envelopeColumn, const std::string& scheme, bool withdrawalOnly,
    bool reprint, bool reductionAllowed2, const std::string& motive,
    const std::string& observation);

}  // extern "C"

#if defined(__clang__)
#  pragma clang diagnostic pop
#endif

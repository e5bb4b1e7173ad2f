#include "operations.h"

#include <limits>

#include "ecf/dataset.h"

namespace ecfhost {
namespace {

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Text:
      return "text";
    case Kind::Number:
      return "number";
    case Kind::Integer:
      return "integer";
    case Kind::Boolean:
      return "boolean";
    case Kind::Bag:
      return "bag";
    case Kind::Positions:
      return "positional array";
    case Kind::Dataset:
      return "dataset";
    case Kind::StringList:
      return "list of texts";
    case Kind::DateTime:
      return "date-time";
  }
  return "value";
}

Json moduleDataset(const ModuleApi& api, ecf::Dataset ecf::TdtmEcf01600::*member) {
  if (api.dtmEcf01600 == nullptr || *api.dtmEcf01600 == nullptr) return nullptr;
  return fromPacket(((*api.dtmEcf01600)->*member).data());
}

// The seven totalizer codes the module publishes, under their variable names.
void addTotalizerIds(const ModuleApi& api, Json& out) {
  for (const char* name : {"idTotParcSuprimento", "idTotParcSangria", "IdTotParcCV",
                           "IdTotParcVCons", "IdTotCompCred", "IdTotRelatorio", "IdTotCancCred"}) {
    const std::string* value = api.textVariable(name);
    out[name] = value ? Json(*value) : Json(nullptr);
  }
}

Outcome result(bool value) { return Outcome{value}; }
Outcome result(const std::string& value) { return Outcome{value}; }
Outcome none() { return Outcome{nullptr}; }

using P = std::vector<Param>;
constexpr Kind T = Kind::Text;
constexpr Kind N = Kind::Number;
constexpr Kind I = Kind::Integer;
constexpr Kind B = Kind::Boolean;

std::vector<Operation> buildOperations() {
  return {
      // ---- session ----
      {"StartImpFiscal", P{{"bag", Kind::Bag}}, "",
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         return result(c.need(c.api.StartImpFiscal, "StartImpFiscal")(bag));
       }},
      {"FechaPorta", P{}, "",
       [](Call& c) { return result(c.need(c.api.FechaPorta, "FechaPorta")()); }},
      {"StopImpFiscal", P{}, "",
       [](Call& c) {
         c.need(c.api.StopImpFiscal, "StopImpFiscal")();
         return none();
       }},
      {"Atu_TotGeral", P{{"bag", Kind::Bag}}, "",
       [](Call& c) { return result(c.need(c.api.Atu_TotGeral, "Atu_TotGeral")(c.bag(0))); }},
      {"BuscaTotGer", P{{"scheme", T}}, "grandTotal",
       [](Call& c) {
         std::string total;
         Outcome o = result(c.need(c.api.BuscaTotGer, "BuscaTotGer")(c.text(0), total));
         o.out["grandTotal"] = total;
         return o;
       }},
      {"Data_Imp", P{{"scheme", T}}, "printerDateTime",
       [](Call& c) {
         std::string when;
         Outcome o = result(c.need(c.api.Data_Imp, "Data_Imp")(c.text(0), when));
         o.out["printerDateTime"] = when;
         return o;
       }},
      // ---- identity and status ----
      {"Carrega_Dados_Impressora", P{{"bag", Kind::Bag}}, "bag",
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         Outcome o =
             result(c.need(c.api.Carrega_Dados_Impressora, "Carrega_Dados_Impressora")(bag));
         o.out["bag"] = bagToJson(bag);
         return o;
       }},
      {"Estado_Imp", P{{"scheme", T}, {"flag1", B}, {"flag2", B}}, "",
       [](Call& c) {
         return result(
             c.need(c.api.Estado_Imp, "Estado_Imp")(c.text(0), c.boolean(1), c.boolean(2)));
       }},
      {"Nr_Cupom", P{{"unused", T}, {"scheme", T}}, "",
       [](Call& c) { return result(c.need(c.api.Nr_Cupom, "Nr_Cupom")(c.text(0), c.text(1))); }},
      {"Estado_Gaveta_Imp", P{{"scheme", T}}, "",
       [](Call& c) {
         return result(c.need(c.api.Estado_Gaveta_Imp, "Estado_Gaveta_Imp")(c.text(0)));
       }},
      {"InfImpTerm", P{{"scheme", T}, {"unused1", T}, {"unused2", T}, {"unused3", T}}, "counter",
       [](Call& c) {
         std::string counter;
         Outcome o = result(c.need(c.api.InfImpTerm, "InfImpTerm")(c.text(0), c.text(1), c.text(2),
                                                                   c.text(3), counter));
         o.out["counter"] = counter;
         return o;
       }},
      // ---- tables ----
      {"CarregaAliquota", P{{"scheme", T}, {"unused", Kind::Dataset}}, "cdsAliqImpFis",
       [](Call& c) {
         ecf::Dataset unused = c.dataset(1);
         c.need(c.api.CarregaAliquota, "CarregaAliquota")(c.text(0), unused);
         Outcome o = none();
         o.out["cdsAliqImpFis"] = moduleDataset(c.api, &ecf::TdtmEcf01600::cdsAliqImpFis);
         return o;
       }},
      {"CarregaTotalizador",
       P{{"unused5", T}, {"scheme", T}, {"unused7", I}, {"unused8", Kind::Dataset}},
       "changeVoucherId, consumerSaleId, creditPurchaseId, creditCancelId, and the seven totalizer "
       "variables (idTotParcSuprimento ... IdTotCancCred)",
       [](Call& c) {
         std::string changeVoucher, consumerSale, creditPurchase, creditCancel;
         std::string unused5 = c.text(0);
         ecf::Dataset unused8 = c.dataset(3);
         c.need(c.api.CarregaTotalizador, "CarregaTotalizador")(
             changeVoucher, consumerSale, creditPurchase, creditCancel, unused5, c.text(1),
             c.integer(2), unused8);
         Outcome o = none();
         o.out["changeVoucherId"] = changeVoucher;
         o.out["consumerSaleId"] = consumerSale;
         o.out["creditPurchaseId"] = creditPurchase;
         o.out["creditCancelId"] = creditCancel;
         addTotalizerIds(c.api, o.out);
         return o;
       }},
      {"VerificaTotalizador", P{}, "",
       [](Call& c) { return result(c.need(c.api.VerificaTotalizador, "VerificaTotalizador")()); }},
      {"CarregaRecebimento",
       P{{"unused1", T}, {"scheme", T}, {"unused3", I}, {"paymentTypes", Kind::Dataset}},
       "paymentTypes",
       [](Call& c) {
         ecf::Dataset types = c.dataset(3);
         c.need(c.api.CarregaRecebimento, "CarregaRecebimento")(c.text(0), c.text(1), c.integer(2),
                                                                types);
         Outcome o = none();
         o.out["paymentTypes"] = fromPacket(types.data());
         return o;
       }},
      {"Config_FormaPg", P{{"scheme", T}, {"name", T}, {"flag1", B}, {"flag2", B}}, "",
       [](Call& c) {
         return result(c.need(c.api.Config_FormaPg, "Config_FormaPg")(c.text(0), c.text(1),
                                                                      c.boolean(2), c.boolean(3)));
       }},
      // ---- the fiscal receipt ----
      {"AbreCupom", P{{"bag", Kind::Bag}}, "",
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         return result(c.need(c.api.AbreCupom, "AbreCupom")(bag));
       }},
      {"VendaItem", P{{"bag", Kind::Bag}}, "",
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         return result(c.need(c.api.VendaItem, "VendaItem")(bag));
       }},
      {"Cancela_UltimoItem", P{{"scheme", T}}, "",
       [](Call& c) {
         return result(c.need(c.api.Cancela_UltimoItem, "Cancela_UltimoItem")(c.text(0)));
       }},
      {"Cancela_ItGenerico",
       P{{"scheme", T},
         {"itemNumber", T},
         {"unused1", T},
         {"unused2", T},
         {"unused3", T},
         {"unused4", T},
         {"unused5", T},
         {"unused6", T},
         {"unused7", T},
         {"unused8", N},
         {"unused9", N}},
       "",
       [](Call& c) {
         return result(c.need(c.api.Cancela_ItGenerico, "Cancela_ItGenerico")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), c.text(6), c.text(7),
             c.text(8), c.number(9), c.number(10)));
       }},
      {"Acrescimo_Imp", P{{"scheme", T}}, "surchargeTotal",
       [](Call& c) {
         std::string total;
         Outcome o = result(c.need(c.api.Acrescimo_Imp, "Acrescimo_Imp")(c.text(0), total));
         o.out["surchargeTotal"] = total;
         return o;
       }},
      {"FechaCupom", P{{"values", Kind::Positions}, {"unused", Kind::StringList}}, "result",
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::StringList unused = c.strings(1);
         ecf::Variant resultArray{ecf::Variant::Array(3)};
         Outcome o = result(c.need(c.api.FechaCupom, "FechaCupom")(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, unused, resultArray));
         o.out["result"] = fromVariant(resultArray);
         return o;
       }},
      {"Cancela_Cupom_Imp", P{{"values", Kind::Positions}}, "result",
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::Variant resultArray{ecf::Variant::Array(1)};
         Outcome o = result(c.need(c.api.Cancela_Cupom_Imp, "Cancela_Cupom_Imp")(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, resultArray));
         o.out["result"] = fromVariant(resultArray);
         return o;
       }},
      {"Abre_Gaveta_Imp", P{{"scheme", T}, {"unused", B}}, "",
       [](Call& c) {
         return result(c.need(c.api.Abre_Gaveta_Imp, "Abre_Gaveta_Imp")(c.text(0), c.boolean(1)));
       }},
      {"Guilhotina", P{{"scheme", T}, {"cutKind", I}}, "",
       [](Call& c) {
         return result(c.need(c.api.Guilhotina, "Guilhotina")(c.text(0), c.integer(1)));
       }},
      // ---- reports, cash, non-fiscal receipts ----
      {"Relatorio_Gerencial_Imp", P{{"scheme", T}, {"unused2", T}, {"unused3", T}, {"unused4", T}},
       "",
       [](Call& c) {
         return result(c.need(c.api.Relatorio_Gerencial_Imp, "Relatorio_Gerencial_Imp")(
             c.text(0), c.text(1), c.text(2), c.text(3)));
       }},
      {"Usa_CompNFis", P{{"scheme", T}, {"text", T}}, "",
       [](Call& c) {
         return result(c.need(c.api.Usa_CompNFis, "Usa_CompNFis")(c.text(0), c.text(1)));
       }},
      {"FechRelatGerenc", P{{"scheme", T}, {"unused1", B}, {"unused2", B}}, "",
       [](Call& c) {
         return result(c.need(c.api.FechRelatGerenc, "FechRelatGerenc")(c.text(0), c.boolean(1),
                                                                        c.boolean(2)));
       }},
      {"Suprimento", P{{"scheme", T}, {"amount", N}}, "",
       [](Call& c) {
         return result(c.need(c.api.Suprimento, "Suprimento")(c.text(0), c.number(1)));
       }},
      {"Sangria", P{{"unused", T}, {"scheme", T}, {"amount", N}, {"unusedDataset", Kind::Dataset}},
       "",
       [](Call& c) {
         ecf::Dataset unused = c.dataset(3);
         return result(c.need(c.api.Sangria, "Sangria")(c.text(0), c.text(1), c.number(2), unused));
       }},
      {"Cupom_NFiscNVinc",
       P{{"scheme", T}, {"totalizerCode", T}, {"amount", T}, {"paymentMethod", T}, {"unused", T}},
       "",
       [](Call& c) {
         return result(c.need(c.api.Cupom_NFiscNVinc, "Cupom_NFiscNVinc")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4)));
       }},
      // ---- the day's close ----
      {"Leitura_X_Imp", P{{"unused1", T}, {"scheme", T}, {"unused3", T}}, "",
       [](Call& c) {
         return result(
             c.need(c.api.Leitura_X_Imp, "Leitura_X_Imp")(c.text(0), c.text(1), c.text(2)));
       }},
      {"Reducao_Z_Imp", P{{"unused1", T}, {"scheme", T}, {"unused3", T}}, "",
       [](Call& c) {
         return result(
             c.need(c.api.Reducao_Z_Imp, "Reducao_Z_Imp")(c.text(0), c.text(1), c.text(2)));
       }},
      {"Estado_HorVerao", P{{"scheme", T}}, "",
       [](Call& c) { return result(c.need(c.api.Estado_HorVerao, "Estado_HorVerao")(c.text(0))); }},
      {"Muda_Horario", P{{"scheme", T}}, "",
       [](Call& c) { return result(c.need(c.api.Muda_Horario, "Muda_Horario")(c.text(0))); }},
      // ---- restaurant tickets, pre-formatted texts, listings, identification ----
      // A data packet is written like a dataset and handed over as its content.
      {"Abertura_Mesa",
       P{{"unused1", T},
         {"scheme", T},
         {"unused3", T},
         {"table", T},
         {"unused5", T},
         {"issued", T},
         {"items", Kind::Dataset},
         {"discount", N},
         {"unused9", N},
         {"unused10", N},
         {"serviceCharge", N},
         {"unused12", N},
         {"total", N},
         {"surcharge", N}},
       "",
       [](Call& c) {
         const ecf::Variant items{c.dataset(6).data()};
         return result(c.need(c.api.Abertura_Mesa, "Abertura_Mesa")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), items, c.number(7),
             c.number(8), c.number(9), c.number(10), c.number(11), c.number(12), c.number(13)));
       }},
      {"RegistroVenda",
       P{{"passThrough1", T},
         {"passThrough2", T},
         {"scheme", T},
         {"items", Kind::Dataset},
         {"number", T}},
       "",
       [](Call& c) {
         const ecf::Dataset items = c.dataset(3);
         return result(c.need(c.api.RegistroVenda, "RegistroVenda")(c.text(0), c.text(1),
                                                                    c.text(2), items, c.text(4)));
       }},
      {"Conferencia_Formatada",
       P{{"scheme", T}, {"passThrough1", T}, {"passThrough2", T}, {"unused4", T}, {"document", T}},
       "receiptCounter",
       [](Call& c) {
         std::string counter;
         Outcome o = result(c.need(c.api.Conferencia_Formatada, "Conferencia_Formatada")(
             c.text(0), c.text(1), c.text(2), c.text(3), counter, c.text(4)));
         o.out["receiptCounter"] = counter;
         return o;
       }},
      {"Cupom_Troca", P{{"scheme", T}, {"passThrough1", T}, {"passThrough2", T}, {"document", T}},
       "",
       [](Call& c) {
         return result(c.need(c.api.Cupom_Troca, "Cupom_Troca")(c.text(0), c.text(1), c.text(2),
                                                                c.text(3)));
       }},
      {"GeraCatGenerica",
       P{{"values", Kind::Positions}, {"number", I}, {"list", Kind::StringList}}, "list",
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::StringList list = c.strings(2);
         Outcome o = result(c.need(c.api.GeraCatGenerica, "GeraCatGenerica")(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, c.integer(1), list));
         o.out["list"] = Json(list.items());
         return o;
       }},
      {"imprimeTipoRece",
       P{{"passThrough1", T}, {"passThrough2", T}, {"scheme", T}, {"packet", Kind::Dataset}}, "",
       [](Call& c) {
         c.need(c.api.imprimeTipoRece, "imprimeTipoRece")(c.text(0), c.text(1), c.text(2),
                                                          ecf::Variant(c.dataset(3).data()));
         return none();
       }},
      {"ImprimeMesasAbertas",
       P{{"unused", Kind::Dataset},
         {"passThrough1", T},
         {"passThrough2", T},
         {"scheme", T},
         {"packet", Kind::Dataset}},
       "",
       [](Call& c) {
         ecf::Dataset unused = c.dataset(0);
         return result(c.need(c.api.ImprimeMesasAbertas, "ImprimeMesasAbertas")(
             unused, c.text(1), c.text(2), c.text(3), ecf::Variant(c.dataset(4).data())));
       }},
      {"imprimeProdutosTransf",
       P{{"passThrough1", T}, {"passThrough2", T}, {"scheme", T}, {"packet", Kind::Dataset}}, "",
       [](Call& c) {
         c.need(c.api.imprimeProdutosTransf, "imprimeProdutosTransf")(
             c.text(0), c.text(1), c.text(2), ecf::Variant(c.dataset(3).data()));
         return none();
       }},
      {"ImprimeDadosPaf", P{{"values", Kind::Positions}, {"unused", Kind::Dataset}}, "",
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::Variant unused{c.dataset(1).data()};
         c.need(c.api.ImprimeDadosPaf, "ImprimeDadosPaf")(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, unused);
         return none();
       }},
      // ---- consumer account documents ----
      {"Cabecalho",
       P{{"passThrough", T},
         {"scheme", T},
         {"title", T},
         {"cashRegister", T},
         {"unused5", T},
         {"unused6", T}},
       "",
       [](Call& c) {
         c.need(c.api.Cabecalho, "Cabecalho")(c.text(0), c.text(1), c.text(2), c.text(3),
                                              c.text(4), c.text(5));
         return none();
       }},
      {"Extrato",
       P{{"passThrough", T},
         {"scheme", T},
         {"configuration", Kind::Dataset},
         {"families", Kind::Dataset},
         {"movements", Kind::Dataset},
         {"saleItems", Kind::Dataset},
         {"familyBalances", Kind::Dataset},
         {"unused8", T},
         {"title", T},
         {"cashRegister", T},
         {"headingText1", T},
         {"headingText2", T},
         {"detailMovements", Kind::Dataset}},
       "",
       [](Call& c) {
         const ecf::Dataset configuration = c.dataset(2);
         ecf::Dataset families = c.dataset(3);
         ecf::Dataset movements = c.dataset(4);
         ecf::Dataset saleItems = c.dataset(5);
         ecf::Dataset familyBalances = c.dataset(6);
         ecf::Dataset detailMovements = c.dataset(12);
         return result(c.need(c.api.Extrato, "Extrato")(
             c.text(0), c.text(1), configuration, families, movements, saleItems, familyBalances,
             c.text(7), c.text(8), c.text(9), c.text(10), c.text(11), detailMovements));
       }},
      {"ImpSaldo",
       P{{"scheme", T},
         {"balances", Kind::Dataset},
         {"identification1", T},
         {"identification2", T}},
       "",
       [](Call& c) {
         ecf::Dataset balances = c.dataset(1);
         return result(
             c.need(c.api.ImpSaldo, "ImpSaldo")(c.text(0), balances, c.text(2), c.text(3)));
       }},
      {"SaldoNegativo",
       P{{"passThrough", T},
         {"scheme", T},
         {"consumerTypes", Kind::Dataset},
         {"consumers", Kind::Dataset},
         {"title", T},
         {"cashRegister", T},
         {"unused7", T},
         {"unused8", T}},
       "",
       [](Call& c) {
         ecf::Dataset types = c.dataset(2);
         ecf::Dataset consumers = c.dataset(3);
         return result(c.need(c.api.SaldoNegativo, "SaldoNegativo")(
             c.text(0), c.text(1), types, consumers, c.text(4), c.text(5), c.text(6), c.text(7)));
       }},
      {"ImprimeProdBloq",
       P{{"passThrough1", T}, {"passThrough2", T}, {"scheme", T}, {"products", Kind::Dataset}},
       "",
       [](Call& c) {
         ecf::Dataset products = c.dataset(3);
         return result(c.need(c.api.ImprimeProdBloq, "ImprimeProdBloq")(c.text(0), c.text(1),
                                                                        c.text(2), products));
       }},
      {"Saldo_CredPessoal",
       P{{"passThrough1", T},
         {"passThrough2", T},
         {"scheme", T},
         {"title", T},
         {"balances", Kind::Dataset}},
       "",
       [](Call& c) {
         ecf::Dataset balances = c.dataset(4);
         c.need(c.api.Saldo_CredPessoal, "Saldo_CredPessoal")(c.text(0), c.text(1), c.text(2),
                                                              c.text(3), balances);
         return none();
       }},
      // ---- fiscal day closing: detail-memory reading and the Z data export ----
      {"Memoria_Fiscal_Imp",
       P{{"scheme", T}, {"kind", T}, {"start", T}, {"end", T}, {"unused", T}}, "",
       [](Call& c) {
         return result(c.need(c.api.Memoria_Fiscal_Imp, "Memoria_Fiscal_Imp")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4)));
       }},
      {"DataMoviFiscal", P{{"scheme", T}}, "",
       [](Call& c) {
         return Outcome{dateTimeText(c.need(c.api.DataMoviFiscal, "DataMoviFiscal")(c.text(0)))};
       }},
      {"ExportRedZ",
       P{{"unused1", T},
         {"scheme", T},
         {"ecfNumber", T},
         {"unused4", I},
         {"paymentTypes", Kind::Dataset},
         {"dayRecord", Kind::Dataset},
         {"paymentTotals", Kind::Dataset},
         {"taxTotals", Kind::Dataset},
         {"nonFiscalTotals", Kind::Dataset}},
       "dayRecord, paymentTotals, taxTotals, nonFiscalTotals",
       [](Call& c) {
         const ecf::Dataset types = c.dataset(4);
         ecf::Dataset day = c.dataset(5);
         ecf::Dataset payments = c.dataset(6);
         ecf::Dataset taxes = c.dataset(7);
         ecf::Dataset nonFiscal = c.dataset(8);
         Outcome o = result(c.need(c.api.ExportRedZ, "ExportRedZ")(
             c.text(0), c.text(1), c.text(2), c.integer(3), types, day, payments, taxes,
             nonFiscal));
         o.out["dayRecord"] = fromPacket(day.data());
         o.out["paymentTotals"] = fromPacket(payments.data());
         o.out["taxTotals"] = fromPacket(taxes.data());
         o.out["nonFiscalTotals"] = fromPacket(nonFiscal.data());
         return o;
       }},
      // ---- linked, card-transaction and consumer vouchers ----
      {"Abre_Comp_NFiscalVinc",
       P{{"scheme", T}, {"paymentMethod", T}, {"amount", T}, {"coo", T}}, "",
       [](Call& c) {
         return result(c.need(c.api.Abre_Comp_NFiscalVinc, "Abre_Comp_NFiscalVinc")(
             c.text(0), c.text(1), c.text(2), c.text(3)));
       }},
      {"ImprimeTef",
       P{{"unused1", T}, {"reportText2", T}, {"reportText3", T}, {"scheme", T},
         {"vouchers", Kind::StringList}, {"secondCopies", Kind::StringList},
         {"unused7", Kind::StringList}, {"unused8", Kind::StringList}, {"coo", T},
         {"unused10", T}, {"unused11", T}, {"unused12", N}, {"unused13", N},
         {"printingMode", I}, {"unused15", T}, {"transactionKind", T}},
       "",
       [](Call& c) {
         const ecf::StringList vouchers = c.strings(4), copies = c.strings(5),
                               unused7 = c.strings(6), unused8 = c.strings(7);
         return result(c.need(c.api.ImprimeTef, "ImprimeTef")(
             c.text(0), c.text(1), c.text(2), c.text(3), vouchers, copies, unused7, unused8,
             c.text(8), c.text(9), c.text(10), c.number(11), c.number(12), c.integer(13),
             c.text(14), c.text(15)));
       }},
      // The products (a data packet) are given as a dataset.
      {"Comp_DebitoCons",
       P{{"scheme", T}, {"products", Kind::Dataset}, {"saleTotal", N}, {"unused4", T},
         {"consumerCode", T}, {"consumerName", T}, {"customer", T}, {"customerLine2", T},
         {"orderPassword", T}, {"balanceBefore", N}, {"subsidy", N}, {"unused12", N},
         {"balanceMode", T}, {"unused14", T}, {"unused15", T}, {"unused16", T},
         {"unused17", T}, {"unused18", Kind::Dataset}},
       "",
       [](Call& c) {
         const ecf::Variant products{c.dataset(1).data()};
         const ecf::Variant unused18{c.dataset(17).data()};
         return result(c.need(c.api.Comp_DebitoCons, "Comp_DebitoCons")(
             c.text(0), products, c.number(2), c.text(3), c.text(4), c.text(5), c.text(6),
             c.text(7), c.text(8), c.number(9), c.number(10), c.number(11), c.text(12),
             c.text(13), c.text(14), c.text(15), c.text(16), unused18));
       }},
      {"Compr_CredPessoal",
       P{{"unused1", T}, {"unused2", T}, {"unused3", T}, {"unused4", T}, {"unused5", T},
         {"scheme", T}, {"unused7", T}, {"unused8", T}, {"payments", Kind::Dataset},
         {"balanceBefore", N}, {"consumerName", T}, {"depositNumber", T}, {"unused13", T},
         {"unused14", T}, {"unused15", T}, {"unused16", T}, {"unused17", T}, {"unused18", T},
         {"unused19", T}, {"unused20", T}, {"unused21", T}, {"unused22", T}, {"unused23", T},
         {"unused24", T}, {"unused25", B}, {"familyName", T}, {"unused27", T}},
       "",
       [](Call& c) {
         std::string unused7 = c.text(6), unused8 = c.text(7);
         ecf::Dataset payments = c.dataset(8);
         return result(c.need(c.api.Compr_CredPessoal, "Compr_CredPessoal")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), unused7, unused8,
             payments, c.number(9), c.text(10), c.text(11), c.text(12), c.text(13), c.text(14),
             c.text(15), c.text(16), c.text(17), c.text(18), c.text(19), c.text(20), c.text(21),
             c.text(22), c.text(23), c.boolean(24), c.text(25), c.text(26)));
       }},
      {"Cancela_Cred_Pessoal",
       P{{"totalizerCode", T}, {"unused2", T}, {"reportText3", T}, {"reportText4", T},
         {"scheme", T}, {"unused6", T}, {"depositNumber", T}, {"customer", T},
         {"consumerName", T}, {"unused10", T}, {"paymentMethod", T}, {"amount", N},
         {"finalBalance", N}, {"familyName", T}},
       "",
       [](Call& c) {
         std::string unused6 = c.text(5);
         return result(c.need(c.api.Cancela_Cred_Pessoal, "Cancela_Cred_Pessoal")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), unused6, c.text(6),
             c.text(7), c.text(8), c.text(9), c.text(10), c.number(11), c.number(12),
             c.text(13)));
       }},
      // ---- product report and cash closing ----
      {"Relatorio_Produto",
       P{{"unused1", T},
         {"unused2", T},
         {"unused3", T},
         {"openText4", T},
         {"openText5", T},
         {"coo", T},
         {"products", Kind::Dataset},
         {"confirmation", T},
         {"layout", T},
         {"scheme", T},
         {"reportSeries", B}},
       "coo, reportSeries",
       [](Call& c) {
         std::string coo = c.text(5);
         const ecf::Dataset products = c.dataset(6);
         bool reportSeries = c.boolean(10);
         c.need(c.api.Relatorio_Produto, "Relatorio_Produto")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), coo, products, c.text(7),
             c.text(8), c.text(9), reportSeries);
         Outcome o = none();
         o.out["coo"] = coo;
         o.out["reportSeries"] = reportSeries;
         return o;
       }},
      {"GeraReciboSangria",
       P{{"unused1", T},
         {"productText2", T},
         {"openText3", T},
         {"openText4", T},
         {"ecfNumber", T},
         {"exportNumber", I},
         {"coo", T},
         {"envelopes", Kind::Dataset},
         {"withdrawals", Kind::Dataset},
         {"shiftProducts", Kind::Dataset},
         {"people", Kind::Dataset},
         {"dayMovements", Kind::Dataset},
         {"shiftMovements", Kind::Dataset},
         {"dayProducts", Kind::Dataset},
         {"unused15", Kind::DateTime},
         {"printReceipt", B},
         {"reductionAllowed1", B},
         {"unused18", B},
         {"paymentTypes", Kind::Dataset},
         {"productConfirmation", T},
         {"productLayout", T},
         {"xReading", T},
         {"envelopeColumn", T},
         {"scheme", T},
         {"withdrawalOnly", B},
         {"reprint", B},
         {"reductionAllowed2", B},
         {"motive", T},
         {"observation", T}},
       "coo, zDay, zPayments, zTaxes, zNonFiscal, zSaved",
       [](Call& c) {
         std::string coo = c.text(6);
         const ecf::Dataset envelopes = c.dataset(7), withdrawals = c.dataset(8),
                            shiftProducts = c.dataset(9), people = c.dataset(10),
                            dayMovements = c.dataset(11), shiftMovements = c.dataset(12),
                            dayProducts = c.dataset(13), paymentTypes = c.dataset(18);
         ecf::Dataset zDay("zDay"), zPayments("zPayments"), zTaxes("zTaxes"),
             zNonFiscal("zNonFiscal");
         bool zSaved = false;
         Outcome o = result(c.need(c.api.GeraReciboSangria, "GeraReciboSangria")(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.integer(5), coo, envelopes,
             withdrawals, shiftProducts, people, dayMovements, shiftMovements, dayProducts,
             c.dateTime(14), c.boolean(15), c.boolean(16), c.boolean(17), zDay, zPayments, zTaxes,
             zNonFiscal, zSaved, paymentTypes, c.text(19), c.text(20), c.text(21), c.text(22),
             c.text(23), c.boolean(24), c.boolean(25), c.boolean(26), c.text(27), c.text(28)));
         o.out["coo"] = coo;
         o.out["zDay"] = fromPacket(zDay.data());
         o.out["zPayments"] = fromPacket(zPayments.data());
         o.out["zTaxes"] = fromPacket(zTaxes.data());
         o.out["zNonFiscal"] = fromPacket(zNonFiscal.data());
         o.out["zSaved"] = zSaved;
         return o;
       }},
  };
}

}  // namespace

const Json& Call::arg(std::size_t i) const { return args_.at(i); }

void Call::wrong(std::size_t i, const char* wanted) const {
  throw ScenarioError(operation_ + ": argument " + std::to_string(i + 1) + " (" +
                      params_.at(i).name + ") must be " + wanted + ", not " +
                      brief(args_.at(i), 60));
}

std::string Call::text(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_string()) wrong(i, "a text");
  return value.get<std::string>();
}

double Call::number(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_number()) wrong(i, "a number");
  return value.get<double>();
}

std::int32_t Call::integer(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_number_integer()) wrong(i, "a whole number");
  const auto number = value.get<std::int64_t>();
  if (number < std::numeric_limits<std::int32_t>::min() ||
      number > std::numeric_limits<std::int32_t>::max()) {
    wrong(i, "a 32-bit whole number");
  }
  return static_cast<std::int32_t>(number);
}

bool Call::boolean(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_boolean()) wrong(i, "true or false");
  return value.get<bool>();
}

ecf::Variant Call::bag(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_object()) wrong(i, "a bag {\"FIELD\": value, ...}");
  if (!bagDefaults_.is_object() || bagDefaults_.empty()) return toBag(value, tables_);
  Json merged = bagDefaults_;
  for (const auto& [name, fieldValue] : value.items()) merged[name] = fieldValue;
  return toBag(merged, tables_);
}

std::vector<ecf::Variant> Call::positions(std::size_t i) const {
  const Json& value = arg(i);
  if (!value.is_array() && !value.is_object()) wrong(i, "a positional array");
  return toPositions(value, tables_);
}

ecf::Dataset Call::dataset(std::size_t i) const {
  const Json& value = arg(i);
  ecf::Dataset dataset(std::string(params_.at(i).name));
  if (value.is_null()) return dataset;
  if (!value.is_object()) wrong(i, "a dataset {\"fields\": ..., \"rows\": ...}, a table or null");
  dataset.setData(toPacket(value, tables_));
  return dataset;
}

ecf::StringList Call::strings(std::size_t i) const {
  const Json& value = arg(i);
  ecf::StringList list;
  if (value.is_null()) return list;
  if (!value.is_array()) wrong(i, "a list of texts");
  for (const Json& item : value) {
    if (!item.is_string()) wrong(i, "a list of texts");
    list.add(item.get<std::string>());
  }
  return list;
}

ecf::DateTime Call::dateTime(std::size_t i) const {
  const Json& value = arg(i);
  if (value.is_null()) return ecf::DateTime();
  if (value.is_string()) return toDateTime(value.get<std::string>());
  if (value.is_object() && value.size() == 1 && value.contains("date") &&
      value["date"].is_string()) {
    return toDateTime(value["date"].get<std::string>());
  }
  wrong(i, "a date-time such as \"2026-12-08 10:15:00\" or {\"date\": ...}");
}

const std::vector<Operation>& operations() {
  static const std::vector<Operation> table = buildOperations();
  return table;
}

const Operation* findOperation(const std::string& name) {
  for (const Operation& operation : operations()) {
    if (name == operation.name) return &operation;
  }
  return nullptr;
}

std::string usage(const Operation& operation) {
  std::string text = std::string(operation.name) + "(";
  for (std::size_t i = 0; i < operation.params.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::string(operation.params[i].name) + ": " + kindName(operation.params[i].kind);
  }
  text += ")";
  if (*operation.writesBack != '\0') text += " -> out: " + std::string(operation.writesBack);
  return text;
}

Json bagToJson(const ecf::Variant& bag) {
  Json fields = Json::object();
  if (!bag.isArray()) return fields;
  for (const ecf::Variant& pair : bag.asArray()) {
    if (!pair.isArray() || pair.asArray().size() != 2) continue;
    fields[pair.asArray()[0].toText()] = fromVariant(pair.asArray()[1]);
  }
  return fields;
}

}  // namespace ecfhost

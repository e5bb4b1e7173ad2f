#include "capi/operation_table.h"

#include "ecf/datamodule.h"
#include "ecf/module.h"

namespace ecf::capi {
namespace {

Json moduleDataset(ecf::Dataset ecf::TdtmEcf01600::*member) {
  if (::dtmEcf01600 == nullptr) return nullptr;
  return fromPacket((::dtmEcf01600->*member).data());
}

// The seven totalizer codes the module publishes, under their variable names.
void addTotalizerIds(Json& out) {
  out["idTotParcSuprimento"] = ::idTotParcSuprimento;
  out["idTotParcSangria"] = ::idTotParcSangria;
  out["IdTotParcCV"] = ::IdTotParcCV;
  out["IdTotParcVCons"] = ::IdTotParcVCons;
  out["IdTotCompCred"] = ::IdTotCompCred;
  out["IdTotRelatorio"] = ::IdTotRelatorio;
  out["IdTotCancCred"] = ::IdTotCancCred;
}

Outcome result(bool value) { return Outcome{value}; }
Outcome result(const std::string& value) { return Outcome{value}; }
Outcome result(double value) { return Outcome{value}; }
Outcome none() { return Outcome{nullptr}; }

using P = std::vector<Param>;
using O = std::vector<Output>;
using R = ResultType;
constexpr Kind D = Kind::Dataset;
constexpr Direction InOut = Direction::InOut;
constexpr Kind T = Kind::Text;
constexpr Kind N = Kind::Number;
constexpr Kind I = Kind::Integer;
constexpr Kind B = Kind::Boolean;

std::vector<Operation> buildOperations() {
  return {
      // ---- session ----
      {"StartImpFiscal", R::Boolean, "Binds the driver, opens the port named in the bag and starts the session.", P{{"bag", Kind::Bag}}, O{},
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         return result(::StartImpFiscal(bag));
       }},
      {"FechaPorta", R::Boolean, "Closes the printer's port.", P{}, O{},
       [](Call&) { return result(::FechaPorta()); }},
      {"StopImpFiscal", R::None, "Ends the session and releases the driver.", P{}, O{},
       [](Call&) {
         ::StopImpFiscal();
         return none();
       }},
      {"Atu_TotGeral", R::Boolean, "Updates the grand-total file from the printer.", P{{"bag", Kind::Bag}}, O{},
       [](Call& c) { return result(::Atu_TotGeral(c.bag(0))); }},
      {"BuscaTotGer", R::Boolean, "Reads the printer's grand total.", P{{"scheme", T}}, O{{"grandTotal", T}},
       [](Call& c) {
         std::string total;
         Outcome o = result(::BuscaTotGer(c.text(0), total));
         o.out["grandTotal"] = total;
         return o;
       }},
      {"Data_Imp", R::Boolean, "Reads the printer's date and time.", P{{"scheme", T}}, O{{"printerDateTime", T}},
       [](Call& c) {
         std::string when;
         Outcome o = result(::Data_Imp(c.text(0), when));
         o.out["printerDateTime"] = when;
         return o;
       }},
      // ---- identity and status ----
      {"Carrega_Dados_Impressora", R::Boolean, "Fills the bag with the printer's identity and counters.", P{{"bag", Kind::Bag, InOut}}, O{},
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         Outcome o =
             result(::Carrega_Dados_Impressora(bag));
         o.out["bag"] = bagToJson(bag);
         return o;
       }},
      {"Estado_Imp", R::Boolean, "Checks the printer's state.", P{{"scheme", T}, {"flag1", B}, {"flag2", B}}, O{},
       [](Call& c) {
         return result(
             ::Estado_Imp(c.text(0), c.boolean(1), c.boolean(2)));
       }},
      {"Nr_Cupom", R::Text, "Reads the current receipt counter (COO).", P{{"unused", T}, {"scheme", T}}, O{},
       [](Call& c) { return result(::Nr_Cupom(c.text(0), c.text(1))); }},
      {"Estado_Gaveta_Imp", R::Text, "Tells whether the cash drawer is open.", P{{"scheme", T}}, O{},
       [](Call& c) {
         return result(::Estado_Gaveta_Imp(c.text(0)));
       }},
      {"InfImpTerm", R::Boolean, "Reads the printer's terminal counter.", P{{"scheme", T}, {"unused1", T}, {"unused2", T}, {"unused3", T}}, O{{"counter", T}},
       [](Call& c) {
         std::string counter;
         Outcome o = result(::InfImpTerm(c.text(0), c.text(1), c.text(2),
                                                                   c.text(3), counter));
         o.out["counter"] = counter;
         return o;
       }},
      // ---- tables ----
      {"CarregaAliquota", R::None, "Loads the printer's tax rates into the data module.", P{{"scheme", T}, {"unused", Kind::Dataset}}, O{{"cdsAliqImpFis", D}},
       [](Call& c) {
         ecf::Dataset unused = c.dataset(1);
         ::CarregaAliquota(c.text(0), unused);
         Outcome o = none();
         o.out["cdsAliqImpFis"] = moduleDataset(&ecf::TdtmEcf01600::cdsAliqImpFis);
         return o;
       }},
      {"CarregaTotalizador", R::None, "Reads and programs the non-fiscal totalizers.",
       P{{"unused5", T}, {"scheme", T}, {"unused7", I}, {"unused8", Kind::Dataset}}, O{{"changeVoucherId", T}, {"consumerSaleId", T}, {"creditPurchaseId", T}, {"creditCancelId", T}, {"idTotParcSuprimento", T}, {"idTotParcSangria", T}, {"IdTotParcCV", T}, {"IdTotParcVCons", T}, {"IdTotCompCred", T}, {"IdTotRelatorio", T}, {"IdTotCancCred", T}},
       [](Call& c) {
         std::string changeVoucher, consumerSale, creditPurchase, creditCancel;
         std::string unused5 = c.text(0);
         ecf::Dataset unused8 = c.dataset(3);
         ::CarregaTotalizador(
             changeVoucher, consumerSale, creditPurchase, creditCancel, unused5, c.text(1),
             c.integer(2), unused8);
         Outcome o = none();
         o.out["changeVoucherId"] = changeVoucher;
         o.out["consumerSaleId"] = consumerSale;
         o.out["creditPurchaseId"] = creditPurchase;
         o.out["creditCancelId"] = creditCancel;
         addTotalizerIds(o.out);
         return o;
       }},
      {"VerificaTotalizador", R::Boolean, "Checks that the non-fiscal totalizers are programmed.", P{}, O{},
       [](Call&) { return result(::VerificaTotalizador()); }},
      {"CarregaRecebimento", R::None, "Programs the payment methods of the dataset in the printer.",
       P{{"unused1", T}, {"scheme", T}, {"unused3", I}, {"paymentTypes", Kind::Dataset, InOut}}, O{},
       [](Call& c) {
         ecf::Dataset types = c.dataset(3);
         ::CarregaRecebimento(c.text(0), c.text(1), c.integer(2),
                                                                types);
         Outcome o = none();
         o.out["paymentTypes"] = fromPacket(types.data());
         return o;
       }},
      {"Config_FormaPg", R::Boolean, "Programs one payment method.", P{{"scheme", T}, {"name", T}, {"flag1", B}, {"flag2", B}}, O{},
       [](Call& c) {
         return result(::Config_FormaPg(c.text(0), c.text(1),
                                                                      c.boolean(2), c.boolean(3)));
       }},
      // ---- the fiscal receipt ----
      {"AbreCupom", R::Boolean, "Opens a fiscal receipt.", P{{"bag", Kind::Bag}}, O{},
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         return result(::AbreCupom(bag));
       }},
      {"VendaItem", R::Boolean, "Sells one item on the open receipt.", P{{"bag", Kind::Bag}}, O{},
       [](Call& c) {
         ecf::Variant bag = c.bag(0);
         return result(::VendaItem(bag));
       }},
      {"Cancela_UltimoItem", R::Boolean, "Cancels the last item sold.", P{{"scheme", T}}, O{},
       [](Call& c) {
         return result(::Cancela_UltimoItem(c.text(0)));
       }},
      {"Cancela_ItGenerico", R::Boolean, "Cancels an item by its number.",
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
         {"unused9", N}}, O{},
       [](Call& c) {
         return result(::Cancela_ItGenerico(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), c.text(6), c.text(7),
             c.text(8), c.number(9), c.number(10)));
       }},
      {"Acrescimo_Imp", R::Boolean, "Reads the receipt's surcharge total.", P{{"scheme", T}}, O{{"surchargeTotal", T}},
       [](Call& c) {
         std::string total;
         Outcome o = result(::Acrescimo_Imp(c.text(0), total));
         o.out["surchargeTotal"] = total;
         return o;
       }},
      {"FechaCupom", R::Boolean, "Totals, pays and closes the open receipt.", P{{"values", Kind::Positions}, {"unused", Kind::StringList}}, O{{"result", Kind::Positions}},
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::StringList unused = c.strings(1);
         ecf::Variant resultArray{ecf::Variant::Array(3)};
         Outcome o = result(::FechaCupom(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, unused, resultArray));
         o.out["result"] = fromVariant(resultArray);
         return o;
       }},
      {"Cancela_Cupom_Imp", R::Boolean, "Cancels the open or the last receipt.", P{{"values", Kind::Positions}}, O{{"result", Kind::Positions}},
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::Variant resultArray{ecf::Variant::Array(1)};
         Outcome o = result(::Cancela_Cupom_Imp(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, resultArray));
         o.out["result"] = fromVariant(resultArray);
         return o;
       }},
      {"Abre_Gaveta_Imp", R::Boolean, "Opens the cash drawer.", P{{"scheme", T}, {"unused", B}}, O{},
       [](Call& c) {
         return result(::Abre_Gaveta_Imp(c.text(0), c.boolean(1)));
       }},
      {"Guilhotina", R::Boolean, "Cuts the paper.", P{{"scheme", T}, {"cutKind", I}}, O{},
       [](Call& c) {
         return result(::Guilhotina(c.text(0), c.integer(1)));
       }},
      // ---- reports, cash, non-fiscal receipts ----
      {"Relatorio_Gerencial_Imp", R::Boolean, "Opens a management report.", P{{"scheme", T}, {"unused2", T}, {"unused3", T}, {"unused4", T}}, O{},
       [](Call& c) {
         return result(::Relatorio_Gerencial_Imp(
             c.text(0), c.text(1), c.text(2), c.text(3)));
       }},
      {"Usa_CompNFis", R::Boolean, "Prints a text on the open management report or voucher.", P{{"scheme", T}, {"text", T}}, O{},
       [](Call& c) {
         return result(::Usa_CompNFis(c.text(0), c.text(1)));
       }},
      {"FechRelatGerenc", R::Boolean, "Closes the open management report.", P{{"scheme", T}, {"unused1", B}, {"unused2", B}}, O{},
       [](Call& c) {
         return result(::FechRelatGerenc(c.text(0), c.boolean(1),
                                                                        c.boolean(2)));
       }},
      {"Suprimento", R::Boolean, "Records a cash supply (SUPRIMENTO).", P{{"scheme", T}, {"amount", N}}, O{},
       [](Call& c) {
         return result(::Suprimento(c.text(0), c.number(1)));
       }},
      {"Sangria", R::Boolean, "Records a cash withdrawal (SANGRIA).", P{{"unused", T}, {"scheme", T}, {"amount", N}, {"unusedDataset", Kind::Dataset}}, O{},
       [](Call& c) {
         ecf::Dataset unused = c.dataset(3);
         return result(::Sangria(c.text(0), c.text(1), c.number(2), unused));
       }},
      {"Cupom_NFiscNVinc", R::Boolean, "Prints a non-fiscal receipt on a totalizer.",
       P{{"scheme", T}, {"totalizerCode", T}, {"amount", T}, {"paymentMethod", T}, {"unused", T}}, O{},
       [](Call& c) {
         return result(::Cupom_NFiscNVinc(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4)));
       }},
      // ---- the day's close ----
      {"Leitura_X_Imp", R::Boolean, "Prints the X reading.", P{{"unused1", T}, {"scheme", T}, {"unused3", T}}, O{},
       [](Call& c) {
         return result(
             ::Leitura_X_Imp(c.text(0), c.text(1), c.text(2)));
       }},
      {"Reducao_Z_Imp", R::Boolean, "Prints the Z reduction, closing the fiscal day.", P{{"unused1", T}, {"scheme", T}, {"unused3", T}}, O{},
       [](Call& c) {
         return result(
             ::Reducao_Z_Imp(c.text(0), c.text(1), c.text(2)));
       }},
      {"Estado_HorVerao", R::Boolean, "Tells whether the printer is on daylight-saving time.", P{{"scheme", T}}, O{},
       [](Call& c) { return result(::Estado_HorVerao(c.text(0))); }},
      {"Muda_Horario", R::Boolean, "Switches the printer's daylight-saving time.", P{{"scheme", T}}, O{},
       [](Call& c) { return result(::Muda_Horario(c.text(0))); }},
      // ---- restaurant tickets, pre-formatted texts, listings, identification ----
      // A data packet is written like a dataset and handed over as its content.
      {"Abertura_Mesa", R::Boolean, "Prints a restaurant table's bill.",
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
         {"surcharge", N}}, O{},
       [](Call& c) {
         const ecf::Variant items{c.dataset(6).data()};
         return result(::Abertura_Mesa(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), items, c.number(7),
             c.number(8), c.number(9), c.number(10), c.number(11), c.number(12), c.number(13)));
       }},
      {"RegistroVenda", R::Boolean, "Prints a sale record from its items.",
       P{{"passThrough1", T},
         {"passThrough2", T},
         {"scheme", T},
         {"items", Kind::Dataset},
         {"number", T}}, O{},
       [](Call& c) {
         const ecf::Dataset items = c.dataset(3);
         return result(::RegistroVenda(c.text(0), c.text(1),
                                                                    c.text(2), items, c.text(4)));
       }},
      {"Conferencia_Formatada", R::Boolean, "Prints a pre-formatted conference text.",
       P{{"scheme", T}, {"passThrough1", T}, {"passThrough2", T}, {"unused4", T}, {"document", T}}, O{{"receiptCounter", T}},
       [](Call& c) {
         std::string counter;
         Outcome o = result(::Conferencia_Formatada(
             c.text(0), c.text(1), c.text(2), c.text(3), counter, c.text(4)));
         o.out["receiptCounter"] = counter;
         return o;
       }},
      {"Cupom_Troca", R::Boolean, "Prints a pre-formatted exchange voucher.", P{{"scheme", T}, {"passThrough1", T}, {"passThrough2", T}, {"document", T}}, O{},
       [](Call& c) {
         return result(::Cupom_Troca(c.text(0), c.text(1), c.text(2),
                                                                c.text(3)));
       }},
      {"GeraCatGenerica", R::Boolean, "Builds the lines of a generic listing.",
       P{{"values", Kind::Positions}, {"number", I}, {"list", Kind::StringList, InOut}}, O{},
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::StringList list = c.strings(2);
         Outcome o = result(::GeraCatGenerica(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, c.integer(1), list));
         o.out["list"] = Json(list.items());
         return o;
       }},
      {"imprimeTipoRece", R::None, "Prints the payment methods listing.",
       P{{"passThrough1", T}, {"passThrough2", T}, {"scheme", T}, {"packet", Kind::Dataset}}, O{},
       [](Call& c) {
         ::imprimeTipoRece(c.text(0), c.text(1), c.text(2),
                                                          ecf::Variant(c.dataset(3).data()));
         return none();
       }},
      {"ImprimeMesasAbertas", R::Boolean, "Prints the open tables listing.",
       P{{"unused", Kind::Dataset},
         {"passThrough1", T},
         {"passThrough2", T},
         {"scheme", T},
         {"packet", Kind::Dataset}}, O{},
       [](Call& c) {
         ecf::Dataset unused = c.dataset(0);
         return result(::ImprimeMesasAbertas(
             unused, c.text(1), c.text(2), c.text(3), ecf::Variant(c.dataset(4).data())));
       }},
      {"imprimeProdutosTransf", R::None, "Prints the transferred products listing.",
       P{{"passThrough1", T}, {"passThrough2", T}, {"scheme", T}, {"packet", Kind::Dataset}}, O{},
       [](Call& c) {
         ::imprimeProdutosTransf(
             c.text(0), c.text(1), c.text(2), ecf::Variant(c.dataset(3).data()));
         return none();
       }},
      {"ImprimeDadosPaf", R::None, "Prints the application's identification.", P{{"values", Kind::Positions}, {"unused", Kind::Dataset}}, O{},
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::Variant unused{c.dataset(1).data()};
         ::ImprimeDadosPaf(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, unused);
         return none();
       }},
      // ---- consumer account documents ----
      {"Cabecalho", R::None, "Opens a consumer account report with its heading.",
       P{{"passThrough", T},
         {"scheme", T},
         {"title", T},
         {"cashRegister", T},
         {"unused5", T},
         {"unused6", T}}, O{},
       [](Call& c) {
         ::Cabecalho(c.text(0), c.text(1), c.text(2), c.text(3),
                                              c.text(4), c.text(5));
         return none();
       }},
      {"Extrato", R::Boolean, "Prints a consumer account statement.",
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
         {"detailMovements", Kind::Dataset}}, O{},
       [](Call& c) {
         const ecf::Dataset configuration = c.dataset(2);
         ecf::Dataset families = c.dataset(3);
         ecf::Dataset movements = c.dataset(4);
         ecf::Dataset saleItems = c.dataset(5);
         ecf::Dataset familyBalances = c.dataset(6);
         ecf::Dataset detailMovements = c.dataset(12);
         return result(::Extrato(
             c.text(0), c.text(1), configuration, families, movements, saleItems, familyBalances,
             c.text(7), c.text(8), c.text(9), c.text(10), c.text(11), detailMovements));
       }},
      {"ImpSaldo", R::Boolean, "Prints consumer balances.",
       P{{"scheme", T},
         {"balances", Kind::Dataset},
         {"identification1", T},
         {"identification2", T}}, O{},
       [](Call& c) {
         ecf::Dataset balances = c.dataset(1);
         return result(
             ::ImpSaldo(c.text(0), balances, c.text(2), c.text(3)));
       }},
      {"SaldoNegativo", R::Boolean, "Prints the consumers with a negative balance.",
       P{{"passThrough", T},
         {"scheme", T},
         {"consumerTypes", Kind::Dataset},
         {"consumers", Kind::Dataset},
         {"title", T},
         {"cashRegister", T},
         {"unused7", T},
         {"unused8", T}}, O{},
       [](Call& c) {
         ecf::Dataset types = c.dataset(2);
         ecf::Dataset consumers = c.dataset(3);
         return result(::SaldoNegativo(
             c.text(0), c.text(1), types, consumers, c.text(4), c.text(5), c.text(6), c.text(7)));
       }},
      {"ImprimeProdBloq", R::Boolean, "Prints the blocked products.",
       P{{"passThrough1", T}, {"passThrough2", T}, {"scheme", T}, {"products", Kind::Dataset}}, O{},
       [](Call& c) {
         ecf::Dataset products = c.dataset(3);
         return result(::ImprimeProdBloq(c.text(0), c.text(1),
                                                                        c.text(2), products));
       }},
      {"Saldo_CredPessoal", R::None, "Prints personal-credit balances.",
       P{{"passThrough1", T},
         {"passThrough2", T},
         {"scheme", T},
         {"title", T},
         {"balances", Kind::Dataset}}, O{},
       [](Call& c) {
         ecf::Dataset balances = c.dataset(4);
         ::Saldo_CredPessoal(c.text(0), c.text(1), c.text(2),
                                                              c.text(3), balances);
         return none();
       }},
      // ---- fiscal day closing: detail-memory reading and the Z data export ----
      {"Memoria_Fiscal_Imp", R::Boolean, "Prints a fiscal memory reading by dates or counters.",
       P{{"scheme", T}, {"kind", T}, {"start", T}, {"end", T}, {"unused", T}}, O{},
       [](Call& c) {
         return result(::Memoria_Fiscal_Imp(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4)));
       }},
      {"DataMoviFiscal", R::DateTime, "The fiscal date of the day being closed.", P{{"scheme", T}}, O{},
       [](Call& c) {
         return Outcome{dateTimeText(::DataMoviFiscal(c.text(0)))};
       }},
      {"ExportRedZ", R::Boolean, "Exports the Z reduction's data into four datasets.",
       P{{"unused1", T},
         {"scheme", T},
         {"ecfNumber", T},
         {"unused4", I},
         {"paymentTypes", Kind::Dataset},
         {"dayRecord", Kind::Dataset, InOut},
         {"paymentTotals", Kind::Dataset, InOut},
         {"taxTotals", Kind::Dataset, InOut},
         {"nonFiscalTotals", Kind::Dataset, InOut}}, O{},
       [](Call& c) {
         const ecf::Dataset types = c.dataset(4);
         ecf::Dataset day = c.dataset(5);
         ecf::Dataset payments = c.dataset(6);
         ecf::Dataset taxes = c.dataset(7);
         ecf::Dataset nonFiscal = c.dataset(8);
         Outcome o = result(::ExportRedZ(
             c.text(0), c.text(1), c.text(2), c.integer(3), types, day, payments, taxes,
             nonFiscal));
         o.out["dayRecord"] = fromPacket(day.data());
         o.out["paymentTotals"] = fromPacket(payments.data());
         o.out["taxTotals"] = fromPacket(taxes.data());
         o.out["nonFiscalTotals"] = fromPacket(nonFiscal.data());
         return o;
       }},
      // ---- linked, card-transaction and consumer vouchers ----
      {"Abre_Comp_NFiscalVinc", R::Boolean, "Opens a voucher linked to a receipt's payment.",
       P{{"scheme", T}, {"paymentMethod", T}, {"amount", T}, {"coo", T}}, O{},
       [](Call& c) {
         return result(::Abre_Comp_NFiscalVinc(
             c.text(0), c.text(1), c.text(2), c.text(3)));
       }},
      {"ImprimeTef", R::Boolean, "Prints card-transaction vouchers.",
       P{{"unused1", T}, {"reportText2", T}, {"reportText3", T}, {"scheme", T},
         {"vouchers", Kind::StringList}, {"secondCopies", Kind::StringList},
         {"unused7", Kind::StringList}, {"unused8", Kind::StringList}, {"coo", T},
         {"unused10", T}, {"unused11", T}, {"unused12", N}, {"unused13", N},
         {"printingMode", I}, {"unused15", T}, {"transactionKind", T}}, O{},
       [](Call& c) {
         const ecf::StringList vouchers = c.strings(4), copies = c.strings(5),
                               unused7 = c.strings(6), unused8 = c.strings(7);
         return result(::ImprimeTef(
             c.text(0), c.text(1), c.text(2), c.text(3), vouchers, copies, unused7, unused8,
             c.text(8), c.text(9), c.text(10), c.number(11), c.number(12), c.integer(13),
             c.text(14), c.text(15)));
       }},
      // The products (a data packet) are given as a dataset.
      {"Comp_DebitoCons", R::Boolean, "Prints a consumer debit voucher.",
       P{{"scheme", T}, {"products", Kind::Dataset}, {"saleTotal", N}, {"unused4", T},
         {"consumerCode", T}, {"consumerName", T}, {"customer", T}, {"customerLine2", T},
         {"orderPassword", T}, {"balanceBefore", N}, {"subsidy", N}, {"unused12", N},
         {"balanceMode", T}, {"unused14", T}, {"unused15", T}, {"unused16", T},
         {"unused17", T}, {"unused18", Kind::Dataset}}, O{},
       [](Call& c) {
         const ecf::Variant products{c.dataset(1).data()};
         const ecf::Variant unused18{c.dataset(17).data()};
         return result(::Comp_DebitoCons(
             c.text(0), products, c.number(2), c.text(3), c.text(4), c.text(5), c.text(6),
             c.text(7), c.text(8), c.number(9), c.number(10), c.number(11), c.text(12),
             c.text(13), c.text(14), c.text(15), c.text(16), unused18));
       }},
      {"Compr_CredPessoal", R::Boolean, "Prints a personal-credit purchase voucher.",
       P{{"unused1", T}, {"unused2", T}, {"unused3", T}, {"unused4", T}, {"unused5", T},
         {"scheme", T}, {"unused7", T}, {"unused8", T}, {"payments", Kind::Dataset},
         {"balanceBefore", N}, {"consumerName", T}, {"depositNumber", T}, {"unused13", T},
         {"unused14", T}, {"unused15", T}, {"unused16", T}, {"unused17", T}, {"unused18", T},
         {"unused19", T}, {"unused20", T}, {"unused21", T}, {"unused22", T}, {"unused23", T},
         {"unused24", T}, {"unused25", B}, {"familyName", T}, {"unused27", T}}, O{},
       [](Call& c) {
         std::string unused7 = c.text(6), unused8 = c.text(7);
         ecf::Dataset payments = c.dataset(8);
         return result(::Compr_CredPessoal(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), unused7, unused8,
             payments, c.number(9), c.text(10), c.text(11), c.text(12), c.text(13), c.text(14),
             c.text(15), c.text(16), c.text(17), c.text(18), c.text(19), c.text(20), c.text(21),
             c.text(22), c.text(23), c.boolean(24), c.text(25), c.text(26)));
       }},
      {"Cancela_Cred_Pessoal", R::Boolean, "Prints a personal-credit cancellation voucher.",
       P{{"totalizerCode", T}, {"unused2", T}, {"reportText3", T}, {"reportText4", T},
         {"scheme", T}, {"unused6", T}, {"depositNumber", T}, {"customer", T},
         {"consumerName", T}, {"unused10", T}, {"paymentMethod", T}, {"amount", N},
         {"finalBalance", N}, {"familyName", T}}, O{},
       [](Call& c) {
         std::string unused6 = c.text(5);
         return result(::Cancela_Cred_Pessoal(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), unused6, c.text(6),
             c.text(7), c.text(8), c.text(9), c.text(10), c.number(11), c.number(12),
             c.text(13)));
       }},
      // ---- product report and cash closing ----
      {"Relatorio_Produto", R::None, "Prints the products report.",
       P{{"unused1", T},
         {"unused2", T},
         {"unused3", T},
         {"openText4", T},
         {"openText5", T},
         {"coo", T, InOut},
         {"products", Kind::Dataset},
         {"confirmation", T},
         {"layout", T},
         {"scheme", T},
         {"reportSeries", B, InOut}}, O{},
       [](Call& c) {
         std::string coo = c.text(5);
         const ecf::Dataset products = c.dataset(6);
         bool reportSeries = c.boolean(10);
         ::Relatorio_Produto(
             c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), coo, products, c.text(7),
             c.text(8), c.text(9), reportSeries);
         Outcome o = none();
         o.out["coo"] = coo;
         o.out["reportSeries"] = reportSeries;
         return o;
       }},
      {"GeraReciboSangria", R::Boolean, "Prints the cash-closing receipts and, if allowed, the Z reduction.",
       P{{"unused1", T},
         {"productText2", T},
         {"openText3", T},
         {"openText4", T},
         {"ecfNumber", T},
         {"exportNumber", I},
         {"coo", T, InOut},
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
         {"observation", T}}, O{{"zDay", D}, {"zPayments", D}, {"zTaxes", D}, {"zNonFiscal", D}, {"zSaved", B}},
       [](Call& c) {
         std::string coo = c.text(6);
         const ecf::Dataset envelopes = c.dataset(7), withdrawals = c.dataset(8),
                            shiftProducts = c.dataset(9), people = c.dataset(10),
                            dayMovements = c.dataset(11), shiftMovements = c.dataset(12),
                            dayProducts = c.dataset(13), paymentTypes = c.dataset(18);
         ecf::Dataset zDay("zDay"), zPayments("zPayments"), zTaxes("zTaxes"),
             zNonFiscal("zNonFiscal");
         bool zSaved = false;
         Outcome o = result(::GeraReciboSangria(
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
      // ---- the command layer, register reading, identity ----
      {"LimpaParametros", R::None, "Clears the driver's parameter list.", P{}, O{},
       [](Call&) {
         ::LimpaParametros();
         return none();
       }},
      {"StrToPChar", R::Text, "The text as the module hands it to the driver.", P{{"text", T}},
       O{}, [](Call& c) { return result(std::string(::StrToPChar(c.text(0)))); }},
      {"AnalisaRetorno", R::Boolean, "Judges a driver return code, optionally telling the operator.",
       P{{"scheme", T}, {"returnCode", I}, {"showMessage", B}, {"flag2", B}, {"flag3", B}}, O{},
       [](Call& c) {
         return result(
             ::AnalisaRetorno(c.text(0), c.integer(1), c.boolean(2), c.boolean(3), c.boolean(4)));
       }},
      {"ImpFisDebug", R::None, "Writes a line to the debug log.", P{{"text", T}}, O{},
       [](Call& c) {
         ::ImpFisDebug(c.text(0));
         return none();
       }},
      {"LeInteiro", R::Text, "Reads an integer register of the printer.",
       P{{"registerName", T}, {"showMessage", B}}, O{},
       [](Call& c) { return result(::LeInteiro(c.text(0), c.boolean(1))); }},
      {"LeMoeda", R::Text, "Reads an amount register of the printer.",
       P{{"registerName", T}, {"showMessage", B}}, O{},
       [](Call& c) { return result(::LeMoeda(c.text(0), c.boolean(1))); }},
      {"LeIndicadores", R::Boolean, "Reads the printer's status indicators.", P{{"selector", I}},
       O{}, [](Call& c) { return result(::LeIndicadores(c.integer(0))); }},
      {"GetValue", R::Number, "Reads an amount text of the printer.", P{{"amountText", T}}, O{},
       [](Call& c) { return result(::GetValue(c.text(0))); }},
      {"AbrePorta", R::Boolean, "Opens the printer's port named in the bag.",
       P{{"bag", Kind::Bag}}, O{}, [](Call& c) { return result(::AbrePorta(c.bag(0))); }},
      {"VerificaData", R::Boolean, "Checks the fiscal day's date against the printer's.",
       P{{"scheme", T},
         {"movementDate", Kind::DateTime, InOut},
         {"printerDateTime", T},
         {"movementDateText", T},
         {"readPrinter", B}},
       O{},
       [](Call& c) {
         ecf::DateTime movementDate = c.dateTime(1);
         Outcome o = result(
             ::VerificaData(c.text(0), movementDate, c.text(2), c.text(3), c.boolean(4)));
         o.out["movementDate"] = dateTimeText(movementDate);
         return o;
       }},
      {"VerificaSerialImp", R::Boolean, "Checks that the printer is the one the bag names.",
       P{{"bag", Kind::Bag}}, O{}, [](Call& c) { return result(::VerificaSerialImp(c.bag(0))); }},
      {"Codigo_Nacional_ECF", R::Text, "The national code of a printer model and firmware.",
       P{{"model", I}, {"firmwareVersion", T}}, O{},
       [](Call& c) { return result(::Codigo_Nacional_ECF(c.integer(0), c.text(1))); }},
      {"Versao_Software_Basico", R::Boolean, "Reads the printer's firmware version.",
       P{{"scheme", T}}, O{{"version", T}},
       [](Call& c) {
         std::string version;
         Outcome o = result(::Versao_Software_Basico(c.text(0), version));
         o.out["version"] = version;
         return o;
       }},
      {"DataHoraGravacaoUsuarioSWBasicoMFAdicional", R::Boolean,
       "Reads when the firmware was recorded, the user number and the additional memory.",
       P{{"scheme", T}}, O{{"dateTime", T}, {"user", T}, {"additionalMemory", T}},
       [](Call& c) {
         std::string when, user, memory;
         Outcome o = result(::DataHoraGravacaoUsuarioSWBasicoMFAdicional(c.text(0), when, user,
                                                                          memory));
         o.out["dateTime"] = when;
         o.out["user"] = user;
         o.out["additionalMemory"] = memory;
         return o;
       }},
      {"NumeroOperacoesNaoFiscais", R::Boolean, "Reads the non-fiscal operations counter.",
       P{{"scheme", T}}, O{{"count", T}},
       [](Call& c) {
         std::string count;
         Outcome o = result(::NumeroOperacoesNaoFiscais(c.text(0), count));
         o.out["count"] = count;
         return o;
       }},
      {"Retorno_Aliquotas_Imp", R::Boolean, "Reads the printer's tax rates.", P{{"scheme", T}},
       O{}, [](Call& c) { return result(::Retorno_Aliquotas_Imp(c.text(0))); }},
      {"Nomeia_TotParcial", R::Boolean, "Names a non-fiscal totalizer.",
       P{{"text1", T}, {"text2", T}, {"text3", T}, {"text4", T}, {"flag1", B}, {"flag2", B}},
       O{},
       [](Call& c) {
         return result(::Nomeia_TotParcial(c.text(0), c.text(1), c.text(2), c.text(3),
                                           c.boolean(4), c.boolean(5)));
       }},
      {"CodigoBarra", R::Boolean, "Prints a bar code.", P{{"unused1", T}, {"unused2", T}}, O{},
       [](Call& c) { return result(::CodigoBarra(c.text(0), c.text(1))); }},
      {"DadosUltimaRedZ", R::Boolean, "Reads the data of the last Z reduction.",
       P{{"values", Kind::Positions}, {"dataset", D, InOut}}, O{{"packet", D}},
       [](Call& c) {
         const std::vector<ecf::Variant> values = c.positions(0);
         ecf::Dataset dataset = c.dataset(1);
         ecf::Variant packet;
         Outcome o = result(::DadosUltimaRedZ(
             values.data(), static_cast<std::int32_t>(values.size()) - 1, packet, dataset));
         o.out["packet"] = fromVariant(packet);
         o.out["dataset"] = fromPacket(dataset.data());
         return o;
       }},
  };
}

}  // namespace

const std::vector<Operation>& operations() {
  static const std::vector<Operation> table = buildOperations();
  return table;
}

const Operation* findOperation(std::string_view name) {
  for (const Operation& operation : operations()) {
    if (name == operation.name) return &operation;
  }
  return nullptr;
}

}  // namespace ecf::capi

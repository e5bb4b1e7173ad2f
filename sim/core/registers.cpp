#include "core/registers.h"

#include "base/utf8.h"
#include "core/documents.h"
#include "core/errors.h"
#include "core/fiscal_day.h"
#include "core/receipt_math.h"

namespace ecfsim {
namespace {

constexpr int kFlagDayClosed = 32;
constexpr int kFlagDayOpen = 64;
constexpr int kFlagZPending = 128;
constexpr int kFlagNoPaper = 256;
constexpr int kFlagDocumentOpen = 1024;
constexpr int kFlagRegistrationsOk = 2048;
constexpr int kFlagClicheOk = 4096;
constexpr int kFlagOnLine = 8192;

// "TotalDiaNaoFiscal[3]" → base "TotalDiaNaoFiscal", index 3.
struct RegisterName {
  std::string base;
  bool indexed = false;
  long long index = 0;
};

RegisterName splitName(std::string_view name) {
  RegisterName out;
  const auto open = name.find('[');
  if (open == std::string_view::npos || name.empty() || name.back() != ']') {
    out.base = std::string(name);
    return out;
  }
  out.base = std::string(name.substr(0, open));
  const std::string_view digits = name.substr(open + 1, name.size() - open - 2);
  std::size_t i = digits.size() > 0 && digits[0] == '-' ? 1 : 0;
  if (i == digits.size() || digits.size() > 6) {
    out.base = std::string(name);  // not a well-formed index: an unknown name
    return out;
  }
  long long value = 0;
  for (; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') {
      out.base = std::string(name);
      return out;
    }
    value = value * 10 + (digits[i] - '0');
  }
  out.indexed = true;
  out.index = digits[0] == '-' ? -value : value;
  return out;
}

bool is(const RegisterName& name, std::string_view wanted) {
  return !name.indexed && ecf::equalsIgnoreCase(name.base, wanted);
}

bool isIndexed(const RegisterName& name, std::string_view wanted, long long low, long long high) {
  return name.indexed && ecf::equalsIgnoreCase(name.base, wanted) && name.index >= low &&
         name.index <= high;
}

}  // namespace

int fiscalState(const PrinterState& state) {
  const Document& doc = state.open;
  switch (doc.kind) {
    case DocKind::None: return 1;
    case DocKind::Fiscal:
      if (doc.payments.empty()) return 2;
      return paidTotal(doc) >= receiptTotal(doc) ? 8 : 4;
    case DocKind::NonFiscal: return 16;
    case DocKind::Report: return 32;
    case DocKind::Linked: return 64;
  }
  return 1;
}

int indicators(const PrinterState& state, const Date& today) {
  int flags = kFlagOnLine;
  if (!state.identity.header.empty()) flags |= kFlagClicheOk;
  if (!state.identity.cnpj.empty()) flags |= kFlagRegistrationsOk;
  if (state.open.kind != DocKind::None) flags |= kFlagDocumentOpen;
  if (state.conditions.paperOut) flags |= kFlagNoPaper;
  switch (dayStatus(state.day, today)) {
    case DayStatus::Open: flags |= kFlagDayOpen; break;
    case DayStatus::ZPending: flags |= kFlagDayOpen | kFlagZPending; break;
    case DayStatus::Closed: flags |= kFlagDayClosed; break;
    case DayStatus::NotOpen: break;
  }
  return flags;
}

std::optional<std::int64_t> integerRegister(const PrinterState& state, const DateTime& now,
                                            std::string_view text) {
  const RegisterName name = splitName(text);
  const Counters& c = state.counters;
  if (is(name, "EstadoFiscal")) return fiscalState(state);
  if (is(name, "Indicadores")) return indicators(state, now.date);
  if (is(name, "COO")) return c.coo;
  if (is(name, "GNF")) return c.gnf;
  if (is(name, "CCF")) return c.ccf;
  if (is(name, "CFC")) return c.cfc;
  if (is(name, "CRZ")) return c.crz;
  if (is(name, "CRO")) return c.cro;
  // The linked-voucher counter answers by both of its names.
  if (is(name, "CDC") || is(name, "CCD")) return c.cdc;
  if (is(name, "GRG")) return c.grg;
  if (is(name, "ECF")) return state.identity.ecfNumber;
  if (is(name, "COOInicioDia")) return c.cooStartOfDay;
  if (is(name, "NumeroItens")) return static_cast<std::int64_t>(state.open.items.size());
  // The restart counter in force at reduction n; 0 and the reduction to come give the
  // current one.
  if (isIndexed(name, "ContadorReinicioReducao", 0, c.crz + 1)) {
    if (name.index == 0 || name.index == c.crz + 1) return c.cro;
    for (const ZRecord& z : state.fiscalMemory) {
      if (z.crz == name.index) return z.cro;
    }
    return c.cro;
  }
  return std::nullopt;
}

std::optional<Cents> moneyRegister(const PrinterState& state, std::string_view text) {
  const RegisterName name = splitName(text);
  const DayTotals& t = state.totals;
  if (is(name, "GT")) return state.grandTotal;
  if (is(name, "TotalDiaVendaBruta")) return t.grossSales;
  if (is(name, "TotalDiaVendaLiquida")) return netSales(t);
  if (is(name, "TotalDiaCancelamentosICMS")) return t.cancelledIcms;
  if (is(name, "TotalDiaCancelamentosISSQN")) return t.cancelledIss;
  if (is(name, "TotalDiaCancelamentos")) return t.cancelledIcms + t.cancelledIss;
  if (is(name, "TotalDiaDescontosICMS")) return t.discountIcms;
  if (is(name, "TotalDiaDescontosISSQN")) return t.discountIss;
  if (is(name, "TotalDiaDescontos")) return t.discountIcms + t.discountIss;
  if (is(name, "TotalDiaAcrescimosICMS")) return t.surchargeIcms;
  if (is(name, "TotalDiaAcrescimosISSQN")) return t.surchargeIss;
  if (is(name, "TotalDiaAcrescimos")) return t.surchargeIcms + t.surchargeIss;
  if (is(name, "TotalDiaSubstituicaoTributariaICMS")) return t.substitution;
  if (is(name, "TotalDiaIsencaoICMS")) return t.exempt;
  if (is(name, "TotalDiaNaoTributadoICMS")) return t.notLevied;
  if (is(name, "TotalDiaImpostoICMS")) return taxOfKind(state, true);
  if (is(name, "TotalDiaImpostoISSQN")) return taxOfKind(state, false);
  if (is(name, "TotalDiaVendaISSQN")) return salesOfKind(state, false);
  if (is(name, "TotalDiaDinheiro")) return t.cash;
  if (is(name, "TotalDiaCancelamentosNaoFiscal")) return t.nonFiscalCancelled;
  if (is(name, "SubtotalCupom")) {
    return state.open.kind == DocKind::Fiscal ? receiptTotal(state.open) : 0;
  }
  if (isIndexed(name, "TotalDiaMeioPagamento", kCashMethod, kMethodSlots - 1)) {
    if (name.index == kCashMethod) return t.cash;
    if (name.index >= 0) return t.methods[static_cast<std::size_t>(name.index)];
  }
  if (isIndexed(name, "TotalDiaImpostoAliquota", 0, kTaxSlots - 1)) {
    return taxAtRate(state, static_cast<int>(name.index));
  }
  if (isIndexed(name, "TotalDiaVendaAliquota", 0, kTaxSlots - 1)) {
    return t.rateSales[static_cast<std::size_t>(name.index)];
  }
  if (isIndexed(name, "TotalDiaNaoFiscal", 0, kNonFiscalSlots - 1)) {
    return t.nonFiscal[static_cast<std::size_t>(name.index)];
  }
  return std::nullopt;
}

std::optional<std::string> dateRegister(const PrinterState& state, const DateTime& now,
                                        std::string_view text) {
  const RegisterName name = splitName(text);
  if (is(name, "Data")) return ddmmyy(now.date);
  if (is(name, "DataAbertura")) return state.day.open ? ddmmyy(state.day.openDate) : "000000";
  if (is(name, "DataUltimaReducaoZ")) {
    return state.day.reduced ? ddmmyy(state.day.lastReducedDate) : "000000";
  }
  return std::nullopt;
}

std::optional<std::string> timeRegister(const DateTime& now, std::string_view text) {
  if (is(splitName(text), "Hora")) return hhmmss(now);
  return std::nullopt;
}

std::optional<std::string> textRegister(const PrinterState& state, std::string_view text) {
  const RegisterName name = splitName(text);
  const Identity& id = state.identity;
  if (is(name, "NumeroSerieECF")) return id.serial;
  if (is(name, "ModeloECF")) return id.model;
  if (is(name, "VersaoSoftwareBasico")) return id.firmware;
  if (is(name, "CNPJ")) return id.cnpj;
  if (is(name, "IE")) return id.ie;
  if (is(name, "IM")) return id.im;
  return std::nullopt;
}

std::optional<bool> indicatorRegister(const PrinterState& state, const DateTime& now,
                                      std::string_view text) {
  const RegisterName name = splitName(text);
  const DayStatus day = dayStatus(state.day, now.date);
  if (is(name, "SensorGaveta")) return state.conditions.drawerSensor;
  if (is(name, "HorarioVerao")) return state.conditions.daylightSaving;
  if (is(name, "SemPapel")) return state.conditions.paperOut;
  if (is(name, "DocumentoAberto")) return state.open.kind != DocKind::None;
  if (is(name, "DiaAberto")) return day == DayStatus::Open || day == DayStatus::ZPending;
  if (is(name, "ReducaoZPendente")) return day == DayStatus::ZPending;
  return std::nullopt;
}

std::optional<std::string> registerText(const PrinterState& state, const DateTime& now,
                                        std::string_view name) {
  if (const auto v = integerRegister(state, now, name)) return std::to_string(*v);
  if (const auto v = moneyRegister(state, name)) return formatCents(*v);
  if (auto v = dateRegister(state, now, name)) return v;
  if (auto v = timeRegister(now, name)) return v;
  if (auto v = textRegister(state, name)) return v;
  if (const auto v = indicatorRegister(state, now, name)) return std::string(*v ? "1" : "0");
  return std::nullopt;
}

std::string integerReturn(std::int64_t value) { return "ValorInteiro=" + std::to_string(value); }
std::string moneyReturn(Cents value) { return "ValorMoeda=" + formatCents(value); }
std::string dateReturn(const std::string& value) { return "ValorData=\"" + value + "\""; }
std::string timeReturn(const std::string& value) { return "ValorHora=\"" + value + "\""; }
std::string textReturn(const std::string& value) { return "ValorTexto=\"" + value + "\""; }
// A nine-digit field, so the value always sits at the 24th character.
std::string indicatorReturn(bool value) {
  return std::string("ValorIndicador=00000000") + (value ? "1" : "0");
}

namespace {

[[noreturn]] void unknownRegister(const std::string& name) {
  throw CommandError(ErrorCode::RegistradorInexistente, "Registrador desconhecido: " + name + ".");
}

}  // namespace

void leInteiro(CommandContext& ctx) {
  const std::string name = ctx.args.requiredText("NomeInteiro");
  const auto value = integerRegister(ctx.state, ctx.now, name);
  if (!value) unknownRegister(name);
  ctx.returned = integerReturn(*value);
}

void leMoeda(CommandContext& ctx) {
  const std::string name = ctx.args.requiredText("NomeDadoMonetario");
  const auto value = moneyRegister(ctx.state, name);
  if (!value) unknownRegister(name);
  ctx.returned = moneyReturn(*value);
}

void leData(CommandContext& ctx) {
  const std::string name = ctx.args.requiredText("NomeData");
  const auto value = dateRegister(ctx.state, ctx.now, name);
  if (!value) unknownRegister(name);
  ctx.returned = dateReturn(*value);
}

void leHora(CommandContext& ctx) {
  const std::string name = ctx.args.requiredText("NomeHora");
  const auto value = timeRegister(ctx.now, name);
  if (!value) unknownRegister(name);
  ctx.returned = timeReturn(*value);
}

void leTexto(CommandContext& ctx) {
  const std::string name = ctx.args.requiredText("NomeTexto");
  const auto value = textRegister(ctx.state, name);
  if (!value) unknownRegister(name);
  ctx.returned = textReturn(*value);
}

void leIndicador(CommandContext& ctx) {
  const std::string name = ctx.args.requiredText("NomeIndicador");
  const auto value = indicatorRegister(ctx.state, ctx.now, name);
  if (!value) unknownRegister(name);
  ctx.returned = indicatorReturn(*value);
}

}  // namespace ecfsim

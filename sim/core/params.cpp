#include "core/params.h"

#include <limits>

#include "base/utf8.h"
#include "core/errors.h"

namespace ecfsim {
namespace {

// Values beyond this are not something any command prints or keeps.
constexpr std::size_t kMaxValueBytes = 1 << 20;

std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t low,
                                         std::int64_t high) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size() || text.size() - i > 12) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return value;
}

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUInt32Max = std::numeric_limits<std::uint32_t>::max();

bool isUnsignedType(int type) { return type == kInteiroSemSinal || type == kLongoSemSinal; }

// Unsigned values the module sends on purpose: the cash method's code -2, the fixed
// tax codes -2/-3/-4 (substitution, exempt, not taxed), and the daylight-saving entry
// written as TRUE or FALSE.
bool isKnownUnsignedException(std::string_view name, std::string_view value) {
  if (ecf::equalsIgnoreCase(name, "CodMeioPagamentoProgram") ||
      ecf::equalsIgnoreCase(name, "CodMeioPagamento")) {
    return value == "-2";
  }
  if (ecf::equalsIgnoreCase(name, "CodAliquota")) {
    return value == "-2" || value == "-3" || value == "-4";
  }
  if (ecf::equalsIgnoreCase(name, "EntradaHV")) {
    return ecf::equalsIgnoreCase(value, "TRUE") || ecf::equalsIgnoreCase(value, "FALSE");
  }
  return false;
}

bool valueFits(const Param& p) {
  const std::string_view v = p.value;
  switch (p.type) {
    case kIndicador: return parseIndicator(v).has_value();
    case kData: return parseSlashDate(v).has_value();
    case kHora: return parseClockTime(v).has_value();
    case kInteiro:
    case kLongo: return parseInteger(v, kInt32Min, kInt32Max).has_value();
    case kMoeda: return parseDecimal(v).has_value();
    case kTexto: return true;
    case kInteiroSemSinal:
    case kLongoSemSinal:
      return parseInteger(v, 0, kUInt32Max).has_value() || isKnownUnsignedException(p.name, v);
    default: return false;
  }
}

bool knownType(int type) {
  switch (type) {
    case kIndicador:
    case kData:
    case kHora:
    case kInteiro:
    case kLongo:
    case kMoeda:
    case kTexto:
    case kInteiroSemSinal:
    case kLongoSemSinal: return true;
    default: return false;
  }
}

[[noreturn]] void refuseMissing(std::string_view name) {
  throw CommandError(ErrorCode::ParametroAusente,
                     "Parâmetro obrigatório ausente: " + std::string(name) + ".");
}

[[noreturn]] void refuseType(const Param& p, const char* expected) {
  throw CommandError(ErrorCode::TipoParametroInvalido,
                     "O parâmetro " + p.name + " deve ser do tipo " + expected + " (recebido " +
                         std::to_string(p.type) + ").");
}

}  // namespace

std::optional<bool> parseIndicator(std::string_view value) {
  if (value.size() != 1) return std::nullopt;
  switch (value[0]) {
    case 'Y': case 'y': case 'S': case 's': case 'T': case 't': return true;
    case 'N': case 'n': case 'F': case 'f': return false;
    default: return std::nullopt;
  }
}

void validateParams(const std::vector<Param>& params) {
  for (const Param& p : params) {
    if (!knownType(p.type)) {
      throw CommandError(ErrorCode::TipoParametroInvalido,
                         "Tipo " + std::to_string(p.type) + " desconhecido no parâmetro " +
                             p.name + ".");
    }
    if (p.value.size() > kMaxValueBytes) {
      throw CommandError(ErrorCode::ParametroInvalido,
                         "Valor longo demais no parâmetro " + p.name + ".");
    }
    if (!p.value.empty() && !valueFits(p)) {
      throw CommandError(ErrorCode::ParametroInvalido,
                         "Valor \"" + p.value + "\" inválido para o parâmetro " + p.name +
                             " (tipo " + std::to_string(p.type) + ").");
    }
  }
}

const Param* Args::find(std::string_view name) const {
  for (auto it = params_.rbegin(); it != params_.rend(); ++it) {
    if (ecf::equalsIgnoreCase(it->name, name)) return it->value.empty() ? nullptr : &*it;
  }
  return nullptr;
}

std::optional<std::string> Args::text(std::string_view name) const {
  const Param* p = find(name);
  if (!p) return std::nullopt;
  if (p->type != kTexto) refuseType(*p, "texto (7)");
  return p->value;
}

std::string Args::requiredText(std::string_view name) const {
  auto value = text(name);
  if (!value) refuseMissing(name);
  return *value;
}

std::optional<bool> Args::indicator(std::string_view name) const {
  const Param* p = find(name);
  if (!p) return std::nullopt;
  if (p->type == kIndicador) return parseIndicator(p->value);
  // The daylight-saving entry comes as an unsigned "TRUE"/"FALSE"/"1"/"0".
  if (isUnsignedType(p->type)) {
    if (ecf::equalsIgnoreCase(p->value, "TRUE") || p->value == "1") return true;
    if (ecf::equalsIgnoreCase(p->value, "FALSE") || p->value == "0") return false;
  }
  refuseType(*p, "indicador (0)");
}

bool Args::requiredIndicator(std::string_view name) const {
  auto value = indicator(name);
  if (!value) refuseMissing(name);
  return *value;
}

std::optional<std::int64_t> Args::integer(std::string_view name) const {
  const Param* p = find(name);
  if (!p) return std::nullopt;
  if (p->type != kInteiro && p->type != kLongo && !isUnsignedType(p->type)) {
    refuseType(*p, "inteiro (4, 5, 9 ou 10)");
  }
  return parseInteger(p->value, kInt32Min, kUInt32Max);
}

std::int64_t Args::requiredInteger(std::string_view name) const {
  auto value = integer(name);
  if (!value) refuseMissing(name);
  return *value;
}

std::optional<Milli> Args::money(std::string_view name) const {
  const Param* p = find(name);
  if (!p) return std::nullopt;
  if (p->type != kMoeda) refuseType(*p, "moeda (6)");
  return parseDecimal(p->value);
}

Milli Args::requiredMoney(std::string_view name) const {
  auto value = money(name);
  if (!value) refuseMissing(name);
  return *value;
}

std::optional<Date> Args::date(std::string_view name) const {
  const Param* p = find(name);
  if (!p) return std::nullopt;
  if (p->type != kData) refuseType(*p, "data (2)");
  return parseSlashDate(p->value);
}

}  // namespace ecfsim

#include "core/tables.h"

#include <cstdio>

#include "base/utf8.h"
#include "core/errors.h"

namespace ecfsim {
namespace {

std::string twoDigitCode(long long code) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02lld", code);
  return buffer;
}

// Names are printed and returned between double quotes, so a quote inside one would
// break every reader of the returned text.
void checkName(const std::string& name, std::size_t maxChars, const char* what) {
  if (trimBlanks(name).empty()) {
    throw CommandError(ErrorCode::ParametroAusente, std::string("Nome do ") + what + " vazio.");
  }
  if (ecf::charCount(name) > maxChars || name.find('"') != std::string::npos) {
    throw CommandError(ErrorCode::ParametroInvalido,
                       std::string("Nome do ") + what + " inválido (até " +
                           std::to_string(maxChars) + " caracteres, sem aspas): " + name + ".");
  }
}

void checkDescription(const std::string& description) {
  if (ecf::charCount(description) > kDescriptionMax || description.find('"') != std::string::npos) {
    throw CommandError(ErrorCode::ParametroInvalido,
                       "Descrição inválida (até 40 caracteres, sem aspas): " + description + ".");
  }
}

template <class Slots>
int chooseCode(const Slots& slots, std::optional<long long> code, const char* what) {
  const auto size = static_cast<long long>(slots.size());
  if (!code) {
    for (long long i = 0; i < size; ++i) {
      if (!slots[static_cast<std::size_t>(i)].programmed) return static_cast<int>(i);
    }
    throw CommandError(ErrorCode::TabelaCheia, std::string("Tabela de ") + what + " cheia.");
  }
  if (*code < 0 || *code >= size) {
    bool full = true;
    for (const auto& slot : slots) full = full && slot.programmed;
    if (full) throw CommandError(ErrorCode::TabelaCheia, std::string("Tabela de ") + what + " cheia.");
    throw CommandError(ErrorCode::ValorForaDaFaixa,
                       "Código " + std::to_string(*code) + " fora da faixa 0 a " +
                           std::to_string(size - 1) + ".");
  }
  if (slots[static_cast<std::size_t>(*code)].programmed) {
    throw CommandError(ErrorCode::CodigoJaProgramado,
                       "Código " + twoDigitCode(*code) + " já programado em " + what + ".");
  }
  return static_cast<int>(*code);
}

}  // namespace

std::string trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

const PaymentMethod* Tables::method(long long code) const {
  if (code == kCashMethod) return &cash;
  if (code < 0 || code >= kMethodSlots) return nullptr;
  const PaymentMethod& m = methods[static_cast<std::size_t>(code)];
  return m.programmed ? &m : nullptr;
}

const NonFiscalTotalizer* Tables::totalizer(long long code) const {
  if (code < 0 || code >= kNonFiscalSlots) return nullptr;
  const NonFiscalTotalizer& t = nonFiscal[static_cast<std::size_t>(code)];
  return t.programmed ? &t : nullptr;
}

std::optional<int> Tables::findMethod(std::string_view name) const {
  const std::string wanted = trimBlanks(name);
  if (wanted.empty()) return std::nullopt;
  if (ecf::equalsIgnoreCase(trimBlanks(cash.name), wanted)) return kCashMethod;
  for (int i = 0; i < kMethodSlots; ++i) {
    const PaymentMethod& m = methods[static_cast<std::size_t>(i)];
    if (m.programmed && ecf::equalsIgnoreCase(trimBlanks(m.name), wanted)) return i;
  }
  return std::nullopt;
}

std::optional<int> Tables::findTotalizer(std::string_view name) const {
  const std::string wanted = trimBlanks(name);
  if (wanted.empty()) return std::nullopt;
  for (int i = 0; i < kNonFiscalSlots; ++i) {
    const NonFiscalTotalizer& t = nonFiscal[static_cast<std::size_t>(i)];
    if (t.programmed && ecf::equalsIgnoreCase(trimBlanks(t.name), wanted)) return i;
  }
  return std::nullopt;
}

int Tables::defineMethod(std::optional<long long> code, const std::string& name,
                         const std::string& description, bool allowsLinked) {
  if (code && *code == kCashMethod) {
    throw CommandError(ErrorCode::CodigoJaProgramado,
                       "O meio de pagamento -2 (" + cash.name + ") é fixo.");
  }
  checkName(name, kMethodNameMax, "meio de pagamento");
  checkDescription(description);
  if (findMethod(name)) {
    throw CommandError(ErrorCode::NomeDuplicado,
                       "Meio de pagamento já programado com o nome " + trimBlanks(name) + ".");
  }
  const int chosen = chooseCode(methods, code, "meios de pagamento");
  methods[static_cast<std::size_t>(chosen)] = PaymentMethod{true, name, description, allowsLinked};
  return chosen;
}

int Tables::defineTotalizer(std::optional<long long> code, const std::string& name,
                            const std::string& description, bool entry) {
  checkName(name, kNonFiscalNameMax, "totalizador não fiscal");
  checkDescription(description);
  if (findTotalizer(name)) {
    throw CommandError(ErrorCode::NomeDuplicado,
                       "Totalizador não fiscal já programado com o nome " + trimBlanks(name) + ".");
  }
  const int chosen = chooseCode(nonFiscal, code, "totalizadores não fiscais");
  nonFiscal[static_cast<std::size_t>(chosen)] = NonFiscalTotalizer{true, name, description, entry};
  return chosen;
}

bool isTaxCodeUsable(const Tables& tables, long long code, bool icms) {
  if (code == kTaxSubstitution || code == kTaxExempt || code == kTaxNotLevied) return icms;
  if (code < 0 || code >= kTaxSlots) return false;
  const TaxRate& rate = tables.taxRates[static_cast<std::size_t>(code)];
  return rate.programmed && rate.icms == icms;
}

bool isIcmsCode(const Tables& tables, int code) {
  if (code < 0 || code >= kTaxSlots) return true;
  return tables.taxRates[static_cast<std::size_t>(code)].icms;
}

std::string taxLabel(const Tables& tables, int code) {
  switch (code) {
    case kTaxSubstitution: return "F1";
    case kTaxExempt: return "I1";
    case kTaxNotLevied: return "N1";
    default: break;
  }
  return (isIcmsCode(tables, code) ? "T" : "S") + twoDigitCode(code);
}

}  // namespace ecfsim

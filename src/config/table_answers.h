// What the printer answers when asked for one row of its rate or non-fiscal totalizer
// table, read the same way by the configuration checks and by the Z export.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ecf {

// Non-fiscal totalizer names are kept and compared on this many characters: the
// longest name the system uses, "CONTRA-VALE EMITIDO".
constexpr int kNonFiscalNameWidth = 19;

// A LeAliquota answer's percentage: the five characters after "PercentualAliquota="
// (as "18,00"), untrimmed; nothing when the answer holds no percentage.
std::optional<std::string> ratePercentage(std::string_view returned);

// A LeNaoFiscal answer's totalizer name: its first 19 characters, trimmed.
std::string nonFiscalName(std::string_view returned);

}  // namespace ecf

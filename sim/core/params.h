// A command's named, typed parameters: each value arrives as text with a type code, is
// checked against that type, and is then read by the command through typed accessors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_time.h"
#include "core/money.h"

namespace ecfsim {

enum ParamType : int {
  kIndicador = 0,
  kData = 2,
  kHora = 3,
  kInteiro = 4,
  kLongo = 5,
  kMoeda = 6,
  kTexto = 7,
  kInteiroSemSinal = 9,
  kLongoSemSinal = 10,
};

struct Param {
  std::string name;   // as added; looked up ignoring case
  std::string value;  // UTF-8
  int type = kTexto;
};

// Refuses (CommandError) a parameter whose type code is unknown or whose value does not
// fit its type. An empty value always passes: it stands for an absent parameter.
void validateParams(const std::vector<Param>& params);

// Reads a validated parameter list. A parameter that is missing or empty is absent; the
// last one added wins when a name repeats. Accessors refuse a parameter sent under a
// type code of another family (a text where a number belongs, for instance).
class Args {
 public:
  explicit Args(const std::vector<Param>& params) : params_(params) {}

  bool has(std::string_view name) const { return find(name) != nullptr; }

  std::optional<std::string> text(std::string_view name) const;
  std::string requiredText(std::string_view name) const;
  std::optional<bool> indicator(std::string_view name) const;
  bool requiredIndicator(std::string_view name) const;
  std::optional<std::int64_t> integer(std::string_view name) const;
  std::int64_t requiredInteger(std::string_view name) const;
  std::optional<Milli> money(std::string_view name) const;
  Milli requiredMoney(std::string_view name) const;
  std::optional<Date> date(std::string_view name) const;

 private:
  const Param* find(std::string_view name) const;
  const std::vector<Param>& params_;
};

// Y/S/T/y/s/t are true, N/F/n/f false.
std::optional<bool> parseIndicator(std::string_view value);

}  // namespace ecfsim

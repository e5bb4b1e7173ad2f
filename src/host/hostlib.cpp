#include "host/hostlib.h"

#include <cstdio>
#include <cstdlib>

#include "base/cipher.h"
#include "base/decimal.h"
#include "base/textlayout.h"
#include "base/utf8.h"
#include "host/module_env.h"

namespace ecf {

const Variant& bagField(const Variant& bag, std::string_view field) {
  if (!bag.isArray()) throw BagError("Parâmetros da função não são um conjunto de campos.");
  if (const Variant* value = findBagField(bag, field)) return *value;
  throw BagError("Campo " + std::string(field) + " não encontrado nos parâmetros.");
}

Variant RecebeParams(const Variant& bag, std::string_view field) { return bagField(bag, field); }

std::string bagText(const Variant& bag, std::string_view field) {
  const Variant& value = bagField(bag, field);
  // A text field is repaired straight from the bag, with no copy in between.
  if (const std::string* text = value.textValue()) return repairUtf8(*text);
  return repairUtf8(value.toText(hostSettings()));
}

std::string bagTextLenient(const Variant& bag, std::string_view field) {
  try {
    return bagText(bag, field);
  } catch (const std::exception&) {
    return "";
  }
}

std::string Cripto(std::string_view text, int key) { return encipher(text, key); }
std::string Uncripto(std::string_view text, int key) { return decipher(text, key); }

std::string SubtDataHoraQel(const DateTime& later, const DateTime& earlier) {
  const long long millis = earlier.millisUntil(later);
  const long long minutes = std::llabs(millis) / 60000;
  char text[32];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld", millis < 0 ? "-" : "", minutes / 60,
                minutes % 60);
  return text;
}

double RoundDec(double value, int decimals) { return roundDec(value, decimals); }
double Trunc2(double value) { return trunc2(value); }
double Trunc3(double value) { return trunc3(value); }

bool EmptyString(std::string_view text) { return text.empty(); }
std::string TamFixo(std::string_view text, int width) { return padRight(text, width); }
std::string TamFixoR(std::string_view text, int width) { return padLeftFixed(text, width); }
std::string PadL(std::string_view text, int width) { return padLeft(text, width); }
std::string AjustaZero(std::string_view text, int width) { return fillLeft(text, width, '0'); }
std::string Ajusta(std::string_view text, int width) { return fitLeft(text, width, '0'); }
std::string Replicate(std::string_view character, int count) {
  return replicate(character, count);
}
std::string Centraliza(std::string_view text, int width) { return centre(text, width); }
std::string RTrim(std::string_view text) { return rtrim(text); }
std::string Trim(std::string_view text) { return trim(text); }

void Delay(int count) { moduleEnv().delay(count); }

}  // namespace ecf

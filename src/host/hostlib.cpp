#include "host/hostlib.h"

#include <cstdio>
#include <cstdlib>

#include "base/decimal.h"
#include "base/textlayout.h"
#include "base/utf8.h"
#include "host/module_env.h"

namespace ecf {

Variant RecebeParams(const Variant& bag, std::string_view field) {
  if (!bag.isArray()) throw BagError("Parâmetros da função não são um conjunto de campos.");
  if (const Variant* value = findBagField(bag, field)) return *value;
  throw BagError("Campo " + std::string(field) + " não encontrado nos parâmetros.");
}

std::string bagText(const Variant& bag, std::string_view field) {
  return repairUtf8(RecebeParams(bag, field).toText(hostSettings()));
}

std::string bagTextLenient(const Variant& bag, std::string_view field) {
  try {
    return bagText(bag, field);
  } catch (const std::exception&) {
    return "";
  }
}

// Each byte is mixed with a key- and position-dependent mask and written as two hex
// digits, so any text comes back whole and the cipher is plain ASCII.
namespace {
unsigned char maskAt(int key, std::size_t position) {
  return static_cast<unsigned char>((key * 73 + static_cast<int>(position % 251) * 29 + 11) & 0xFF);
}
}  // namespace

std::string Cripto(std::string_view text, int key) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]) ^ maskAt(key, i);
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  return out;
}

std::string Uncripto(std::string_view text, int key) {
  const auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (text.size() % 2 != 0) throw std::runtime_error("Texto cifrado inválido.");
  std::string out;
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = nibble(text[i]);
    const int low = nibble(text[i + 1]);
    if (high < 0 || low < 0) throw std::runtime_error("Texto cifrado inválido.");
    out += static_cast<char>(static_cast<unsigned char>((high << 4) | low) ^ maskAt(key, i / 2));
  }
  return out;
}

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

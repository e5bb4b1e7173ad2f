// The host system's library of services, as the module's operations call them.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "ecf/datetime.h"
#include "ecf/variant.h"

namespace ecf {

// A bag that lacks a field, or is not a bag at all.
class BagError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The named field of a parameter bag. Throws BagError when the bag lacks it.
Variant RecebeParams(const Variant& bag, std::string_view field);
// The same field read in place, valid while the bag is.
const Variant& bagField(const Variant& bag, std::string_view field);
// The field as text, throwing BagError when missing.
std::string bagText(const Variant& bag, std::string_view field);
// For fields an operation reads but never uses: a host that leaves them out is not refused.
std::string bagTextLenient(const Variant& bag, std::string_view field);

// Reversible cipher of the grand-total file. The result is plain ASCII, so it fits any
// text column; Uncripto throws std::runtime_error for a text Cripto cannot have made.
std::string Cripto(std::string_view text, int key);
std::string Uncripto(std::string_view text, int key);
// The module's one key for both: the grand totals it stores and the values the host
// enciphers for it (the application's identification data).
inline constexpr int kModuleCipherKey = 7;

// later - earlier as hours ":" minutes, preceded by "-" when negative ("-01:05").
std::string SubtDataHoraQel(const DateTime& later, const DateTime& earlier);

double RoundDec(double value, int decimals);
double Trunc2(double value);
double Trunc3(double value);

bool EmptyString(std::string_view text);
// Widths count characters, never bytes.
std::string TamFixo(std::string_view text, int width);    // cut, or spaces after
std::string TamFixoR(std::string_view text, int width);   // cut, or spaces before
std::string PadL(std::string_view text, int width);       // spaces before, never cut
std::string AjustaZero(std::string_view text, int width); // "0" before, never cut
// Exactly `width` characters, filled with "0" before: counters come as numbers.
std::string Ajusta(std::string_view text, int width);
std::string Replicate(std::string_view character, int count);
std::string Centraliza(std::string_view text, int width);
std::string RTrim(std::string_view text);
std::string Trim(std::string_view text);
inline Variant iif(bool condition, const Variant& whenTrue, const Variant& whenFalse) {
  return condition ? whenTrue : whenFalse;
}
void Delay(int count);

}  // namespace ecf

#include "receipt/positional_input.h"

#include <cmath>
#include <stdexcept>

#include "base/utf8.h"
#include "host/module_env.h"

namespace ecf {
namespace {

const Variant& nullValue() {
  static const Variant null;
  return null;
}

std::runtime_error unreadable(int position, const std::exception& error) {
  return std::runtime_error("Posição " + std::to_string(position) +
                            " dos parâmetros inválida: " + error.what());
}

}  // namespace

PositionalInput::PositionalInput(const Variant* values, std::int32_t high)
    : values_(values), high_(values == nullptr ? -1 : high) {}

const Variant& PositionalInput::at(int position) const {
  if (position < 0 || position > high_) return nullValue();
  return values_[position];
}

std::string PositionalInput::text(int position) const {
  try {
    return repairUtf8(at(position).toText(hostSettings()));
  } catch (const VariantError& error) {
    throw unreadable(position, error);
  }
}

bool PositionalInput::flag(int position) const {
  try {
    return at(position).toBool();
  } catch (const VariantError& error) {
    throw unreadable(position, error);
  }
}

double PositionalInput::amount(int position) const {
  double value = 0;
  try {
    value = at(position).toNumber(hostSettings());
  } catch (const VariantError& error) {
    throw unreadable(position, error);
  }
  // An infinite or undefined amount would reach the printer as letters.
  if (!std::isfinite(value)) {
    throw unreadable(position, std::invalid_argument("valor não é um número finito"));
  }
  return value;
}

DataPacket PositionalInput::packet(int position) const {
  try {
    return at(position).asPacket();
  } catch (const VariantError& error) {
    throw unreadable(position, error);
  }
}

std::string PositionalInput::textOrEmpty(int position) const noexcept {
  try {
    return text(position);
  } catch (...) {
    return "";
  }
}

Variant::Array& resultArray(Variant& result, std::size_t minimum) {
  if (!result.isArray()) result = Variant(Variant::Array{});
  Variant::Array& elements = result.asArray();
  if (elements.size() < minimum) elements.resize(minimum);
  return elements;
}

}  // namespace ecf

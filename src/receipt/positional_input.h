// The host's positional arrays (a pointer to the first value and the highest index) and
// the result arrays it passes by reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ecf/datapacket.h"
#include "ecf/variant.h"

namespace ecf {

// Reads positions of an open array. A position beyond the highest index, or an array
// that is not there at all, reads as Null: "", false, 0, an empty packet. A value that
// cannot be read as asked throws std::runtime_error naming the position.
class PositionalInput {
 public:
  PositionalInput(const Variant* values, std::int32_t high);

  const Variant& at(int position) const;
  std::string text(int position) const;  // under the host's settings, malformed UTF-8 repaired
  bool flag(int position) const;
  double amount(int position) const;  // a finite number
  DataPacket packet(int position) const;
  // Never throws: for the colour scheme an operation needs before anything else.
  std::string textOrEmpty(int position) const noexcept;

 private:
  const Variant* values_;
  std::int32_t high_;
};

// Makes `result` an array of at least `minimum` elements, keeping the elements it holds.
// A host that passed no array, or a shorter one, gets Null elements added.
Variant::Array& resultArray(Variant& result, std::size_t minimum);

}  // namespace ecf

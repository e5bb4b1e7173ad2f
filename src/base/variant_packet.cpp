// Kept apart from variant.cpp: it is the only part of Variant that needs the data
// packet's implementation, so programs that never read packets need not link it.
#include "ecf/variant.h"

namespace ecf {

const DataPacket& Variant::asPacket() const {
  if (type() == Type::Packet) return std::get<DataPacket>(value_);
  if (isNull()) {
    static const DataPacket empty;
    return empty;
  }
  throw VariantError("a value that is not a data packet cannot be read as one");
}

}  // namespace ecf

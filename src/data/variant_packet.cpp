// Variant::asPacket lives with the data packets it returns, so the text and number
// layer needs nothing of the data layer.
#include "ecf/variant.h"

namespace ecf {

const DataPacket& Variant::asPacket() const {
  if (type() == Type::Packet) return std::get<DataPacket>(value_);
  if (isNull()) {
    static const DataPacket empty;
    return empty;
  }
  throw VariantError("Um valor que não é um pacote de dados não pode ser lido como um");
}

}  // namespace ecf

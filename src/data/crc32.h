// CRC-32 as zlib and PNG compute it (IEEE 802.3, reflected polynomial 0xEDB88320).
#pragma once

#include <cstdint>
#include <string_view>

namespace ecf {

std::uint32_t crc32(std::string_view bytes);

}  // namespace ecf

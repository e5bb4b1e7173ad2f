// The dataset file: a data packet as bytes on disk (the grand-total file is one).
//
// Version 1 of the format. Every integer is little-endian with the width given; texts are
// UTF-8 with their length in bytes in front.
//
//   size  content
//   8     magic "ECFDSET\0"
//   4     format version, 1
//   4     length of the whole file in bytes, checksum included
//   4     number of fields F, then F field definitions:
//           1   type: 0 text, 1 integer, 2 real, 3 date-time, 4 boolean
//           4   size in characters (text fields; 0 = unlimited)
//           4   length N of the name, then N bytes of name
//   4     number of rows R, then R rows of F values, each a tag byte and its payload:
//           0   null       nothing
//           1   boolean    1 byte, 0 or 1
//           2   integer    8 bytes, two's complement
//           3   real       8 bytes, IEEE 754 binary64 (finite)
//           4   text       4 bytes length L, then L bytes (at most the field's size in characters)
//           5   date-time  8 bytes, signed milliseconds since 30/12/1899 00:00
//         A value's tag is 0 or the tag of its field's type.
//   4     CRC-32 (see crc32.h) of every byte before it
//
// The decoder checks the magic, the version, the length and the checksum before it reads
// the content, and bounds every count by the bytes left, so no input makes it read out of
// bounds. A value in memory takes far more than its one-byte null tag on disk, so the
// decoder also refuses, before allocating, a file whose rows would take more than
// kDecodedBytesPerFileByte bytes of memory per byte of file (plus a small allowance):
// its memory stays a small multiple of the file's size.
//
// Writing a file is the caller's job, through the environment's replaceFile, so that a
// crash leaves the old file or the new one, never a mix.
#pragma once

#include <string>
#include <string_view>

#include "base/env.h"
#include "ecf/datapacket.h"

namespace ecf {

constexpr std::size_t kDecodedBytesPerFileByte = 64;

// The packet's values are written in their field's type, converted as Dataset::setValue
// converts them. Throws DatasetError for a value that does not convert or a count that
// does not fit the format.
std::string encodeDatasetFile(const DataPacket& packet);

// Throws DatasetError saying what is wrong: not a dataset file, a version it does not
// read, a truncated file, a checksum mismatch, or content that contradicts itself.
DataPacket decodeDatasetFile(std::string_view bytes);

// The file at `path`, read and decoded. Throws DatasetError naming the file and saying
// what is wrong with it: missing, unreadable (the system's own text follows in
// parentheses) or invalid (what the decoder found).
DataPacket readDatasetFile(Env& env, const std::string& path,
                           std::size_t maxBytes = Env::kDefaultReadLimit);
// Encodes the packet and replaces the file atomically; DatasetError names the file.
void writeDatasetFile(Env& env, const std::string& path, const DataPacket& packet);

}  // namespace ecf

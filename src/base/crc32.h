// CRC-32 (ISO-HDLC / IEEE 802.3: reflected polynomial 0xEDB88320, initial value 0xFFFFFFFF, final
// complement) and the block checksum table some images carry.
#pragma once

#include <cstdint>
#include <vector>

#include "base/bytes.h"

namespace corvane {

// The CRC-32 of data; pass a previous result as `crc` to continue over more bytes.
std::uint32_t Crc32(ByteView data, std::uint32_t crc = 0);

// The block checksum table of an image whose table lies at blocks x 65536 - 1024: entry b is the
// CRC-32 of the 65536 bytes from b x 65536, the last entry of the 64512 bytes before the table.
// Bytes past the image end are not counted.
std::vector<std::uint32_t> BlockChecksums(ByteView image, std::uint32_t blocks);
// Stores the table big-endian at `offset`.
void WriteBlockChecksums(MutableByteView image, std::uint32_t offset,
                         const std::vector<std::uint32_t>& table);
// True when the table stored big-endian at `offset` equals the checksums of the image.
bool BlockChecksumsMatch(ByteView image, std::uint32_t offset, std::uint32_t blocks);

}  // namespace corvane

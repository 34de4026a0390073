// Strong block files: records of 0x10008 bytes (4 unused bytes, a big-endian flash address, then
// 65536 bytes of flash contents), in any order. The last record may be cut short by the file end.
#pragma once

#include <cstdint>
#include <optional>

#include "base/bytes.h"

namespace corvane {

inline constexpr std::size_t kStrongRecordSize = 0x10008;
inline constexpr std::size_t kStrongHeaderSize = 8;
inline constexpr std::size_t kBlockSize = 0x10000;
// A block of area i sits at flash address base + kStrongAddressOffset + i * kBlockSize.
inline constexpr std::uint32_t kStrongAddressOffset = 0x20000000;

// Whether the whole file reads as block records: at least one, each record's address on a block
// boundary and no address twice.
bool HasStrongBlockShape(ByteView file);

// File offset of the first record (in file order) whose address is `address`.
std::optional<std::size_t> FindStrongRecord(ByteView file, std::uint32_t address);
// Copies that record's data (65536 bytes, fewer when the file ends) to image[image_offset...].
// False when no record has the address.
bool CopyStrongBlock(ByteView file, std::uint32_t address, MutableByteView image,
                     std::size_t image_offset);
// Overwrites the data of the first record with `address` by `block` (as much as the record holds).
// False when no record has the address; the file's length never changes.
bool PutStrongBlock(Bytes& file, std::uint32_t address, ByteView block);

}  // namespace corvane

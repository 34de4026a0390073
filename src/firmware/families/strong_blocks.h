// Strong block files: records of 0x10008 bytes (4 unused bytes, a big-endian flash address, then
// 65536 bytes of flash contents), in any order. The last record may be cut short by the file end.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

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

// One 64 KB block of an image assembled from a block file: the flash address of its record, and
// whether the writer gives the record its data from the image (otherwise the record keeps the
// data it was read with).
struct StrongImageBlock {
  std::uint32_t address = 0;
  bool written_back = true;
};

// What of a block file its image does not hold: the records in file order with their headers,
// the data of the records that do not take theirs from the image, and what follows the last whole
// header. With the image it gives back the file byte for byte.
struct StrongFileLayout {
  static constexpr std::int32_t kKept = -1;
  struct Record {
    std::array<std::uint8_t, kStrongHeaderSize> header{};
    std::int32_t block = kKept;  // the image block holding the data, or kKept: the data is in `kept`
    std::uint32_t length = 0;    // bytes of data: 65536, fewer for a record cut short
    bool operator==(const Record&) const = default;
  };
  std::vector<Record> records;
  Bytes kept;  // data of the kKept records, in file order
  Bytes tail;  // the bytes after the last whole header (fewer than 8)

  // The length of the file.
  std::size_t size() const;
  // Whether a record takes its data from image block `block`.
  bool WritesBlock(std::size_t block) const;
  bool operator==(const StrongFileLayout&) const = default;
};

// Turns the block file in `buffer` into the image of `blocks` (block i at i x 64 KB) in the same
// buffer, which is resized to blocks.size() x 64 KB: each block holds the data of the first record
// with its address, zeros where that record is cut short or where no record has the address.
// found[i] tells whether a record has block i's address. Returns the rest of the file.
StrongFileLayout StrongFileToImage(Bytes& buffer, std::span<const StrongImageBlock> blocks,
                                  std::vector<bool>& found);

// The reverse: the image in `buffer` (64 KB blocks, every block the records name) becomes the
// block file `file` describes, in the same buffer. Reserve file.size() bytes to keep it in place.
void StrongImageToFile(Bytes& buffer, const StrongFileLayout& file);

}  // namespace corvane

#include "firmware/families/strong_blocks.h"

#include <algorithm>
#include <vector>

namespace corvane {

bool HasStrongBlockShape(ByteView file) {
  std::vector<std::uint32_t> addresses;
  for (std::size_t pos = 0; pos < file.size(); pos += kStrongRecordSize) {
    if (!file.Contains(pos, kStrongHeaderSize)) return false;
    const std::uint32_t address = file.u32be(pos + 4);
    if (address % kBlockSize != 0) return false;
    addresses.push_back(address);
  }
  std::sort(addresses.begin(), addresses.end());
  return !addresses.empty() &&
         std::adjacent_find(addresses.begin(), addresses.end()) == addresses.end();
}

std::optional<std::size_t> FindStrongRecord(ByteView file, std::uint32_t address) {
  for (std::size_t pos = 0; file.Contains(pos, kStrongHeaderSize); pos += kStrongRecordSize)
    if (file.u32be(pos + 4) == address) return pos;
  return std::nullopt;
}

bool CopyStrongBlock(ByteView file, std::uint32_t address, MutableByteView image,
                     std::size_t image_offset) {
  const auto pos = FindStrongRecord(file, address);
  if (!pos) return false;
  image.Copy(image_offset, file.Sub(*pos + kStrongHeaderSize, kBlockSize));
  return true;
}

bool PutStrongBlock(Bytes& file, std::uint32_t address, ByteView block) {
  const auto pos = FindStrongRecord(file, address);
  if (!pos) return false;
  const std::size_t room = file.size() - (*pos + kStrongHeaderSize);
  MutableByteView(file).Copy(*pos + kStrongHeaderSize, block.Sub(0, std::min(room, kBlockSize)));
  return true;
}

}  // namespace corvane

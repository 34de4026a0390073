#include "firmware/families/strong_blocks.h"

namespace corvane {

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

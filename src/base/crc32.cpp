#include "base/crc32.h"

#include <array>

namespace corvane {

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
constexpr std::uint32_t kBlock = 0x10000;
constexpr std::uint32_t kLastBlock = 0xFC00;

// Slicing-by-8 tables: table[0] is the byte-wise table, table[k][n] advances n by k more zero
// bytes.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][n] = c;
  }
  for (std::size_t k = 1; k < 8; ++k)
    for (std::size_t n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

std::uint32_t Crc32(ByteView data, std::uint32_t crc) {
  crc = ~crc;
  const std::uint8_t* p = data.data();
  std::size_t n = data.size();
  while (n >= 8) {
    const std::uint32_t lo = crc ^ (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                    std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
    crc = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
          kTables[4][lo >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^
          kTables[0][p[7]];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) crc = (crc >> 8) ^ kTables[0][(crc ^ *p++) & 0xFF];
  return ~crc;
}

std::vector<std::uint32_t> BlockChecksums(ByteView image, std::uint32_t blocks) {
  std::vector<std::uint32_t> table;
  table.reserve(blocks);
  for (std::uint32_t b = 0; b < blocks; ++b) {
    const std::size_t length = b + 1 == blocks ? kLastBlock : kBlock;
    table.push_back(Crc32(image.Sub(std::size_t{b} * kBlock, length)));
  }
  return table;
}

void WriteBlockChecksums(MutableByteView image, std::uint32_t offset,
                         const std::vector<std::uint32_t>& table) {
  for (std::size_t b = 0; b < table.size(); ++b) image.WriteBE(offset + 4 * b, table[b], 4);
}

bool BlockChecksumsMatch(ByteView image, std::uint32_t offset, std::uint32_t blocks) {
  if (blocks == 0 || !image.Contains(offset, 4ull * blocks)) return false;
  const auto table = BlockChecksums(image, blocks);
  for (std::size_t b = 0; b < table.size(); ++b)
    if (image.u32be(offset + 4 * b) != table[b]) return false;
  return true;
}

}  // namespace corvane

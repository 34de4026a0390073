#include <gtest/gtest.h>

#include "base/bytes.h"

namespace corvane {
namespace {

TEST(ByteView, ReadsZeroPastTheEndAndDropsWritesOutside) {
  const Bytes b = {0x12, 0x34, 0x56};
  const ByteView v(b);
  EXPECT_EQ(v.u32be(0), 0x12345600u);
  EXPECT_EQ(v.u32le(0), 0x00563412u);
  EXPECT_EQ(v.u32le(SIZE_MAX - 1), 0u);  // no overflow into the buffer
  EXPECT_FALSE(v.Contains(2, 2));
  EXPECT_FALSE(v.Contains(SIZE_MAX, 2));
  EXPECT_EQ(v.Sub(2, 10).size(), 1u);
  EXPECT_EQ(v.Sub(5, 10).size(), 0u);
  Bytes w(4, 0);
  MutableByteView m(w);
  m.WriteBE(2, 0xAABBCCDD, 4);
  m.WriteLE(0, 0x0102, 2);
  EXPECT_EQ(w, (Bytes{0x02, 0x01, 0xAA, 0xBB}));
  m.Fill(3, 100, 0xFF);
  m.Copy(2, Bytes{1, 2, 3});
  EXPECT_EQ(w, (Bytes{0x02, 0x01, 1, 2}));
}

TEST(Names, ReadStopsAtNulAndWritePadsWithNul) {
  const Bytes b = {'b', 'o', 'o', 't', 0, 'x'};
  EXPECT_EQ(LeeNombre(b, 0, 12), "boot");
  EXPECT_EQ(LeeNombre(b, 0, 2), "bo");
  EXPECT_EQ(LeeNombre(b, 5, 12), "x");  // past the end reads as NUL
  Bytes out(6, 0xFF);
  EscribeNombre(out, 1, "abcdef", 4);
  EXPECT_EQ(out, (Bytes{0xFF, 'a', 'b', 'c', 'd', 0xFF}));
  EscribeNombre(out, 0, "z", 3);
  EXPECT_EQ(out, (Bytes{'z', 0, 0, 'c', 'd', 0xFF}));
}

TEST(BuscaCadena, FindsFirstMatchInsideTheLength) {
  const Bytes b = {'x', 'b', 'o', 'o', 't', 'b', 'o', 'o', 't', 0};
  const struct {
    const char* text;
    std::size_t length;
    bool with_nul;
    std::int64_t expected;
  } cases[] = {
      {"boot", b.size(), false, 1},
      {"boot", b.size(), true, 5},  // the first match is not followed by NUL
      {"boot", 9, true, -1},        // the NUL must lie inside the length
      {"boot", 8, false, 1},
      {"boot", 4, false, -1},       // the match must lie inside the length
      {"zz", b.size(), false, -1},
      {"", b.size(), false, -1},
      {"boot", 1000, true, 5},      // a length beyond the bytes is clipped
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuscaCadena(c.text, b, c.length, c.with_nul), c.expected) << c.text << " " << c.length;
  EXPECT_EQ(BuscaCadenaDesde("boot", b, 2, b.size(), false), 5);
}

TEST(HexAEntero, AcceptsOnlyCapitalHexDigits) {
  const std::pair<const char*, long long> cases[] = {
      {"1F", 31}, {"1f", -1}, {"", 0}, {"G", -1}, {"FFFFFFFF", 0xFFFFFFFFLL},
      {"FFFFFFFFFFFFFFFFFF", -1}};  // too long to be a value
  for (const auto& [text, value] : cases) EXPECT_EQ(HexAEntero(text), value) << text;
}

}  // namespace
}  // namespace corvane

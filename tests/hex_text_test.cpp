#include <gtest/gtest.h>

#include "document/hex_text.h"

namespace corvane {
namespace {

TEST(HexText, ClipboardTextAndPastedDigits) {
  EXPECT_EQ(HexText(Bytes{0x01, 0xAB}), "01AB");
  EXPECT_EQ(HexText(Bytes{}), "");
  const struct {
    std::string_view text;
    Bytes pasted;
    Bytes searched;
  } cases[] = {
      {"0a b-C", {0x0A, 0xBC}, {0x0A, 0xBC}},
      {"ABC", {0xAB}, {0x0A, 0xBC}},  // paste drops the last digit, search puts a 0 in front
      {"01AB", {0x01, 0xAB}, {0x01, 0xAB}},
      {"xyz", {}, {}},
      {"f", {}, {0x0F}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParsePastedHex(c.text), c.pasted) << c.text;
    EXPECT_EQ(ParseSearchHex(c.text), c.searched) << c.text;
  }
}

TEST(HexText, SelectionValues) {
  const struct {
    Bytes selection;
    std::int32_t be;
    std::uint32_t le;
  } cases[] = {
      {{0x12, 0x34}, 4660, 13330},
      {{0xFF, 0xFF, 0xFF, 0xFF}, -1, 4294967295u},
      {{0x01, 0x02, 0x03, 0x04, 0x05}, 0x02030405, 0x04030201},  // last four / first four
      {{0x80}, 128, 128},
      {{}, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectionValueBE(c.selection), c.be);
    EXPECT_EQ(SelectionValueLE(c.selection), c.le);
  }
}

TEST(HexText, InspectorReadsOnlyWhatTheDataHolds) {
  const Bytes data = {0xFF, 0xFE, 0x00, 0x80};
  const std::vector<InspectedValue> at0 = InspectAt(data, 0);
  ASSERT_EQ(at0.size(), 5u);
  EXPECT_EQ(at0[0].signed_value, -1);
  EXPECT_EQ(at0[0].unsigned_value, 255u);
  EXPECT_EQ(at0[1].signed_value, -2);       // 16 BE FFFE
  EXPECT_EQ(at0[2].unsigned_value, 0xFEFFu);  // 16 LE
  EXPECT_EQ(at0[3].unsigned_value, 0xFFFE0080u);
  EXPECT_EQ(at0[4].signed_value, static_cast<std::int32_t>(0x8000FEFF));
  EXPECT_EQ(InspectAt(data, 2).size(), 3u);  // 8 and the two 16-bit values
  EXPECT_TRUE(InspectAt(data, 4).empty());
  EXPECT_TRUE(InspectAt(data, SIZE_MAX).empty());
}

TEST(HexText, FindBytes) {
  const Bytes data = {'a', 'B', 'c', 0xE9, 'a', 'b', 'C', 0xC9};
  const Bytes abc = {'A', 'b', 'c'};
  EXPECT_EQ(FindBytes(data, abc, 0, true), 0u);
  EXPECT_EQ(FindBytes(data, abc, 1, true), 4u);
  EXPECT_EQ(FindBytes(data, abc, 0, false), std::nullopt);
  EXPECT_EQ(FindBytes(data, Bytes{0xC9}, 0, true), 3u);  // Latin-1 letters fold too
  EXPECT_EQ(FindBytes(data, Bytes{0xC9}, 0, false), 7u);
  EXPECT_EQ(FindBytes(data, Bytes{}, 0, false), std::nullopt);
  EXPECT_EQ(FindBytes(data, abc, 100, true), std::nullopt);
}

TEST(HexText, ParseOffset) {
  EXPECT_EQ(ParseOffset("1A2b"), 0x1A2Bu);
  EXPECT_EQ(ParseOffset(" 0x10 "), 16u);
  EXPECT_EQ(ParseOffset("$ff"), 255u);
  EXPECT_EQ(ParseOffset("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  for (std::string_view bad : {"", "0x", "12g", "-1", "10000000000000000"})
    EXPECT_EQ(ParseOffset(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace corvane

// A Strong block file turned into its image in place and back: every record order, missing and
// repeated blocks, foreign records and cut files give the same image and the same file as copying
// record by record would.
#include <gtest/gtest.h>

#include "firmware/families/strong_blocks.h"

namespace corvane {
namespace {

constexpr std::uint32_t kBase = 0xA0000000;
constexpr std::uint32_t kForeign = 0xB0000000;

std::uint32_t Address(std::uint32_t block) { return kBase + block * static_cast<std::uint32_t>(kBlockSize); }

struct Case {
  const char* name;
  std::vector<std::uint32_t> addresses;  // one record each, in file order
  std::size_t cut = 0;                   // bytes dropped from the end of the file
  std::size_t kept = 0;                  // bytes of record data the image does not hold
};

Bytes FileOf(const Case& c) {
  Bytes file;
  for (std::size_t r = 0; r < c.addresses.size(); ++r) {
    const std::size_t at = file.size();
    file.resize(at + kStrongRecordSize);
    MutableByteView(file).WriteBE(at, 0x00010008u + static_cast<std::uint32_t>(r), 4);
    MutableByteView(file).WriteBE(at + 4, c.addresses[r], 4);
    for (std::size_t k = 0; k < kBlockSize; ++k)
      file[at + kStrongHeaderSize + k] = static_cast<std::uint8_t>(r * 37 + k * 13 + (k >> 9));
  }
  file.resize(file.size() - c.cut);
  return file;
}

TEST(StrongBlocks, FileToImageAndBackInPlace) {
  // Four image blocks; the fourth keeps in the file the data it was read with.
  const std::vector<StrongImageBlock> blocks = {
      {Address(0), true}, {Address(1), true}, {Address(2), true}, {Address(3), false}};
  const Case cases[] = {
      {"ImageOrder", {Address(0), Address(1), Address(2), Address(3)}, 0, kBlockSize},
      {"Reversed", {Address(3), Address(2), Address(1), Address(0)}, 0, kBlockSize},
      {"ShuffledWithGap", {Address(2), Address(0), Address(3)}, 0, kBlockSize},
      {"RepeatedForeignMisaligned",
       {Address(1), kForeign, Address(1), Address(0) + 8, Address(0)}, 0, 3 * kBlockSize},
      {"CutInsideLastBlock", {Address(1), Address(0)}, 1000, 0},
      {"CutInsideLastHeader", {Address(2), Address(0), Address(1)}, kBlockSize + 3, 0},
      {"MoreRecordsThanBlocks",
       {kForeign, Address(3), kForeign + 0x10000, Address(1), kForeign + 0x20000, Address(0)},
       0, 4 * kBlockSize},
      {"NoRecord", {}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes file = FileOf(c);
    const ByteView view(file);

    // Record by record: each block from the first record with its address.
    Bytes image(blocks.size() * kBlockSize, 0);
    std::vector<bool> expected_found(blocks.size(), false);
    for (std::size_t b = 0; b < blocks.size(); ++b)
      if (const auto pos = FindStrongRecord(view, blocks[b].address)) {
        MutableByteView(image).Copy(b * kBlockSize, view.Sub(*pos + kStrongHeaderSize, kBlockSize));
        expected_found[b] = true;
      }

    Bytes buffer = file;
    std::vector<bool> found;
    const StrongFileLayout layout = StrongFileToImage(buffer, blocks, found);
    EXPECT_TRUE(buffer == image);
    EXPECT_EQ(found, expected_found);
    EXPECT_EQ(layout.kept.size(), c.kept);
    EXPECT_EQ(layout.size(), file.size());

    // Changed blocks go back into the first record of each written-back block, nowhere else.
    Bytes expected_file = file;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
      std::fill_n(buffer.begin() + static_cast<std::ptrdiff_t>(b * kBlockSize), kBlockSize,
                  static_cast<std::uint8_t>(0xE0 + b));
      const auto pos = FindStrongRecord(view, blocks[b].address);
      if (pos && blocks[b].written_back)
        MutableByteView(expected_file).Fill(*pos + kStrongHeaderSize, kBlockSize, static_cast<std::uint8_t>(0xE0 + b));
    }
    StrongImageToFile(buffer, layout);
    EXPECT_TRUE(buffer == expected_file);
  }
}

}  // namespace
}  // namespace corvane

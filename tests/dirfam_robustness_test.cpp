// Damaged images of every directory-table model load or are refused, never crash or read outside
// the file; whatever loads also saves or refuses cleanly.
#include <gtest/gtest.h>

#include <random>

#include "firmware/firmware.h"
#include "support/image_builder.h"

namespace corvane {
namespace {

// Loads (and, when accepted, saves) the bytes; the sanitizers watch every access.
void LoadAndSave(const Bytes& file, int model) {
  TArbol tree;
  TFirmware fw;
  const Result r = fw.CreateFromBytes("x/damaged.bin", file, tree, model);
  EXPECT_EQ(r.ok(), fw.Loaded);
  if (!r.ok()) {
    EXPECT_FALSE(r.message.Empty());
    return;
  }
  Bytes out;
  const Result saved = fw.Build(SaveOptions{}, out);
  if (saved.ok())
    EXPECT_EQ(out.size(), fw.FileSize);
  else
    EXPECT_TRUE(out.empty());
}

class Damaged : public ::testing::TestWithParam<int> {};

TEST_P(Damaged, TruncatedImages) {
  test::ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = test::SampleTree(spec.model != 24 && spec.model != 9 && spec.model != 12);
  const test::BuiltImage built = test::BuildImage(spec);
  const std::size_t n = built.file.size();
  const std::size_t t = built.layout.TableOffset;
  for (const std::size_t length :
       {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{0x10007}, t, t + 3, t + 40,
        std::size_t{built.layout.AddressTableOffset} + 2, n / 2, n - 1}) {
    SCOPED_TRACE(length);
    LoadAndSave(Bytes(built.file.begin(),
                      built.file.begin() + static_cast<std::ptrdiff_t>(std::min(length, n))),
                spec.model);
  }
}

TEST_P(Damaged, FlippedBitsInTheTables) {
  test::ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = test::SampleTree(spec.model != 24 && spec.model != 9 && spec.model != 12);
  const test::BuiltImage built = test::BuildImage(spec);
  // The bytes that steer the loader: count, records, counts, block, address array, first tables.
  // Strong files hold the image in records: map image offsets to file offsets for ascending order.
  const bool strong = built.file.size() != built.image.size();
  auto file_offset = [&](std::size_t image_offset) {
    return strong ? image_offset / 0x10000 * 0x10008 + 8 + image_offset % 0x10000 : image_offset;
  };
  const std::size_t from = built.layout.TableOffset;
  const std::size_t to = std::max<std::size_t>(built.layout.AddressTableOffset + 4 * 8,
                                               built.layout.FileTableOffset + 200);
  std::mt19937 rng(static_cast<unsigned>(spec.model) * 7919u);
  std::uniform_int_distribution<std::size_t> where(from, to - 1);
  std::uniform_int_distribution<int> bit(0, 7);
  for (int round = 0; round < 24; ++round) {
    Bytes file = built.file;
    // One to three flipped bits, now and then a whole word set to a large value.
    const int flips = 1 + round % 3;
    for (int f = 0; f < flips; ++f)
      file[file_offset(where(rng))] ^= static_cast<std::uint8_t>(1u << bit(rng));
    if (round % 8 == 7) {
      const std::size_t at = file_offset(where(rng) & ~std::size_t{3});
      for (std::size_t k = 0; k < 4 && at + k < file.size(); ++k) file[at + k] = 0x7F;
    }
    SCOPED_TRACE(round);
    LoadAndSave(file, spec.model);
  }
}

INSTANTIATE_TEST_SUITE_P(DirectoryTableModels, Damaged,
                         ::testing::ValuesIn(test::kDirectoryTableModels),
                         [](const auto& info) { return "Model" + std::to_string(info.param); });

TEST(Damaged, HugeCountsAreRefusedNotFollowed) {
  // A directory claiming 2^31 files whose entries all lie inside the image would otherwise copy
  // the image into the tree again and again.
  test::ImageSpec spec;
  spec.model = 1;
  spec.dirs = test::SampleTree();
  test::BuiltImage built = test::BuildImage(spec);
  const std::size_t counts = built.layout.TableOffset + 4 + 32 * 8;
  MutableByteView(built.file).WriteLE(counts + 4, 0x7FFFFFFF, 4);  // "main"
  // Its table address now points at the image start, where every entry lies inside.
  MutableByteView(built.file).WriteLE(built.layout.AddressTableOffset + 4, 0x7FE00000, 4);
  TArbol tree;
  TFirmware fw;
  const Result r = fw.CreateFromBytes("x/huge.bin", built.file, tree, 1);
  if (r.ok()) {
    std::size_t nodes = 0;
    tree.ForEach([&](TNodo&) { ++nodes; });
    EXPECT_LT(nodes, built.file.size() / 10);
  } else {
    EXPECT_EQ(r.message.Rows(), std::vector<int>{4});
  }
}

}  // namespace
}  // namespace corvane

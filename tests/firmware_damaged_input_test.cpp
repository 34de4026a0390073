// Damaged input never crashes a loader or a writer, and never reads outside the file (the
// sanitizers watch every access): truncated, bit-flipped and crafted images of every family load
// or are refused with a message, and whatever loads saves or is refused cleanly.
#include <gtest/gtest.h>

#include <random>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "support/firmware_checks.h"
#include "support/image_builder_philips.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

using test::Endian;
using test::PatchSectionSpec;
using test::Pattern;

// --- Directory-table families -----------------------------------------------------------------

void LoadAndSave(const Bytes& file, int model) { (void)test::LoadsOrRefusesCleanly(file, model); }

class DamagedImage : public ::testing::TestWithParam<int> {};

TEST_P(DamagedImage, TruncatedImages) {
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

TEST_P(DamagedImage, FlippedBitsInTheTables) {
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

INSTANTIATE_TEST_SUITE_P(DirectoryTableModels, DamagedImage,
                         ::testing::ValuesIn(test::kDirectoryTableModels),
                         [](const auto& info) { return "Model" + std::to_string(info.param); });

TEST(DamagedImage, HugeCountsAreRefusedNotFollowed) {
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

// --- Philips families ---------------------------------------------------------------------------

TEST(DamagedPhilipsImage, TablesRunningOffTheEndLoadOrRefuseCleanly) {
  for (const int model : test::kPhilipsModels) {
    SCOPED_TRACE(model);
    const std::uint32_t length = test::PhilipsLength(model);
    for (const std::uint32_t back : {5u, 9u, 16u, 21u, 40u, 200u}) {
      Bytes file(length, 0x11);
      const std::string marker = model == 19 ? "MODULE ADD.FLASH" : std::string("boot\0", 5);
      if (back < marker.size()) continue;
      std::copy(marker.begin(), marker.end(), file.end() - back);
      if (back > marker.size() + 4) {
        for (std::size_t k = file.size() - back + marker.size(); k < file.size(); ++k)
          file[k] = static_cast<std::uint8_t>(k * 7);
      }
      (void)test::LoadsOrRefusesCleanly(file, model);
    }
  }
}

TEST(DamagedPhilipsImage, BitFlippedImagesLoadOrRefuseCleanly) {
  std::mt19937 rng(20240611);
  for (const int model : test::kPhilipsModels) {
    SCOPED_TRACE(model);
    test::PhilipsImageSpec spec;
    spec.model = model;
    spec.dirs = test::SampleTree(model == 19 || model == 27);
    spec.markers = model != 19;
    const test::BuiltPhilipsImage built = test::BuildPhilipsImage(spec);
    const std::uint32_t from = built.layout.TableOffset - 16;
    const std::uint32_t to = built.layout.FileTableOffset + 400;
    int loaded = 0;
    for (int round = 0; round < 60; ++round) {
      Bytes file = built.file;
      const int flips = 1 + static_cast<int>(rng() % 8);
      for (int f = 0; f < flips; ++f) {
        const std::size_t pos = from + rng() % (to - from);
        if (rng() % 3 == 0)
          file[pos] = rng() % 2 ? 0xFF : 0x00;
        else
          file[pos] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
      }
      loaded += test::LoadsOrRefusesCleanly(file, model) ? 1 : 0;
    }
    EXPECT_GT(loaded, 0);
  }
}

// --- Patch files: what is saved reads back as the same tree -------------------------------------

PatchSectionSpec Dirs(unsigned seed) {
  PatchSectionSpec s;
  for (unsigned d = 0; d < 3; ++d)
    s.dirs.push_back({test::Numbered("d", seed + d),
                      {{"a.cpz", Pattern(40 + d, seed)}, {"b.pan", Pattern(3, seed + d)}}});
  return s;
}

PatchSectionSpec Canal() {
  PatchSectionSpec s;
  s.canal = test::CanalFile(300, 1);
  return s;
}

struct Sample {
  int model;
  Bytes file;
  std::vector<std::size_t> sections;  // file offsets of the section starts
};

std::vector<Sample> Samples() {
  const std::uint32_t b17 = test::kStrong8000PatchBase;
  return {
      {4, test::PlainPatch({Dirs(1), Canal(), Dirs(3)}, Endian::Little), {0, 0x10000, 0x20000}},
      {15, test::PlainPatch({Dirs(1), Canal(), Dirs(3)}, Endian::Big), {0, 0x10000, 0x20000}},
      {14, test::PhilipsPatch({Dirs(1), Canal(), Dirs(3)}), {0x10000, 0x20000, 0x30000}},
      {17,
       test::StrongBlockFile({test::StrongPatchRecord(b17, 2, Dirs(2)),
                              test::StrongPatchRecord(b17, 0, Canal()),
                              test::StrongPatchRecord(b17, 1, Dirs(1))}),
       {8, 0x10008 + 8, 2 * 0x10008 + 8}},
  };
}

// Loads the bytes; when they load and save, the saved file must load as the same tree.
void Check(int model, Bytes file, const std::string& what) {
  TArbol tree;
  TFirmware firmware;
  const Result loaded = firmware.CreateFromBytes("damaged.bin", std::move(file), tree, model);
  if (!loaded.ok()) {
    ASSERT_EQ(loaded.outcome, Outcome::Rejected) << what;
    ASSERT_FALSE(loaded.message.Empty()) << what;
    return;
  }
  Bytes out;
  const Result saved = firmware.Build(SaveOptions{}, out);
  if (!saved.ok()) {
    ASSERT_EQ(saved.outcome, Outcome::Refused) << what;
    ASSERT_TRUE(out.empty()) << what;
    return;
  }
  TArbol again;
  TFirmware reopened;
  ASSERT_TRUE(reopened.CreateFromBytes("damaged.bin", out, again, model)) << what;
  ASSERT_EQ(test::DescribeTree(again), test::DescribeTree(tree)) << what;
}

TEST(DamagedPatch, TruncatedFiles) {
  for (const Sample& s : Samples()) {
    const std::size_t step = s.model == 17 ? 0x0FFF : 0x7FFF;
    for (std::size_t len = 0; len < s.file.size(); len += step)
      Check(s.model, Bytes(s.file.begin(), s.file.begin() + static_cast<std::ptrdiff_t>(len)),
            test::Numbered("model ", s.model) + test::Numbered(" cut to ", len));
  }
}

TEST(DamagedPatch, BitFlipsAndWildFields) {
  std::mt19937 rng(20240611);
  for (const Sample& s : Samples()) {
    const int rounds = s.model == 14 ? 40 : 250;  // a Philips patch is 2 MB
    for (int i = 0; i < rounds; ++i) {
      Bytes file = s.file;
      std::string what = test::Numbered("model ", s.model);
      const int damages = 1 + static_cast<int>(rng() % 4);
      for (int d = 0; d < damages; ++d) {
        // Mostly the tables and record headers at the start of a section, sometimes anywhere.
        std::size_t pos;
        if (rng() % 4 != 0)
          pos = s.sections[rng() % s.sections.size()] + rng() % 0x180;
        else
          pos = rng() % file.size();
        if (rng() % 2 == 0) {
          file[pos] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        } else {
          const std::uint8_t wild[] = {0x00, 0xFF, 0x7F, 0x80, 0xFE, 0x01};
          file[pos] = wild[rng() % 6];
        }
        what += test::Numbered(" @", pos);
      }
      Check(s.model, std::move(file), what);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(DamagedPatch, RandomBytesNeverCrash) {
  std::mt19937 rng(7);
  for (int model : {4, 15}) {
    for (int i = 0; i < 12; ++i) {
      Bytes file(0x10000 * (1 + rng() % 2));
      for (auto& b : file) b = static_cast<std::uint8_t>(rng());
      // Short offsets into the first bytes make the tables point somewhere inside.
      for (std::size_t slot = 0; slot < 32; slot += 2)
        file[slot + (model == 4 ? 1 : 0)] = rng() % 2;
      Check(model, std::move(file), test::Numbered("random ", i));
    }
  }
}

}  // namespace
}  // namespace corvane

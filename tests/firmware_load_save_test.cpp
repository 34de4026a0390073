// Loading and saving every receiver model against images built independently from the on-image
// formats: the loader finds the built tree and layout, and open -> save -> open keeps the tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "base/messages.h"
#include "firmware/families/directory_table.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"
#include "support/firmware_checks.h"
#include "support/image_builder_philips.h"
#include "firmware/models.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

using test::BuildImage;
using test::BuildPhilipsImage;
using test::Endian;
using test::PatchSectionSpec;
using test::TreeDifference;

constexpr const char* kRootName = "firmware.bin";

std::unique_ptr<test::Loaded> Load(const Bytes& file, int model) {
  return test::Load(file, model, std::string("images/") + kRootName);
}
std::string Rendered(const Result& r) { return RenderMessage(r.message); }

bool Contains(std::initializer_list<int> list, int model) {
  return std::find(list.begin(), list.end(), model) != list.end();
}
bool IsPhilips(int model) {
  return std::find(std::begin(test::kPhilipsModels), std::end(test::kPhilipsModels), model) !=
         std::end(test::kPhilipsModels);
}

// --- The built images -----------------------------------------------------------------------

enum class Variant { Plain, Markers, SecondRegion, NoSpareEntries, OneSection, FewerSections };

struct Case {
  int model;
  Variant variant;
};

struct Sample {
  Bytes file;
  std::vector<test::DirSpec> dirs;       // directory-table and Philips models
  std::string patch;                     // patch models: the tree as DescribePatch gives it
  std::optional<test::ImageLayout> layout;
  std::optional<Bytes> image;            // what TFirmware::Image holds after loading
  bool exact = false;                    // saving the unchanged tree gives back the same file
};

PatchSectionSpec Dirs(unsigned seed, std::size_t dirs = 2) { return test::SampleSection(seed, dirs); }
constexpr auto Canal = test::CanalSection;
constexpr auto Full = test::FullSection;

Sample PatchSample(const Case& c) {
  using Sections = std::vector<std::pair<unsigned, PatchSectionSpec>>;
  const std::uint32_t b17 = test::kStrong8000PatchBase, b18 = test::kStrong8100PatchBase;
  Sample s;
  s.exact = true;  // every byte of these files is fixed
  Sections shown;
  auto plain = [&](std::vector<PatchSectionSpec> specs, Endian endian, std::size_t length) {
    s.file = test::PlainPatch(specs, endian, length);
    for (unsigned k = 0; k < std::max<std::size_t>(specs.size(), length / 0x10000); ++k)
      shown.emplace_back(k, k < specs.size() ? specs[k] : PatchSectionSpec{});
  };
  switch (c.model) {
    case 4:
      if (c.variant == Variant::OneSection)
        plain({Dirs(1)}, Endian::Little, 0);
      else if (c.variant == Variant::FewerSections)
        plain({Dirs(1), Dirs(2)}, Endian::Little, 0x40000);
      else
        plain({Dirs(0), Canal(3001), Dirs(2, 16), {}, Dirs(4, 1), Full(5), Dirs(6), Canal(65536)},
              Endian::Little, 0);
      break;
    case 15:
      plain({Canal(20), Full(1), Dirs(2, 16), Dirs(3)}, Endian::Big, 0);
      break;
    case 14: {
      const std::vector<PatchSectionSpec> specs = {Dirs(1),    Canal(999), {}, Full(4),
                                                   Dirs(5, 3), Dirs(6),    Dirs(7)};
      s.file = test::PhilipsPatch(specs);
      for (unsigned k = 0; k < 7; ++k) shown.emplace_back(k + 1, specs[k]);
      break;
    }
    case 17:  // blocks out of order, a duplicate (the first wins), foreign records
      s.file = test::StrongBlockFile({test::StrongPatchRecord(b17, 5, Dirs(5)),
                                      {0x81200000u + 0x20000000u, test::Pattern(0x10000, 3)},
                                      test::StrongPatchRecord(b17, 0, Full(0)),
                                      test::StrongPatchRecord(b18, 1, Dirs(9)),
                                      test::StrongPatchRecord(b17, 2, Canal(1234)),
                                      test::StrongPatchRecord(b17, 5, Dirs(9)),
                                      test::StrongPatchRecord(b17, 7, Dirs(7))});
      shown = {{0, Full(0)}, {2, Canal(1234)}, {5, Dirs(5)}};
      break;
    case 18: {
      std::vector<test::StrongRecordSpec> records;
      for (unsigned k = 0; k < 7; ++k) {
        shown.emplace_back(k, k == 6 ? Full(6) : Dirs(k));
        records.push_back(test::StrongPatchRecord(b18, k, shown.back().second));
      }
      s.file = test::StrongBlockFile(records);
      break;
    }
  }
  s.patch = test::DescribePatch(kRootName, shown);
  return s;
}

Sample Build(const Case& c) {
  if (IsPatchModel(c.model)) return PatchSample(c);
  Sample s;
  auto build = [&](auto spec, auto builder) {
    spec.model = c.model;
    spec.dirs = test::SampleTree(c.variant == Variant::SecondRegion);
    spec.markers = c.variant == Variant::Markers || c.variant == Variant::NoSpareEntries;
    if (c.variant == Variant::NoSpareEntries) spec.spare_entries = 0;
    const auto built = builder(spec);
    s.file = built.file;
    s.dirs = spec.dirs;
    s.layout = built.layout;
  };
  if (IsPhilips(c.model)) {
    build(test::PhilipsImageSpec{}, BuildPhilipsImage);
    s.image = s.file;  // loading erases nothing
  } else {
    build(test::ImageSpec{}, BuildImage);
    // The Strong files lie exactly where the writer puts them: the block file comes back whole.
    s.exact = Contains({5, 6, 21}, c.model) && c.variant == Variant::Plain;
  }
  return s;
}

std::string TreeMismatch(const Sample& s, const TArbol& tree) {
  if (!s.patch.empty()) {
    const std::string got = test::DescribeTree(tree);
    return got == s.patch ? "" : "tree:\n" + got + "expected:\n" + s.patch;
  }
  return TreeDifference(tree, kRootName, s.dirs);
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (int model = 1; model <= 27; ++model) cases.push_back({model, Variant::Plain});
  // File-table blocks with 4E 71 4E 71 markers, found by the block scan.
  for (int model : {1, 2, 3, 10, 13, 16, 20, 22, 23, 7, 8, 11, 25, 26, 27})
    cases.push_back({model, Variant::Markers});
  for (int model : {7, 8, 11, 25, 26, 27}) cases.push_back({model, Variant::NoSpareEntries});
  // Images split in two regions.
  for (int model : {1, 2, 3, 5, 6, 10, 13, 16, 20, 21, 22, 23, 19, 27})
    cases.push_back({model, Variant::SecondRegion});
  cases.push_back({4, Variant::OneSection});
  cases.push_back({4, Variant::FewerSections});
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  static const char* const kVariants[] = {"",           "Markers",    "SecondRegion",
                                          "NoSpare",    "OneSection", "FewerSections"};
  return "Model" + std::to_string(info.param.model) +
         kVariants[static_cast<int>(info.param.variant)];
}

// --- Load and round trip ------------------------------------------------------------------

class LoadSave : public ::testing::TestWithParam<Case> {};

TEST_P(LoadSave, LoadsTheBuiltTreeAndLayout) {
  const Sample s = Build(GetParam());
  auto l = Load(s.file, GetParam().model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_TRUE(l->fw.Loaded);
  EXPECT_EQ(TreeMismatch(s, l->tree), "");
  if (s.layout) {
    EXPECT_EQ(test::LayoutOf(l->fw), *s.layout);
  }
  if (s.image) {
    EXPECT_TRUE(l->fw.Image == *s.image);
  }
  if (Contains({5, 6, 21}, GetParam().model)) {
    // Beside its image a Strong firmware keeps the records' headers and at most the one block its
    // writer leaves as read.
    EXPECT_EQ(l->fw.Blocks.size(), s.file.size());
    EXPECT_LE(l->fw.Blocks.kept.size(), kBlockSize);
  }
}

Bytes SaveOrFail(TFirmware& fw) {
  Bytes out;
  const Result r = fw.Build(SaveOptions{}, out);
  EXPECT_TRUE(r.ok()) << Rendered(r);
  return out;
}

// Open -> save -> open gives the same tree; saving the same firmware twice gives the same bytes
// and leaves its image alone. Bytes a writer does not write (alignment padding) keep what the
// image held, so a second open-and-save may still settle those; a third changes nothing.
TEST_P(LoadSave, RoundTripsUnchanged) {
  const int model = GetParam().model;
  const Sample s = Build(GetParam());
  auto first = Load(s.file, model);
  ASSERT_TRUE(first->result.ok()) << Rendered(first->result);
  ASSERT_EQ(TreeMismatch(s, first->tree), "");
  const Bytes image_before = first->fw.Image;
  const Bytes saved = SaveOrFail(first->fw);
  ASSERT_EQ(saved.size(), s.file.size());
  if (s.exact) {
    EXPECT_TRUE(saved == s.file);
  }
  EXPECT_TRUE(SaveOrFail(first->fw) == saved) << "saving twice differs";
  EXPECT_TRUE(first->fw.Image == image_before);

  auto second = Load(saved, model);
  ASSERT_TRUE(second->result.ok()) << Rendered(second->result);
  EXPECT_EQ(TreeDifference(second->tree, first->tree), "");
  EXPECT_EQ(second->fw.TableOffset, first->fw.TableOffset);
  EXPECT_EQ(second->fw.BaseAddress, first->fw.BaseAddress);
  EXPECT_EQ(second->fw.DirectoryCapacity, first->fw.DirectoryCapacity);
  if (model == 25 || model == 26) {
    // The writer zeroes the block after the last entry, where the block scan then stops.
    EXPECT_EQ(second->fw.AddressTableOffset,
              first->fw.FileTableOffset + 20 * CuentaArchivos(first->tree.Root()->FirstChild()));
  } else if (IsPhilips(model) || GetParam().variant == Variant::Markers) {
    EXPECT_EQ(second->fw.AddressTableOffset, first->fw.AddressTableOffset);
  }
  if (GetParam().variant == Variant::Markers && Contains({1, 13, 16, 7, 27}, model)) {
    // The writers pack the entries and erase the rest of the block, so the literal block scan
    // of the saved image walks past the address array: it was found above all the same.
    const std::uint64_t block = first->fw.FileTableOffset;
    EXPECT_NE(block + dirtable::ScanFileTableBlock(saved, block), first->fw.AddressTableOffset);
  }
  const Bytes saved2 = SaveOrFail(second->fw);
  auto third = Load(saved2, model);
  ASSERT_TRUE(third->result.ok()) << Rendered(third->result);
  EXPECT_EQ(TreeDifference(third->tree, first->tree), "");
  EXPECT_TRUE(SaveOrFail(third->fw) == saved2) << "open and save does not settle";
}

INSTANTIATE_TEST_SUITE_P(EveryModel, LoadSave, ::testing::ValuesIn(AllCases()), CaseName);

// --- Refusals -------------------------------------------------------------------------------

test::PhilipsImageSpec PhilipsSpec(int model) {
  test::PhilipsImageSpec spec;
  spec.model = model;
  spec.dirs = test::SampleTree();
  return spec;
}

// The table is found by its first directory's name "boot" (the 6071 by its text, spoiled here).
TEST(LoadRefusals, AnImageWithoutItsTableMarkerIsRefusedWithMessage220) {
  for (const int model : {5, 6, 9, 12, 13, 16, 20, 21, 23, 24, 7, 8, 11, 19, 25, 26, 27}) {
    SCOPED_TRACE(model);
    auto build = [&](auto spec, auto builder) {
      spec.model = model;
      spec.dirs = test::SampleTree();
      spec.dirs[0].name = "boat";
      auto built = builder(spec);
      if (model == 19) built.file[built.layout.TableOffset - 1] = 'X';
      return built.file;
    };
    auto l = Load(IsPhilips(model) ? build(test::PhilipsImageSpec{}, BuildPhilipsImage)
                                   : build(test::ImageSpec{}, BuildImage),
                  model);
    EXPECT_EQ(l->result.message.Rows(), std::vector<int>{220});
    EXPECT_FALSE(l->fw.Loaded);
  }
}

class PhilipsModel : public ::testing::TestWithParam<int> {};


TEST_P(PhilipsModel, RefusesAWrongLengthWithMessage5) {
  const int model = GetParam();
  const Bytes good = BuildPhilipsImage(PhilipsSpec(model)).file;
  for (const std::size_t length : {std::size_t{0}, good.size() - 1, good.size() + 1}) {
    Bytes file = good;
    file.resize(length, 0xFF);
    EXPECT_EQ(Load(file, model)->result.message.Rows(), std::vector<int>{5}) << length;
  }
}

// The marker is searched from the model's search start: one just before it is not seen, one
// exactly at it is.
TEST_P(PhilipsModel, MarkerBeforeTheSearchStartIsNotFoundOneAtItIs) {
  const int model = GetParam();
  const std::uint32_t start = test::PhilipsSearchStart(model);
  const std::uint32_t at_start = model == 19 ? start + 16 : start - 4;  // the table's place
  test::PhilipsImageSpec spec = PhilipsSpec(model);
  spec.table_at = at_start;
  auto l = Load(BuildPhilipsImage(spec).file, model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_EQ(l->fw.TableOffset, at_start);
  EXPECT_EQ(TreeDifference(l->tree, kRootName, spec.dirs), "");

  spec.table_at = at_start - 1;
  auto early = Load(BuildPhilipsImage(spec).file, model);
  EXPECT_EQ(early->result.message.Rows(), std::vector<int>{220});
}

INSTANTIATE_TEST_SUITE_P(PhilipsModels, PhilipsModel, ::testing::ValuesIn(test::kPhilipsModels),
                         [](const auto& info) { return "Model" + std::to_string(info.param); });

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

using test::Endian;
using test::PatchSectionSpec;
using test::Pattern;

constexpr int kPioneerPatch = 4;
constexpr int kPhilipsPatch = 14;
constexpr int kSonyPatch = 15;
constexpr int kStrong8000Patch = 17;
constexpr int kStrong8100Patch = 18;

PatchSectionSpec Dirs(unsigned seed) {
  PatchSectionSpec s;
  s.dirs = {{test::Numbered("dir", seed),
             {{"a.cpz", Pattern(17 + seed, seed)}, {"b.pan", Pattern(8, seed + 1)}}},
            {"other", {{"c.imz", Pattern(100 * seed + 3, seed + 2)}}}};
  return s;
}

PatchSectionSpec Canal(std::size_t size) {
  PatchSectionSpec s;
  s.canal = test::CanalFile(size, static_cast<unsigned>(size));
  return s;
}

struct Opened {
  TArbol tree;
  TFirmware firmware;
  Result result;
};

std::unique_ptr<Opened> Open(int model, Bytes file, const std::string& name = "patch.bin") {
  auto o = std::make_unique<Opened>();
  o->result = o->firmware.CreateFromBytes(name, std::move(file), o->tree, model);
  return o;
}

TEST(PatchLoaders, SizeRulesAndTheirMessages) {
  const std::vector<int> three_lines = {0, 1, 2};
  struct Case {
    int model;
    std::size_t length;
    std::vector<int> rows;  // empty: accepted
  };
  const Case cases[] = {
      {kPioneerPatch, 0, three_lines},       {kPioneerPatch, 0x10000, {}},
      {kPioneerPatch, 0x10001, three_lines}, {kPioneerPatch, 0xFFFF, three_lines},
      {kPioneerPatch, 0x80000, {}},          {kPioneerPatch, 0x90000, three_lines},
      {kPioneerPatch, 0x70000, {}},          {kSonyPatch, 0x20000, {}},
      {kSonyPatch, 0x90000, three_lines},    {kSonyPatch, 0x18000, three_lines},
      {kPhilipsPatch, 0x200000, {}},         {kPhilipsPatch, 0x1F0000, {5}},
      {kPhilipsPatch, 0x200001, {5}},        {kPhilipsPatch, 0, {5}},
      {kStrong8000Patch, 0, {229}},          {kStrong8100Patch, 0x10008, {229}},
  };
  for (const Case& c : cases) {
    auto o = Open(c.model, Bytes(c.length, 0));
    const std::string what =
        test::Numbered("model ", c.model) + test::Numbered(" length ", c.length);
    if (c.rows.empty()) {
      EXPECT_TRUE(o->result.ok()) << what;
      EXPECT_TRUE(o->firmware.Loaded) << what;
    } else {
      EXPECT_EQ(o->result.outcome, Outcome::Rejected) << what;
      EXPECT_EQ(o->result.message.Rows(), c.rows) << what;
      EXPECT_FALSE(o->firmware.Loaded) << what;
      EXPECT_TRUE(o->tree.Empty()) << what;
    }
  }
}

TEST(PatchLoaders, TheLengthMessageIsOneBoxOfThreeLines) {
  auto o = Open(kSonyPatch, Bytes(0x90000, 0));
  EXPECT_EQ(RenderMessage(o->result.message),
            "¡ El fichero no tiene la longitud adecuada !\r\nLa longitud tiene que ser múltiplo de "
            "64Kb\r\ny tener un tamaño máximo de 512Kb.");
}

TEST(PatchLoaders, PioneerPatchOfEightSections) {
  std::vector<PatchSectionSpec> specs;
  std::vector<std::pair<unsigned, PatchSectionSpec>> expected;
  for (unsigned k = 0; k < 8; ++k) {
    specs.push_back(k == 2 ? Canal(777) : k == 5 ? PatchSectionSpec{} : Dirs(k));
    expected.emplace_back(k, specs.back());
  }
  const Bytes file = test::PlainPatch(specs, Endian::Little);
  ASSERT_EQ(file.size(), 0x80000u);
  auto o = Open(kPioneerPatch, file, "dir/patch.rsc");
  ASSERT_TRUE(o->result.ok());
  EXPECT_EQ(test::DescribeTree(o->tree), test::DescribePatch("patch.rsc", expected));
  EXPECT_EQ(o->tree.Root()->Child(7)->Text, "Secci\xF3n-07");
  EXPECT_EQ(o->firmware.FileSize, 0x80000u);
  EXPECT_EQ(o->firmware.ImageSize, 0x80000u);
  EXPECT_EQ(o->firmware.DirectoryCapacity, 0u);
  EXPECT_EQ(o->firmware.BaseAddress, 0u);
  EXPECT_TRUE(o->firmware.Image.empty());  // rebuilt from the tree alone

  auto refused = Open(kPioneerPatch, test::PlainPatch(specs, Endian::Little, 0x90000));
  EXPECT_EQ(refused->result.message.Rows(), (std::vector<int>{0, 1, 2}));
}

TEST(PatchLoaders, SonyPatchIsBigEndian) {
  const std::vector<PatchSectionSpec> specs = {Dirs(1), Canal(64), Dirs(3)};
  auto o = Open(kSonyPatch, test::PlainPatch(specs, Endian::Big));
  ASSERT_TRUE(o->result.ok());
  EXPECT_EQ(test::DescribeTree(o->tree),
            test::DescribePatch("patch.bin", {{0, specs[0]}, {1, specs[1]}, {2, specs[2]}}));
  // The same bytes read as a Pioneer patch give other numbers.
  auto other = Open(kPioneerPatch, test::PlainPatch(specs, Endian::Big));
  EXPECT_NE(test::DescribeTree(other->tree), test::DescribeTree(o->tree));
}

TEST(PatchLoaders, PhilipsPatchShowsBlocksOneToSeven) {
  std::vector<PatchSectionSpec> specs;
  std::vector<std::pair<unsigned, PatchSectionSpec>> expected;
  for (unsigned k = 0; k < 7; ++k) {
    specs.push_back(k == 0 ? Canal(4000) : Dirs(k));
    expected.emplace_back(k + 1, specs.back());
  }
  auto o = Open(kPhilipsPatch, test::PhilipsPatch(specs));
  ASSERT_TRUE(o->result.ok());
  EXPECT_EQ(test::DescribeTree(o->tree), test::DescribePatch("patch.bin", expected));
  EXPECT_EQ(o->firmware.ImageSize, 0x200000u);
  EXPECT_EQ(o->firmware.Image.size(), 0x200000u);  // the writer starts again from it
}

TEST(PatchLoaders, StrongPatchWithSomeBlocksInAnyOrder) {
  const std::uint32_t base = test::kStrong8000PatchBase;
  const PatchSectionSpec s0 = Dirs(1), s3 = Canal(900), s6 = Dirs(6);
  const Bytes file = test::StrongBlockFile({
      test::StrongPatchRecord(base, 6, s6),
      {0x12345678, Pattern(0x10000, 1)},  // a record of another address
      test::StrongPatchRecord(base, 0, s0),
      test::StrongPatchRecord(test::kStrong8100PatchBase, 1, Dirs(9)),  // the other model's block
      test::StrongPatchRecord(base, 3, s3),
      test::StrongPatchRecord(base, 7, Dirs(7)),  // beyond the seven blocks
  });
  auto o = Open(kStrong8000Patch, file);
  ASSERT_TRUE(o->result.ok());
  EXPECT_EQ(test::DescribeTree(o->tree),
            test::DescribePatch("patch.bin", {{0, s0}, {3, s3}, {6, s6}}));
  EXPECT_EQ(o->firmware.ImageSize, 0x70000u);
  EXPECT_EQ(o->firmware.BlockCount, 0u);
  EXPECT_EQ(o->firmware.FileSize, file.size());
  EXPECT_EQ(o->firmware.FileData, file);
  EXPECT_TRUE(o->firmware.Image.empty());
}

TEST(PatchLoaders, StrongPatchWithNoneOfItsBlocks) {
  const Bytes file =
      test::StrongBlockFile({test::StrongPatchRecord(test::kStrong8100PatchBase, 0, Dirs(1)),
                             test::StrongPatchRecord(test::kStrong8100PatchBase, 1, Dirs(2))});
  auto o = Open(kStrong8000Patch, file);
  EXPECT_EQ(o->result.outcome, Outcome::Rejected);
  EXPECT_EQ(o->result.message.Rows(), std::vector<int>{229});
  EXPECT_TRUE(o->tree.Empty());
  // The same file is model 18's.
  EXPECT_TRUE(Open(kStrong8100Patch, file)->result.ok());
}

TEST(PatchLoaders, StrongPatchWhoseLastRecordIsCutShort) {
  const std::uint32_t base = test::kStrong8100PatchBase;
  const PatchSectionSpec s1 = Dirs(1);
  PatchSectionSpec s2;
  s2.dirs = {{"d", {{"f", Pattern(50, 1)}}}};
  // The record of block 2 loses all but 200 bytes of its data: its file still lies inside.
  const Bytes file = test::StrongBlockFile(
      {test::StrongPatchRecord(base, 1, s1), test::StrongPatchRecord(base, 2, s2)}, 0x10000 - 200);
  auto o = Open(kStrong8100Patch, file);
  ASSERT_TRUE(o->result.ok());
  EXPECT_EQ(test::DescribeTree(o->tree), test::DescribePatch("patch.bin", {{1, s1}, {2, s2}}));
}

TEST(PatchLoaders, CanalSectionHasExactlyOneChild) {
  auto o = Open(kPioneerPatch, test::PlainPatch({Canal(5000)}, Endian::Little));
  ASSERT_TRUE(o->result.ok());
  const TNodo* section = o->tree.Root()->FirstChild();
  ASSERT_EQ(section->ChildCount(), 1u);
  EXPECT_EQ(section->FirstChild()->Text, "CANAL_P.RCU");
  EXPECT_EQ(section->FirstChild()->Data.Tamano, 5000u);
  EXPECT_EQ(section->FirstChild()->ImageIndex, 10);
}

TEST(PatchLoaders, ReopeningReplacesTheTree) {
  TArbol tree;
  TFirmware first;
  ASSERT_TRUE(first.CreateFromBytes("a.rsc", test::PlainPatch({Dirs(1), Dirs(2)}, Endian::Little),
                                    tree, kPioneerPatch));
  TFirmware second;
  ASSERT_TRUE(second.CreateFromBytes("b.rsc", test::PlainPatch({Dirs(3)}, Endian::Little), tree,
                                     kPioneerPatch));
  EXPECT_EQ(tree.TopCount(), 1u);
  EXPECT_EQ(test::DescribeTree(tree), test::DescribePatch("b.rsc", {{0, Dirs(3)}}));
}

}  // namespace
}  // namespace corvane

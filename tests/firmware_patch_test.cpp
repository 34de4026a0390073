// The patch models (4, 14, 15, 17, 18): size rules, what the loaders keep, and how the writers put
// sections back into their places (unchanged patches of every model come back byte for byte in
// firmware_load_save_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "firmware/families/patch_sections.h"
#include "support/files.h"
#include "support/patch_builder.h"
#include "support/temp_dir.h"

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

PatchSectionSpec Dirs(unsigned seed, std::size_t dirs = 2) { return test::SampleSection(seed, dirs); }
PatchSectionSpec Canal(std::size_t size) { return test::CanalSection(size); }
PatchSectionSpec Full(unsigned seed) { return test::FullSection(seed); }

struct Opened {
  TArbol tree;
  TFirmware firmware;
  Result result;
};

std::unique_ptr<Opened> Open(int model, Bytes file, TArbol* tree = nullptr) {
  auto o = std::make_unique<Opened>();
  o->result = o->firmware.CreateFromBytes("patch.bin", std::move(file), tree ? *tree : o->tree, model);
  return o;
}

Bytes Save(Opened& o, Result* result = nullptr) {
  Bytes out;
  Result r = o.firmware.Build(SaveOptions{}, out);
  if (result) *result = r;
  EXPECT_TRUE(result || r.ok()) << RenderMessage(r.message);
  return out;
}

TEST(PatchLoaders, SizeRulesAndTheirMessages) {
  const std::vector<int> three_lines = {0, 1, 2};
  // A Strong patch whose records are all of the other Strong model's blocks.
  const Bytes other = test::StrongBlockFile({test::StrongPatchRecord(test::kStrong8100PatchBase, 0, Dirs(1))});
  const struct {
    int model;
    Bytes file;
    std::vector<int> rows;  // empty: accepted
  } cases[] = {
      {kPioneerPatch, {}, three_lines},           {kPioneerPatch, Bytes(0x10000), {}},
      {kPioneerPatch, Bytes(0x10001), three_lines}, {kPioneerPatch, Bytes(0xFFFF), three_lines},
      {kPioneerPatch, Bytes(0x80000), {}},        {kPioneerPatch, Bytes(0x90000), three_lines},
      {kSonyPatch, Bytes(0x20000), {}},           {kSonyPatch, Bytes(0x18000), three_lines},
      {kPhilipsPatch, Bytes(0x200000), {}},       {kPhilipsPatch, Bytes(0x1F0000), {5}},
      {kPhilipsPatch, Bytes(0x200001), {5}},      {kStrong8000Patch, {}, {229}},
      {kStrong8100Patch, Bytes(0x10008), {229}},  {kStrong8000Patch, other, {229}},
      {kStrong8100Patch, other, {}},
  };
  for (const auto& c : cases) {
    auto o = Open(c.model, c.file);
    const std::string what = test::Numbered("model ", c.model) + test::Numbered(" length ", c.file.size());
    EXPECT_EQ(o->result.message.Rows(), c.rows) << what;
    EXPECT_EQ(o->firmware.Loaded, c.rows.empty()) << what;
    EXPECT_EQ(o->tree.Empty(), !c.rows.empty()) << what;
  }
  // The three rows of the length rule make one box.
  EXPECT_EQ(RenderMessage(Open(kSonyPatch, Bytes(0x90000, 0))->result.message),
            "¡ El fichero no tiene la longitud adecuada !\r\nLa longitud tiene que ser múltiplo de "
            "64Kb\r\ny tener un tamaño máximo de 512Kb.");
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

TEST(PatchLoaders, ReopeningReplacesTheTree) {
  TArbol tree;
  ASSERT_TRUE(Open(kPioneerPatch, test::PlainPatch({Dirs(1), Dirs(2)}, Endian::Little), &tree)->result);
  ASSERT_TRUE(Open(kPioneerPatch, test::PlainPatch({Dirs(3)}, Endian::Little), &tree)->result);
  EXPECT_EQ(test::DescribeTree(tree), test::DescribePatch("patch.bin", {{0, Dirs(3)}}));
}

TEST(PatchWriters, RecordsArePackedAgain) {
  // Gaps between the records of a foreign file are closed: the tree is kept, the layout is ours.
  PatchSectionSpec gappy = Dirs(3, 4);
  gappy.record_gap = 40;
  PatchSectionSpec packed = gappy;
  packed.record_gap = 0;
  auto o = Open(kSonyPatch, test::PlainPatch({gappy}, Endian::Big));
  ASSERT_TRUE(o->result.ok());
  EXPECT_TRUE(Save(*o) == test::PlainPatch({packed}, Endian::Big));
}

TEST(PatchWriters, EditedTreeIsWrittenAndReadBack) {
  auto o = Open(kPioneerPatch, test::PlainPatch({Dirs(1), Dirs(2), Canal(50)}, Endian::Little));
  ASSERT_TRUE(o->result.ok());
  TNodo* root = o->tree.Root();
  AnadeNodo(Pattern(321, 9), "new.pan", o->tree, root->Child(0)->Child(1));
  BorraNodo(root->Child(1)->Child(0));
  AnadeNodo({}, "made", o->tree, root->Child(1));
  const std::string edited = test::DescribeTree(o->tree);
  auto again = Open(kPioneerPatch, Save(*o));
  ASSERT_TRUE(again->result.ok());
  EXPECT_EQ(test::DescribeTree(again->tree), edited);
}

TEST(PatchWriters, PhilipsKeepsTheBytesOutsideItsSections) {
  const Bytes file = test::PhilipsPatch({Dirs(1), Dirs(2)});
  auto o = Open(kPhilipsPatch, file);
  ASSERT_TRUE(o->result.ok());
  // Empty the first section: its block becomes zero, block 0 and the rest stay.
  BorraNodo(o->tree.Root()->Child(0)->Child(0));
  BorraNodo(o->tree.Root()->Child(0)->Child(0));
  Bytes expected = file;
  std::fill(expected.begin() + 0x10000, expected.begin() + 0x20000, 0);
  EXPECT_TRUE(Save(*o) == expected);
}

TEST(PatchWriters, StrongPutsBlocksBackIntoTheirRecords) {
  const std::uint32_t base = test::kStrong8000PatchBase;
  const Bytes file = test::StrongBlockFile(
      {test::StrongPatchRecord(base, 4, Dirs(4)), test::StrongPatchRecord(base, 1, Dirs(1))});
  auto o = Open(kStrong8000Patch, file);
  ASSERT_TRUE(o->result.ok());
  AnadeNodo(Pattern(99, 1), "added", o->tree, o->tree.Root()->Child(1)->Child(0));  // Sección-04
  const Bytes out = Save(*o);
  PatchSectionSpec four = Dirs(4);
  four.dirs[0].files.push_back({"added", Pattern(99, 1)});
  EXPECT_TRUE(out == test::StrongBlockFile({test::StrongPatchRecord(base, 4, four),
                                            test::StrongPatchRecord(base, 1, Dirs(1))}));

  // A deleted section leaves its block empty.
  BorraNodo(o->tree.Root()->Child(0));
  EXPECT_TRUE(Save(*o) == test::StrongBlockFile({test::StrongPatchRecord(base, 4, four),
                                                 test::StrongPatchRecord(base, 1, {})}));
}

TEST(PatchWriters, StrongRefusesSectionsWithoutABlockToGoTo) {
  const std::uint32_t base = test::kStrong8100PatchBase;
  const Bytes file = test::StrongBlockFile(
      {test::StrongPatchRecord(base, 0, Dirs(0)), test::StrongPatchRecord(base, 2, Dirs(2))});
  // Past the seven blocks, block 1 (not in the file), block 2 twice, not capital hexadecimal, no
  // number, far out of range.
  for (const char* what : {"-07", "-1", "-02", "-0g", "", "-FFFFFFFFFFFFFFFF"}) {
    const std::string name = SectionPrefix() + what;
    auto o = Open(kStrong8100Patch, file);
    ASSERT_TRUE(o->result.ok());
    o->tree.Root()->Child(0)->Text = name;
    Result r;
    Save(*o, &r);
    EXPECT_TRUE(r.outcome == Outcome::Refused && !r.message.Empty()) << what;
    EXPECT_TRUE(o->firmware.Blocks == Open(kStrong8100Patch, file)->firmware.Blocks) << what;
  }
}

TEST(PatchWriters, MoreSectionsThanPlacesAreRefused) {
  const std::pair<int, Bytes> cases[] = {
      {kPioneerPatch, test::PlainPatch({Dirs(1)}, Endian::Little)},
      {kSonyPatch, test::PlainPatch({Dirs(1), Dirs(2)}, Endian::Big)},
      {kPhilipsPatch, test::PhilipsPatch({})},  // seven places
  };
  for (const auto& [model, file] : cases) {
    auto o = Open(model, file);
    ASSERT_TRUE(o->result.ok());
    AnadeNodo({}, "extra", o->tree, o->tree.Root());
    Result r;
    EXPECT_TRUE(Save(*o, &r).empty());
    EXPECT_EQ(r.outcome, Outcome::Refused) << model;
  }
}

TEST(PatchWriters, OversizedSectionIsRefusedAndNothingIsWritten) {
  for (int model : {kPioneerPatch, kSonyPatch, kPhilipsPatch, kStrong8000Patch}) {
    const std::vector<PatchSectionSpec> specs = {Dirs(1), Full(2)};
    const std::uint32_t base = test::kStrong8000PatchBase;
    const Bytes file =
        model == kPhilipsPatch      ? test::PhilipsPatch(specs)
        : model == kStrong8000Patch ? test::StrongBlockFile({test::StrongPatchRecord(base, 0, specs[0]),
                                                             test::StrongPatchRecord(base, 1, specs[1])})
                                    : test::PlainPatch(specs, model == kSonyPatch ? Endian::Big : Endian::Little);
    auto o = Open(model, file);
    ASSERT_TRUE(o->result.ok());
    // One more byte in the full section: its bytes would end at 65536.
    TNodo* big = o->tree.Root()->Child(1)->FirstChild()->FirstChild();
    big->Data.Datos.push_back(7);
    big->Data.Tamano += 1;

    test::TempDir dir;
    const auto destination = dir / "out.bin";
    test::WriteFile(destination, test::ToBytes("previous contents"));
    const Result r = o->firmware.GuardaFirmware(destination, SaveOptions{});
    EXPECT_EQ(r.outcome, Outcome::Refused) << model;
    EXPECT_EQ(r.message.Rows(), std::vector<int>{7}) << model;
    EXPECT_NE(RenderMessage(r.message).find(TextFromName(o->tree.Root()->Child(1)->Text)),
              std::string::npos);
    EXPECT_EQ(test::ReadText(destination), "previous contents") << model;

    // Back within the limit it saves, to the file on disk.
    big->Data.Datos.pop_back();
    big->Data.Tamano -= 1;
    ASSERT_TRUE(o->firmware.GuardaFirmware(destination, SaveOptions{})) << model;
    EXPECT_TRUE(test::ReadFile(destination) == file) << model;
  }
}

}  // namespace
}  // namespace corvane

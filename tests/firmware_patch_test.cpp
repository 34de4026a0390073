// The patch models (4, 14, 15, 17, 18): size rules, what the loaders keep, and how the writers put
// sections back into their places.
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

std::unique_ptr<Opened> Open(int model, Bytes file) {
  auto o = std::make_unique<Opened>();
  o->result = o->firmware.CreateFromBytes("patch.bin", std::move(file), o->tree, model);
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
  // The three rows of the length rule make one box.
  EXPECT_EQ(RenderMessage(Open(kSonyPatch, Bytes(0x90000, 0))->result.message),
            "¡ El fichero no tiene la longitud adecuada !\r\nLa longitud tiene que ser múltiplo de "
            "64Kb\r\ny tener un tamaño máximo de 512Kb.");
}

// The trees themselves are checked for every patch model in firmware_load_save_test.cpp.
TEST(PatchLoaders, SizesAndImageOfEachModel) {
  const std::uint32_t base = test::kStrong8000PatchBase;
  const Bytes strong = test::StrongBlockFile(
      {test::StrongPatchRecord(base, 6, Dirs(6)), test::StrongPatchRecord(base, 0, Dirs(0))});
  struct Case {
    int model;
    Bytes file;
    std::uint32_t image_size;
    std::size_t image_held;  // the Philips writer starts again from the image; the others rebuild
  } cases[] = {
      {kPioneerPatch, test::PlainPatch({Dirs(1), {}, Canal(50)}, Endian::Little, 0x80000),
       0x80000, 0},
      {kPhilipsPatch, test::PhilipsPatch({Canal(4000), Dirs(2)}), 0x200000, 0x200000},
      {kStrong8000Patch, strong, 0x70000, 0},
  };
  for (const Case& c : cases) {
    auto o = Open(c.model, c.file);
    ASSERT_TRUE(o->result.ok()) << c.model;
    EXPECT_EQ(o->tree.Root()->ChildCount(), c.model == kPioneerPatch ? 8u : c.model == kPhilipsPatch ? 7u : 2u);
    EXPECT_EQ(o->firmware.FileSize, c.file.size()) << c.model;
    EXPECT_EQ(o->firmware.ImageSize, c.image_size) << c.model;
    EXPECT_EQ(o->firmware.Image.size(), c.image_held) << c.model;
    EXPECT_EQ(o->firmware.DirectoryCapacity, 0u) << c.model;
    EXPECT_EQ(o->firmware.BaseAddress, c.model == kStrong8000Patch ? base : 0u) << c.model;
  }
  auto s = Open(kStrong8000Patch, strong);
  EXPECT_EQ(s->firmware.BlockCount, 0u);
  EXPECT_EQ(s->firmware.FileData, strong);
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

TEST(PatchWriters, PioneerPatchWithACanalSectionAndADirectorySection) {
  const PatchSectionSpec canal = Canal(700);
  PatchSectionSpec dirs;
  dirs.dirs = {{"d", {{"x", Pattern(5, 1)}, {"y", Pattern(7, 2)}}}};
  auto o = Open(kPioneerPatch, test::PlainPatch({canal, dirs}, Endian::Little));
  ASSERT_TRUE(o->result.ok());
  const Bytes out = Save(*o);
  ASSERT_EQ(out.size(), 0x20000u);
  EXPECT_TRUE(std::equal(canal.canal->begin(), canal.canal->end(), out.begin()));
  const ByteView v(out);
  EXPECT_EQ(v.u16le(0x10000), 32u);
  EXPECT_EQ(v.u16le(0x10002), 0u);
  EXPECT_EQ(v.u16le(0x10000 + 32 + 10), 56u);
  // Nothing else: the rest of section 00 and everything after the 68-byte record are zero.
  EXPECT_TRUE(std::all_of(out.begin() + 700, out.begin() + 0x10000, [](auto b) { return b == 0; }));
  EXPECT_TRUE(
      std::all_of(out.begin() + 0x10000 + 32 + 68, out.end(), [](auto b) { return b == 0; }));
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
  const Bytes out = Save(*o);
  ASSERT_EQ(out.size(), 0x200000u);
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 0x10000, file.begin()));
  EXPECT_TRUE(
      std::all_of(out.begin() + 0x10000, out.begin() + 0x20000, [](auto b) { return b == 0; }));
  EXPECT_TRUE(std::equal(out.begin() + 0x20000, out.end(), file.begin() + 0x20000));
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
  const std::pair<const char*, const char*> renames[] = {
      {"Secci\xF3n-07", "number past the seven blocks"},
      {"Secci\xF3n-1", "block 1 is not in the file"},
      {"Secci\xF3n-02", "two sections for block 2"},
      {"Secci\xF3n-0g", "not a capital hexadecimal number"},
      {"Secci\xF3n", "no number"},
      {"Secci\xF3n-FFFFFFFFFFFFFFFF", "a number far out of range"},
  };
  for (const auto& [name, what] : renames) {
    auto o = Open(kStrong8100Patch, file);
    ASSERT_TRUE(o->result.ok());
    o->tree.Root()->Child(0)->Text = name;
    Result r;
    Save(*o, &r);
    EXPECT_EQ(r.outcome, Outcome::Refused) << what;
    EXPECT_FALSE(r.message.Empty()) << what;
    EXPECT_TRUE(o->firmware.FileData == file) << what;
  }
}

TEST(PatchWriters, MoreSectionsThanPlacesAreRefused) {
  struct Case {
    int model;
    Bytes file;
    std::size_t places;
  };
  const Case cases[] = {
      {kPioneerPatch, test::PlainPatch({Dirs(1)}, Endian::Little), 1},
      {kSonyPatch, test::PlainPatch({Dirs(1), Dirs(2)}, Endian::Big), 2},
      {kPhilipsPatch, test::PhilipsPatch({}), 7},
  };
  for (const Case& c : cases) {
    auto o = Open(c.model, c.file);
    ASSERT_TRUE(o->result.ok());
    ASSERT_EQ(o->tree.Root()->ChildCount(), c.places);
    Result r;
    EXPECT_FALSE(Save(*o, &r).empty());
    AnadeNodo({}, "extra", o->tree, o->tree.Root());
    EXPECT_TRUE(Save(*o, &r).empty());
    EXPECT_EQ(r.outcome, Outcome::Refused) << c.model;
  }
}

TEST(PatchWriters, OversizedSectionIsRefusedAndNothingIsWritten) {
  for (int model : {kPioneerPatch, kSonyPatch, kPhilipsPatch, kStrong8000Patch}) {
    Bytes file;
    const std::vector<PatchSectionSpec> specs = {Dirs(1), Full(2)};
    if (model == kPhilipsPatch)
      file = test::PhilipsPatch(specs);
    else if (model == kStrong8000Patch)
      file =
          test::StrongBlockFile({test::StrongPatchRecord(test::kStrong8000PatchBase, 0, specs[0]),
                                 test::StrongPatchRecord(test::kStrong8000PatchBase, 1, specs[1])});
    else
      file = test::PlainPatch(specs, model == kSonyPatch ? Endian::Big : Endian::Little);
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

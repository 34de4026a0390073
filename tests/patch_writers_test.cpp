#include <gtest/gtest.h>

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

PatchSectionSpec Dirs(unsigned seed, std::size_t dirs = 2) {
  PatchSectionSpec s;
  for (std::size_t d = 0; d < dirs; ++d) {
    const auto k = static_cast<unsigned>(seed * 31 + d);
    s.dirs.push_back({test::Numbered("dir", k),
                      {{"a.cpz", Pattern(13 + k % 7, k)},
                       {"b.pan", Pattern(1 + k % 3, k + 1)},
                       {"long_name.im", Pattern(250 + k, k + 2)}}});
  }
  return s;
}

PatchSectionSpec Canal(std::size_t size) {
  PatchSectionSpec s;
  s.canal = test::CanalFile(size, static_cast<unsigned>(size));
  return s;
}

PatchSectionSpec Full(unsigned seed) {
  // One directory whose bytes end at 65535, the last byte a section may hold (its padding
  // reaches the end of the 64 KB slot).
  PatchSectionSpec s;
  s.dirs = {{"full", {{"big.dat", Pattern(65467, seed)}}}};
  return s;
}

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

struct RoundTrip {
  const char* what;
  int model;
  Bytes file;
};

std::vector<RoundTrip> RoundTripCases() {
  const std::uint32_t b17 = test::kStrong8000PatchBase, b18 = test::kStrong8100PatchBase;
  std::vector<RoundTrip> cases;
  cases.push_back(
      {"Pioneer, eight sections", kPioneerPatch,
       test::PlainPatch(
           {Dirs(0), Canal(3001), Dirs(2, 16), {}, Dirs(4, 1), Full(5), Dirs(6), Canal(65536)},
           Endian::Little)});
  cases.push_back(
      {"Pioneer, one section", kPioneerPatch, test::PlainPatch({Dirs(1)}, Endian::Little)});
  cases.push_back({"Pioneer, fewer sections than places", kPioneerPatch,
                   test::PlainPatch({Dirs(1), Dirs(2)}, Endian::Little, 0x40000)});
  cases.push_back({"Sony", kSonyPatch,
                   test::PlainPatch({Canal(20), Full(1), Dirs(2, 16), Dirs(3)}, Endian::Big)});
  cases.push_back(
      {"Philips", kPhilipsPatch,
       test::PhilipsPatch({Dirs(1), Canal(999), {}, Full(4), Dirs(5, 3), Dirs(6), Dirs(7)})});
  cases.push_back({"Strong 8000, blocks out of order with foreign records", kStrong8000Patch,
                   test::StrongBlockFile({test::StrongPatchRecord(b17, 5, Dirs(5)),
                                          {0x81200000u + 0x20000000u, Pattern(0x10000, 3)},
                                          test::StrongPatchRecord(b17, 0, Full(0)),
                                          test::StrongPatchRecord(b17, 2, Canal(1234)),
                                          test::StrongPatchRecord(b17, 5, Dirs(9))})});
  cases.push_back(
      {"Strong 8100, all seven blocks", kStrong8100Patch,
       test::StrongBlockFile(
           {test::StrongPatchRecord(b18, 0, Dirs(0)), test::StrongPatchRecord(b18, 1, Dirs(1)),
            test::StrongPatchRecord(b18, 2, Dirs(2)), test::StrongPatchRecord(b18, 3, Dirs(3)),
            test::StrongPatchRecord(b18, 4, Dirs(4)), test::StrongPatchRecord(b18, 5, Dirs(5)),
            test::StrongPatchRecord(b18, 6, Full(6))})});
  return cases;
}

TEST(PatchWriters, OpenSaveOpenKeepsTreeAndBytes) {
  for (const RoundTrip& c : RoundTripCases()) {
    auto first = Open(c.model, c.file);
    ASSERT_TRUE(first->result.ok()) << c.what;
    const Bytes saved = Save(*first);
    EXPECT_TRUE(saved == c.file) << c.what;  // every byte of these files is fixed
    auto second = Open(c.model, saved);
    ASSERT_TRUE(second->result.ok()) << c.what;
    EXPECT_EQ(test::DescribeTree(second->tree), test::DescribeTree(first->tree)) << c.what;
    EXPECT_TRUE(Save(*first) == saved) << c.what << ": a second save differs";
  }
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
  EXPECT_TRUE(o->firmware.FileData == out);  // the blocks of the last save

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

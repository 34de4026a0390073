// Edge cases of the Philips-family loaders and writers: computed base addresses, 24-bit plain
// offsets, the 6071's arrays, capacity refusals, the writers' fills, the second areas, and crafted,
// truncated and bit-flipped images.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "base/messages.h"
#include "firmware/families/directory_table.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"
#include "support/firmware_checks.h"
#include "support/image_builder_philips.h"

namespace corvane {
namespace {

using test::BuildPhilipsImage;
using test::BuiltPhilipsImage;
using test::PatternBytes;
using test::PhilipsImageSpec;
using test::SampleTree;
using test::TreeDifference;

using test::AddFile;
using test::Dir;
using test::ExpectTooManyFiles;
using test::Load;
using test::Loaded;
using test::SaveAndReload;

PhilipsImageSpec Spec(int model, bool second_area = false) {
  PhilipsImageSpec s;
  s.model = model;
  s.dirs = SampleTree(second_area);
  return s;
}

std::unique_ptr<Loaded> LoadSpec(const PhilipsImageSpec& spec) { return test::LoadOk(BuildPhilipsImage(spec).file, spec.model); }

Result Save(TFirmware& fw, Bytes& out) { return fw.Build(SaveOptions{}, out); }

std::uint32_t LE32(const Bytes& b, std::size_t p) {
  return b[p] | (b[p + 1] << 8) | (b[p + 2] << 16) | (std::uint32_t{b[p + 3]} << 24);
}
std::uint32_t BE32(const Bytes& b, std::size_t p) {
  return (std::uint32_t{b[p]} << 24) | (b[p + 1] << 16) | (b[p + 2] << 8) | b[p + 3];
}
void PutLE32(Bytes& b, std::size_t p, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[p + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
}
bool AllBytes(const Bytes& b, std::size_t start, std::size_t end, std::uint8_t v) {
  for (std::size_t i = start; i < end; ++i)
    if (b[i] != v) return false;
  return true;
}

// --- Base addresses and offsets ---------------------------------------------------------------

TEST(PhilipsBase, ComputedFromTheFirstFileTable) {
  // Model 7, 8, 11 and 27 images at several flash bases, the first below 16 x capacity (the
  // record addresses wrap around).
  for (const int model : {7, 8, 11, 27}) {
    for (const std::uint32_t base : {0x00000010u, 0x80000000u, 0x12345678u, 0xFFFF0000u}) {
      SCOPED_TRACE(testing::Message() << "model " << model << " base " << base);
      PhilipsImageSpec spec = Spec(model);
      spec.base = base;
      const BuiltPhilipsImage built = BuildPhilipsImage(spec);
      auto l = Load(built.file, model);
      ASSERT_TRUE(l->result.ok()) << RenderMessage(l->result.message);
      EXPECT_EQ(test::LayoutOf(l->fw), built.layout);
      EXPECT_EQ(built.layout.BaseAddress, base);
      EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
    }
  }
}

TEST(PhilipsBase, WriterPutsDataAddressesSixteenBytesPerRecordLower) {
  PhilipsImageSpec spec = Spec(8);
  spec.capacity = 5;
  auto l = LoadSpec(spec);
  AddFile(l->tree, "void", "new.cpz", 33);
  Bytes out;
  ASSERT_TRUE(Save(l->fw, out).ok());
  const std::uint32_t t = l->fw.TableOffset;
  // "void" is the third directory; its data follows "boot" and "main", 4-aligned.
  const std::uint32_t void_data = l->fw.AreaStart + 372 + 1052;
  EXPECT_EQ(LE32(out, t + 4 + 16 * 2 + 12), void_data + l->fw.BaseAddress - 16 * 5);
  // Its file table follows the five entries before it.
  EXPECT_EQ(LE32(out, l->fw.AddressTableOffset + 8), l->fw.FileTableOffset + 100 + l->fw.BaseAddress);
  auto again = SaveAndReload(*l);
  EXPECT_EQ(again->fw.BaseAddress, l->fw.BaseAddress);
}

TEST(PhilipsD, ReadsTwentyFourBitPlainOffsetsWithoutBase) {
  for (const int model : {25, 26}) {
    SCOPED_TRACE(model);
    const PhilipsImageSpec spec = Spec(model);
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    // The byte before the 24-bit offset is not part of it.
    const std::uint32_t t = built.layout.TableOffset;
    for (std::size_t i = 0; i < spec.dirs.size(); ++i) built.file[t + 4 + 30 * i + 10] = 0x5A;
    auto l = Load(built.file, model);
    ASSERT_TRUE(l->result.ok());
    EXPECT_EQ(l->fw.BaseAddress, 0u);
    EXPECT_EQ(l->fw.AreaStart, built.data_at[0]);
    EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
    // Written back as a 32-bit number at record offset 10.
    Bytes out;
    ASSERT_TRUE(Save(l->fw, out).ok());
    EXPECT_EQ(BE32(out, t + 4 + 10), built.data_at[0]);
  }
}

TEST(PhilipsD, TablesFollowOneAnotherAndStepOverMarkers) {
  PhilipsImageSpec spec = Spec(25);
  spec.markers = true;
  const BuiltPhilipsImage built = BuildPhilipsImage(spec);
  auto l = Load(built.file, 25);
  ASSERT_TRUE(l->result.ok());
  EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
  // The writer packs them.
  Bytes out;
  ASSERT_TRUE(Save(l->fw, out).ok());
  EXPECT_EQ(out[l->fw.FileTableOffset + 60], 'm');  // "menu.paz" right after boot's three
}

TEST(Philips6071, CountAndAddressArrays) {
  for (const std::uint32_t capacity : {3u, 8u}) {
    for (const std::uint32_t table_base : {0x00020000u, 0xBFC40000u}) {
      SCOPED_TRACE(testing::Message() << capacity << " " << table_base);
      PhilipsImageSpec spec = Spec(19);
      spec.capacity = capacity;
      spec.table_base = table_base;
      const BuiltPhilipsImage built = BuildPhilipsImage(spec);
      auto l = Load(built.file, 19);
      ASSERT_TRUE(l->result.ok());
      EXPECT_EQ(test::LayoutOf(l->fw), built.layout);
      EXPECT_EQ(l->fw.DirectoryCapacity, capacity);
      EXPECT_EQ(l->fw.SecondBaseAddress, table_base);
      EXPECT_EQ(l->fw.BaseAddress, 0x7FE00000u);
      EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
    }
  }
}

TEST(Philips6071, AValueAbove0x10000EndsTheCountArray) {
  PhilipsImageSpec spec = Spec(19);
  spec.capacity = 8;
  BuiltPhilipsImage built = BuildPhilipsImage(spec);
  // The sixth count (unused) becomes large: the array is five long, and what follows is read as
  // the address array.
  const std::uint32_t counts = built.layout.AddressTableOffset - 4 * 8;
  PutLE32(built.file, counts + 4 * 5, 0x10001);
  auto l = Load(built.file, 19);
  ASSERT_TRUE(l->result.ok());
  EXPECT_EQ(l->fw.DirectoryCapacity, 5u);
  EXPECT_EQ(l->fw.AddressTableOffset, counts + 20);
}

TEST(Philips6071, MoreDirectoriesThanArraySlotsStopAtTheArrays) {
  PhilipsImageSpec spec = Spec(19);
  spec.capacity = 3;
  BuiltPhilipsImage built = BuildPhilipsImage(spec);
  PutLE32(built.file, built.layout.TableOffset, 7);
  auto l = Load(built.file, 19);
  ASSERT_TRUE(l->result.ok());
  EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
}

// An erased run ending off the scan's grid is no evidence when the table read through the word
// after it is not sound: the literal reading stands.
TEST(PhilipsBlock, AnUnsoundCandidateLeavesTheLiteralScan) {
  PhilipsImageSpec spec = Spec(7);
  spec.spare_entries = 1;
  BuiltPhilipsImage built = BuildPhilipsImage(spec);
  const std::uint32_t block = built.layout.FileTableOffset;
  const std::uint32_t array = built.layout.AddressTableOffset;
  ASSERT_EQ(array, block + 120);
  // The spare entry's last four bytes hold a word whose base would put the data outside.
  PutLE32(built.file, array - 4, 0x00000001);
  auto l = Load(built.file, 7);
  ASSERT_TRUE(l->result.ok());
  EXPECT_EQ(l->fw.AddressTableOffset, array);
  EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
}

// --- Capacity ---------------------------------------------------------------------------------

TEST(PhilipsCapacity, DataUpToTheTableFitsOneByteMoreDoesNot) {
  for (const int model : {7, 25}) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    const std::uint32_t mask = model == 25 ? 1 : 3;
    const std::uint32_t room = l->fw.TableOffset - l->fw.AreaStart - EspacioUsado(*l->tree.Root(), mask);
    AddFile(l->tree, "void", "fits.daz", room);
    SaveAndReload(*l);
    Dir(l->tree, "void")->FirstChild()->Data.Tamano = room + 1;
    Dir(l->tree, "void")->FirstChild()->Data.Datos.resize(room + 2, 0);
    ExpectTooManyFiles(l->fw);
  }
}

TEST(PhilipsCapacity, EntriesUpToTheBlockEndFit) {
  for (const int model : {7, 25}) {
    SCOPED_TRACE(model);
    PhilipsImageSpec spec = Spec(model);
    spec.spare_entries = 2;
    auto l = LoadSpec(spec);
    AddFile(l->tree, "void", "one.daz", 4);
    AddFile(l->tree, "void", "two.daz", 4);
    SaveAndReload(*l);
    AddFile(l->tree, "void", "three.daz", 4);
    ExpectTooManyFiles(l->fw);
  }
}

TEST(PhilipsCapacity, MoreDirectoriesThanRecordsAreRefused) {
  for (const int model : {7, 19, 25, 27}) {
    SCOPED_TRACE(model);
    PhilipsImageSpec spec = Spec(model);
    spec.capacity = 3;
    auto l = LoadSpec(spec);
    AnadeNodo(ByteView(), "more", l->tree, l->tree.Root());
    ExpectTooManyFiles(l->fw);
  }
}

TEST(Dyna, DataThatDoesNotFitBeforeTheTableMovesToTheSecondArea) {
  auto l = LoadSpec(Spec(27));
  const std::uint32_t t = l->fw.TableOffset;
  const std::uint32_t room = t - l->fw.AreaStart - EspacioUsado(*l->tree.Root(), 3);
  AddFile(l->tree, "main", "fill.daz", room - 8);  // region A is left with 8 bytes
  AddFile(l->tree, "void", "late.daz", 40);        // "void" no longer fits there
  Bytes out;
  auto again = SaveAndReload(*l, &out);
  ASSERT_EQ(out.size(), 0x200000u);
  EXPECT_EQ(LE32(out, t + 4 + 32 * 2 + 12), 0x1A32CCu + l->fw.BaseAddress);
  EXPECT_EQ(again->fw.SecondAreaStart, 0x1A32CCu);  // the region split finds it there
  // The rest of region A is erased up to the table, and region B after its data.
  EXPECT_TRUE(AllBytes(out, t - 8, t, 0xFF));
  EXPECT_TRUE(AllBytes(out, 0x1A32CC + 40, 0x1AF118, 0xFF));
}

TEST(Dyna, EntriesBeyondTheBlockMoveToTheSecondTableArea) {
  PhilipsImageSpec spec = Spec(27);
  spec.spare_entries = 1;
  auto l = LoadSpec(spec);
  AddFile(l->tree, "void", "a.daz", 8);
  AddFile(l->tree, "void", "b.daz", 8);
  Bytes out;
  SaveAndReload(*l, &out);
  EXPECT_EQ(LE32(out, l->fw.AddressTableOffset + 8), 0x1AF118u + l->fw.BaseAddress);
  EXPECT_EQ(out[0x1AF118], 'a');
}

TEST(Dyna, SecondAreaLimits) {
  {  // data: 0x1A32CC + data <= 0x1AF118
    auto l = LoadSpec(Spec(27));
    const std::uint32_t room = l->fw.TableOffset - l->fw.AreaStart - 1424;
    AddFile(l->tree, "void", "big.daz", room);  // fills region A exactly
    AnadeNodo(ByteView(), "late", l->tree, l->tree.Root());
    AddFile(l->tree, "late", "fill.daz", 0x1AF118 - 0x1A32CC);
    SaveAndReload(*l);
    AddFile(l->tree, "late", "over.daz", 1);
    ExpectTooManyFiles(l->fw);
  }
  {  // entries: 0x1AF118 + 20 x entries <= 0x1AFFFF, i.e. at most 190
    PhilipsImageSpec spec = Spec(27);
    spec.spare_entries = 0;
    auto l = LoadSpec(spec);
    for (int i = 0; i < 190; ++i) AddFile(l->tree, "void", "f" + std::to_string(i) + ".daz", 1);
    SaveAndReload(*l);
    AddFile(l->tree, "void", "over.daz", 1);
    ExpectTooManyFiles(l->fw);
  }
}

TEST(Philips6071, DataMovesToTheSecondAreaAfterTheGrownTables) {
  auto l = LoadSpec(Spec(19, true));
  const std::uint32_t area1_room = l->fw.AreaEnd - l->fw.AreaStart - 1424;  // boot and main
  AddFile(l->tree, "void", "big.daz", area1_room + 4);  // "void" no longer fits area 1
  Bytes out;
  auto again = SaveAndReload(*l, &out);
  // The writer computes the start: after the eight entries.
  const std::uint32_t second = l->fw.FileTableOffset + 20 * 8;
  EXPECT_EQ(again->fw.SecondAreaStart, second);
  EXPECT_EQ(LE32(out, l->fw.TableOffset + 4 + 32 * 2 + 12), second + l->fw.BaseAddress);
}

// The room check counts both areas together, but what moves to the second area must fit there:
// otherwise it would be written past its end.
TEST(Philips6071, WhatMovesToTheSecondAreaMustFitThere) {
  auto l = LoadSpec(Spec(19, true));
  const std::uint32_t area1 = l->fw.AreaEnd - l->fw.AreaStart;
  const std::uint32_t room2 = l->fw.SecondAreaEnd - (l->fw.FileTableOffset + 20 * 8);
  const std::uint32_t x = room2 - 2060 + 8;  // "extra" holds 2060 bytes
  ASSERT_GT(x, area1 - 1424);
  ASSERT_LE(1424 + x + 2060, area1 + room2);  // the sum check passes
  AddFile(l->tree, "void", "big.daz", x);
  ExpectTooManyFiles(l->fw);
}

TEST(Philips6071, RoomOfBothAreasIsTheLimit) {
  auto l = LoadSpec(Spec(19, true));
  const std::uint32_t room = (l->fw.AreaEnd - l->fw.AreaStart) +
                             (l->fw.SecondAreaEnd - l->fw.FileTableOffset - 20 * 8) -
                             EspacioUsado(*l->tree.Root(), 3);
  AddFile(l->tree, "extra", "over.daz", room + 4);
  ExpectTooManyFiles(l->fw);
}

// --- Writer fills -----------------------------------------------------------------------------

// What each writer puts between and after what it writes: [start, end) holds `value`.
struct Fill {
  std::uint32_t start, end;
  std::uint8_t value;
};
struct FillCase {
  int model;
  bool markers, second_area;
  std::vector<Fill> junk;  // put into the built image, from its table: the writer overwrites it
  std::function<std::vector<Fill>(Loaded&, std::uint32_t area_end)> fills;
};

TEST(PhilipsFills, EveryWriterFillsWhatItDoesNotWrite) {
  const FillCase cases[] = {
      {11, true, false, {},
       [](Loaded& l, std::uint32_t) -> std::vector<Fill> {
         const TFirmware& fw = l.fw;
         const std::uint32_t t = fw.TableOffset, cap = fw.DirectoryCapacity;
         return {{fw.AreaStart + 1423, fw.AreaStart + 1424, 0x00},  // alignment inside the data
                 {fw.AreaStart + EspacioUsado(*l.tree.Root(), 3), t, 0xFF},
                 {t + 4 + 16 * 3, t + 4 + 16 * cap, 0xFF},
                 {t + 4 + 16 * cap + 12, t + 4 + 20 * cap, 0xFF},
                 {fw.FileTableOffset + 20 * 5, fw.AddressTableOffset, 0xFF},
                 {fw.AddressTableOffset + 12, fw.AddressTableOffset + 4 * cap, 0xFF}};
       }},
      {26, false, false, {{4 + 30 * 8 + 12, 4 + 30 * 8 + 32, 0x22}},
       [](Loaded& l, std::uint32_t) -> std::vector<Fill> {
         const TFirmware& fw = l.fw;
         const std::uint32_t t = fw.TableOffset, cap = fw.DirectoryCapacity;
         return {{fw.AreaStart + 1423, fw.AreaStart + 1424, 0xFF},
                 {fw.AreaStart + EspacioUsado(*l.tree.Root(), 1), t, 0xFF},
                 {t + 4 + 30 * 3, t + 4 + 30 * cap, 0xFF},
                 {t + 4 + 30 * cap + 12, t + 4 + 34 * cap, 0x00},
                 {fw.FileTableOffset + 20 * 5, fw.AddressTableOffset, 0x00}};
       }},
      {27, true, false, {{4 + 16, 4 + 32, 0x77}, {4 + 32 * 3, 4 + 32 * 8, 0x77}},
       [](Loaded& l, std::uint32_t) -> std::vector<Fill> {
         const TFirmware& fw = l.fw;
         const std::uint32_t t = fw.TableOffset, cap = fw.DirectoryCapacity;
         return {{fw.AreaStart + 1423, fw.AreaStart + 1424, 0x00},
                 {fw.AreaStart + EspacioUsado(*l.tree.Root(), 3), t, 0xFF},
                 {0x1A32CC, 0x1AF118 + 3815, 0xFF},
                 {t + 4 + 16, t + 4 + 32, 0x00},  // after each used record's address
                 {t + 4 + 32 * 3, t + 4 + 32 * cap, 0x00},
                 {t + 4 + 32 * cap + 12, t + 4 + 36 * cap, 0xFF},
                 {fw.FileTableOffset + 20 * 5, fw.AddressTableOffset, 0xFF}};
       }},
      {19, false, true, {},
       [](Loaded& l, std::uint32_t area_end) -> std::vector<Fill> {
         const TFirmware& fw = l.fw;
         const std::uint32_t t = fw.TableOffset;
         const std::uint32_t d1 =
             SumaTamanos(*Dir(l.tree, "boot"), 3) + SumaTamanos(*Dir(l.tree, "main"), 3);
         return {{t + 4 + 32 * 4, t + 4 + 32 * 8, 0x00},
                 {fw.AddressTableOffset + 16, fw.AddressTableOffset + 32, 0x00},
                 {fw.FileTableOffset + 20 * 7 + 2060, fw.SecondAreaEnd, 0x00},
                 {fw.AreaStart + d1, area_end, 0x00}};
       }},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.model);
    PhilipsImageSpec spec = Spec(c.model, c.second_area);
    spec.markers = c.markers;
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    const std::uint32_t t0 = built.layout.TableOffset;
    for (const Fill& j : c.junk)
      std::fill(built.file.begin() + t0 + j.start, built.file.begin() + t0 + j.end, j.value);
    auto l = Load(built.file, c.model);
    ASSERT_TRUE(l->result.ok());
    const std::uint32_t area_end = l->fw.AreaEnd;
    Bytes out;
    ASSERT_TRUE(Save(l->fw, out).ok());
    for (const Fill& f : c.fills(*l, area_end))
      EXPECT_TRUE(AllBytes(out, f.start, f.end, f.value)) << f.start << ".." << f.end;
  }
}

// --- Crafted images ---------------------------------------------------------------------------

TEST(PhilipsCrafted, ADirectoryWhoseTableLiesOutsideKeepsItsNode) {
  for (const int model : {7, 27, 19}) {
    SCOPED_TRACE(model);
    BuiltPhilipsImage built = BuildPhilipsImage(Spec(model));
    // "main"'s table address points beyond the file.
    PutLE32(built.file, built.layout.AddressTableOffset + 4, 0xFFFFFF00);
    auto l = Load(built.file, model);
    ASSERT_TRUE(l->result.ok());
    ASSERT_NE(Dir(l->tree, "main"), nullptr);
    EXPECT_FALSE(Dir(l->tree, "main")->HasChildren());
    EXPECT_EQ(Dir(l->tree, "boot")->ChildCount(), 3u);
  }
}

TEST(PhilipsCrafted, EntriesPointingOutsideAreSkipped) {
  for (const int model : {8, 19, 25, 27}) {
    SCOPED_TRACE(model);
    BuiltPhilipsImage built = BuildPhilipsImage(Spec(model));
    const std::size_t entry = built.table_at[0] + 20;  // logo.imz
    for (int k = 0; k < 4; ++k) built.file[entry + 12 + static_cast<std::size_t>(k)] = 0xF0;
    auto l = Load(built.file, model);
    ASSERT_TRUE(l->result.ok());
    const TNodo* boot = Dir(l->tree, "boot");
    ASSERT_EQ(boot->ChildCount(), 2u);
    EXPECT_EQ(boot->Child(1)->Text, "main.luz");
  }
}

}  // namespace
}  // namespace corvane

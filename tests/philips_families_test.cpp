// Edge cases of the Philips-family loaders and writers: computed base addresses, 24-bit plain
// offsets, the 6071's arrays, room refusals, the writers' fills, the second areas, and crafted
// images.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "firmware/families/directory_table.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"
#include "support/firmware_checks.h"
#include "support/image_builder_philips.h"

namespace corvane {
namespace {

using test::AddFile;
using test::BuildPhilipsImage;
using test::BuiltPhilipsImage;
using test::Dir;
using test::ExpectTooManyFiles;
using test::Load;
using test::Loaded;
using test::PhilipsImageSpec;
using test::SaveAndReload;
using test::TreeDifference;

PhilipsImageSpec Spec(int model, bool second_area = false) {
  PhilipsImageSpec s;
  s.model = model;
  s.dirs = test::SampleTree(second_area);
  return s;
}

std::unique_ptr<Loaded> LoadSpec(const PhilipsImageSpec& spec) {
  return test::LoadOk(BuildPhilipsImage(spec).file, spec.model);
}

Result Save(TFirmware& fw, Bytes& out) { return fw.Build(SaveOptions{}, out); }

std::uint32_t LE32(const Bytes& b, std::size_t p) { return ByteView(b).u32le(p); }
void PutLE32(Bytes& b, std::size_t p, std::uint32_t v) { MutableByteView(b).WriteLE(p, v, 4); }
bool AllBytes(const Bytes& b, std::size_t start, std::size_t end, std::uint8_t v) {
  return std::all_of(b.begin() + start, b.begin() + end, [v](std::uint8_t x) { return x == v; });
}

// Adds `size` bytes to `dir` (the image still saves and reads back), then `more` bytes, which
// the writer refuses.
void FitsThenRefused(Loaded& l, const std::string& dir, std::uint32_t size, std::uint32_t more) {
  AddFile(l.tree, dir, "fits.daz", size);
  SaveAndReload(l);
  AddFile(l.tree, dir, "over.daz", more);
  ExpectTooManyFiles(l.fw);
}

// --- Layouts --------------------------------------------------------------------------------

// The computed-base models at several flash bases (the first below 16 x capacity: the record
// addresses wrap around), fewer records than usual, and the 6071's arrays with other table bases:
// the loader finds the built layout, and what it saves with a file more reads back.
TEST(PhilipsLayout, BasesCapacitiesAndTableBases) {
  std::vector<PhilipsImageSpec> specs;
  for (const int model : {7, 8, 11, 27})
    for (const std::uint32_t base : {0x00000010u, 0x80000000u, 0x12345678u, 0xFFFF0000u}) {
      specs.push_back(Spec(model));
      specs.back().base = base;
    }
  specs.push_back(Spec(8));
  specs.back().capacity = 5;
  for (const std::uint32_t capacity : {3u, 8u})
    for (const std::uint32_t table_base : {0x00020000u, 0xBFC40000u}) {
      specs.push_back(Spec(19));
      specs.back().capacity = capacity;
      specs.back().table_base = table_base;
    }
  for (const PhilipsImageSpec& spec : specs) {
    SCOPED_TRACE(testing::Message() << "model " << spec.model << " base " << spec.base << " capacity "
                                    << spec.capacity << " table base " << spec.table_base);
    const BuiltPhilipsImage built = BuildPhilipsImage(spec);
    auto l = test::LoadOk(built.file, spec.model);
    EXPECT_EQ(test::LayoutOf(l->fw), built.layout);
    EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
    AddFile(l->tree, "void", "new.cpz", 9);
    EXPECT_EQ(SaveAndReload(*l)->fw.BaseAddress, l->fw.BaseAddress);
  }
}

TEST(PhilipsD, ReadsTwentyFourBitPlainOffsetsWithoutBase) {
  for (const int model : {25, 26}) {
    SCOPED_TRACE(model);
    const PhilipsImageSpec spec = Spec(model);
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    // The byte before the 24-bit offset is not part of it.
    const std::uint32_t t = built.layout.TableOffset;
    for (std::size_t i = 0; i < spec.dirs.size(); ++i) built.file[t + 4 + 30 * i + 10] = 0x5A;
    auto l = test::LoadOk(built.file, model);
    EXPECT_EQ(test::LayoutOf(l->fw), built.layout);
    EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
    // Written back as a 32-bit number at record offset 10.
    Bytes out;
    ASSERT_TRUE(Save(l->fw, out).ok());
    EXPECT_EQ(ByteView(out).u32be(t + 4 + 10), built.data_at[0]);
  }
}

// --- Crafted images ---------------------------------------------------------------------------

TEST(PhilipsCrafted, ArraysAndBlocksReadAsTheyAre) {
  {  // A value above 0x10000 ends the 6071's count array: what follows is the address array.
    PhilipsImageSpec spec = Spec(19);
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    const std::uint32_t counts = built.layout.AddressTableOffset - 4 * 8;
    PutLE32(built.file, counts + 4 * 5, 0x10001);
    auto l = test::LoadOk(built.file, 19);
    EXPECT_EQ(l->fw.DirectoryCapacity, 5u);
    EXPECT_EQ(l->fw.AddressTableOffset, counts + 20);
  }
  {  // More directories than the 6071's array slots stop at the arrays.
    PhilipsImageSpec spec = Spec(19);
    spec.capacity = 3;
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    PutLE32(built.file, built.layout.TableOffset, 7);
    EXPECT_EQ(TreeDifference(test::LoadOk(built.file, 19)->tree, "firmware.bin", spec.dirs), "");
  }
  {  // An erased run ending off the block scan's grid is no evidence when the table read through
     // the word after it is not sound (its base would put the data outside): the literal reading
     // stands.
    PhilipsImageSpec spec = Spec(7);
    spec.spare_entries = 1;
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    PutLE32(built.file, built.layout.AddressTableOffset - 4, 0x00000001);
    auto l = test::LoadOk(built.file, 7);
    EXPECT_EQ(l->fw.AddressTableOffset, built.layout.AddressTableOffset);
    EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
  }
}

TEST(PhilipsCrafted, TablesAndEntriesPointingOutside) {
  for (const int model : {7, 8, 19, 25, 27}) {
    SCOPED_TRACE(model);
    BuiltPhilipsImage built = BuildPhilipsImage(Spec(model));
    std::fill_n(built.file.begin() + built.table_at[0] + 20 + 12, 4, 0xF0);  // logo.imz's offset
    // "main"'s table address points beyond the file: it keeps its node, without files.
    if (model != 25) PutLE32(built.file, built.layout.AddressTableOffset + 4, 0xFFFFFF00);
    auto l = test::LoadOk(built.file, model);
    const TNodo* boot = Dir(l->tree, "boot");
    ASSERT_EQ(boot->ChildCount(), 2u);
    EXPECT_EQ(boot->Child(1)->Text, "main.luz");
    ASSERT_NE(Dir(l->tree, "main"), nullptr);
    EXPECT_EQ(Dir(l->tree, "main")->HasChildren(), model == 25);
  }
}

// --- Room -------------------------------------------------------------------------------------

TEST(PhilipsRoom, DataUpToTheTableAndEntriesUpToTheBlockEnd) {
  for (const int model : {7, 25}) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    const std::uint32_t room = l->fw.TableOffset - l->fw.AreaStart -
                               EspacioUsado(*l->tree.Root(), model == 25 ? 1 : 3);
    FitsThenRefused(*l, "void", room, 1);
    // Two spare entries: two more files fit the block, a third does not.
    auto e = LoadSpec(Spec(model));
    AddFile(e->tree, "void", "one.daz", 4);
    FitsThenRefused(*e, "void", 4, 4);
  }
  for (const int model : {7, 19, 25, 27}) {  // more directories than records
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
  EXPECT_EQ(LE32(out, t + 4 + 32 * 2 + 12), 0x1A32CCu + l->fw.BaseAddress);
  EXPECT_EQ(again->fw.SecondAreaStart, 0x1A32CCu);  // the region split finds it there
  // The rest of region A is erased up to the table, and region B after its data.
  EXPECT_TRUE(AllBytes(out, t - 8, t, 0xFF));
  EXPECT_TRUE(AllBytes(out, 0x1A32CC + 40, 0x1AF118, 0xFF));
}

TEST(Dyna, SecondAreaLimits) {
  {  // data: 0x1A32CC + data <= 0x1AF118
    auto l = LoadSpec(Spec(27));
    AddFile(l->tree, "void", "big.daz", l->fw.TableOffset - l->fw.AreaStart - 1424);  // fills A
    AnadeNodo(ByteView(), "late", l->tree, l->tree.Root());
    FitsThenRefused(*l, "late", 0x1AF118 - 0x1A32CC, 1);
  }
  {  // entries beyond the block move to the second table area: 0x1AF118 + 20 x entries <=
     // 0x1AFFFF, i.e. at most 190
    PhilipsImageSpec spec = Spec(27);
    spec.spare_entries = 0;
    auto l = LoadSpec(spec);
    for (int i = 0; i < 189; ++i) AddFile(l->tree, "void", "f" + std::to_string(i) + ".daz", 1);
    Bytes out;
    SaveAndReload(*l, &out);
    EXPECT_EQ(LE32(out, l->fw.AddressTableOffset + 8), 0x1AF118u + l->fw.BaseAddress);
    FitsThenRefused(*l, "void", 1, 1);
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
// otherwise it would be written past its end. Both together are the limit too.
TEST(Philips6071, RoomOfEachAreaAndOfBoth) {
  auto l = LoadSpec(Spec(19, true));
  const std::uint32_t area1 = l->fw.AreaEnd - l->fw.AreaStart;
  const std::uint32_t room2 = l->fw.SecondAreaEnd - (l->fw.FileTableOffset + 20 * 8);
  const std::uint32_t x = room2 - 2060 + 8;  // "extra" holds 2060 bytes
  ASSERT_GT(x, area1 - 1424);
  ASSERT_LE(1424 + x + 2060, area1 + room2);  // the sum check passes
  AddFile(l->tree, "void", "big.daz", x);
  ExpectTooManyFiles(l->fw);

  auto both = LoadSpec(Spec(19, true));
  AddFile(both->tree, "extra", "over.daz", area1 + room2 - EspacioUsado(*both->tree.Root(), 3) + 4);
  ExpectTooManyFiles(both->fw);
}

// --- Writer fills -----------------------------------------------------------------------------

// What each writer puts between and after what it writes: [start, end) holds `value`.
struct Fill {
  std::uint32_t start, end;
  std::uint8_t value;
};
using Fills = std::vector<Fill>;

TEST(PhilipsFills, EveryWriterFillsWhatItDoesNotWrite) {
  const struct {
    int model;
    bool markers, second_area;
    Fills junk;  // put into the built image, from its table: the writer overwrites it
    std::function<Fills(const TFirmware&, TArbol&, std::uint32_t t, std::uint32_t cap)> fills;
  } cases[] = {
      {11, true, false, {},
       [](const TFirmware& fw, TArbol& tree, std::uint32_t t, std::uint32_t cap) -> Fills {
         return {{fw.AreaStart + 1423, fw.AreaStart + 1424, 0x00},  // alignment inside the data
                 {fw.AreaStart + EspacioUsado(*tree.Root(), 3), t, 0xFF},
                 {t + 4 + 16 * 3, t + 4 + 16 * cap, 0xFF},
                 {t + 4 + 16 * cap + 12, t + 4 + 20 * cap, 0xFF},
                 {fw.FileTableOffset + 20 * 5, fw.AddressTableOffset, 0xFF},
                 {fw.AddressTableOffset + 12, fw.AddressTableOffset + 4 * cap, 0xFF}};
       }},
      {26, false, false, {{4 + 30 * 8 + 12, 4 + 30 * 8 + 32, 0x22}},
       [](const TFirmware& fw, TArbol& tree, std::uint32_t t, std::uint32_t cap) -> Fills {
         return {{fw.AreaStart + 1423, fw.AreaStart + 1424, 0xFF},
                 {fw.AreaStart + EspacioUsado(*tree.Root(), 1), t, 0xFF},
                 {t + 4 + 30 * 3, t + 4 + 30 * cap, 0xFF},
                 {t + 4 + 30 * cap + 12, t + 4 + 34 * cap, 0x00},
                 {fw.FileTableOffset + 20 * 5, fw.AddressTableOffset, 0x00}};
       }},
      {27, true, false, {{4 + 16, 4 + 32, 0x77}, {4 + 32 * 3, 4 + 32 * 8, 0x77}},
       [](const TFirmware& fw, TArbol& tree, std::uint32_t t, std::uint32_t cap) -> Fills {
         return {{fw.AreaStart + 1423, fw.AreaStart + 1424, 0x00},
                 {fw.AreaStart + EspacioUsado(*tree.Root(), 3), t, 0xFF},
                 {0x1A32CC, 0x1AF118 + 3815, 0xFF},
                 {t + 4 + 16, t + 4 + 32, 0x00},  // after each used record's address
                 {t + 4 + 32 * 3, t + 4 + 32 * cap, 0x00},
                 {t + 4 + 32 * cap + 12, t + 4 + 36 * cap, 0xFF},
                 {fw.FileTableOffset + 20 * 5, fw.AddressTableOffset, 0xFF}};
       }},
      {19, false, true, {},
       [](const TFirmware& fw, TArbol& tree, std::uint32_t t, std::uint32_t) -> Fills {
         const std::uint32_t d1 = SumaTamanos(*Dir(tree, "boot"), 3) + SumaTamanos(*Dir(tree, "main"), 3);
         return {{t + 4 + 32 * 4, t + 4 + 32 * 8, 0x00},
                 {fw.AddressTableOffset + 16, fw.AddressTableOffset + 32, 0x00},
                 {fw.FileTableOffset + 20 * 7 + 2060, fw.SecondAreaEnd, 0x00},
                 {fw.AreaStart + d1, fw.AreaEnd, 0x00}};
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    PhilipsImageSpec spec = Spec(c.model, c.second_area);
    spec.markers = c.markers;
    BuiltPhilipsImage built = BuildPhilipsImage(spec);
    const std::uint32_t t0 = built.layout.TableOffset;
    for (const Fill& j : c.junk)
      std::fill(built.file.begin() + t0 + j.start, built.file.begin() + t0 + j.end, j.value);
    auto l = test::LoadOk(built.file, c.model);
    Bytes out;
    ASSERT_TRUE(Save(l->fw, out).ok());
    for (const Fill& f : c.fills(l->fw, l->tree, l->fw.TableOffset, l->fw.DirectoryCapacity))
      EXPECT_TRUE(AllBytes(out, f.start, f.end, f.value)) << f.start << ".." << f.end;
  }
}

}  // namespace
}  // namespace corvane

// Edge cases of the directory-table loaders and writers: refusals with their messages, the Strong
// block file, checksums, regions, the model-12 move and the font seam.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/crc32.h"
#include "base/messages.h"
#include "firmware/families/directory_table.h"
#include "firmware/firmware.h"
#include "firmware/image_fonts.h"
#include "firmware/sizes.h"
#include "support/files.h"
#include "support/firmware_checks.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::AddFile;
using test::BuildImage;
using test::DirSpec;
using test::ExpectTooManyFiles;
using test::ImageSpec;
using test::Load;
using test::PatternBytes;
using test::SampleTree;

ImageSpec Spec(int model, std::vector<DirSpec> dirs = SampleTree()) {
  ImageSpec s;
  s.model = model;
  s.dirs = std::move(dirs);
  return s;
}
auto LoadSpec(const ImageSpec& spec) { return test::LoadOk(BuildImage(spec).file, spec.model); }

// The sample tree with a big file added to "boot".
std::vector<DirSpec> WithBig(std::size_t size) {
  auto dirs = SampleTree();
  dirs[0].files.push_back({"big.daz", PatternBytes(size, 3)});
  return dirs;
}

Result Save(TFirmware& fw, const SaveOptions& options = {}) {
  Bytes out;
  return fw.Build(options, out);
}

TEST(Crc32, MatchesTheStandardVectors) {
  EXPECT_EQ(Crc32(test::ToBytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(Crc32(ByteView()), 0u);
  const Bytes b = PatternBytes(100000, 9);
  EXPECT_EQ(Crc32(b), test::ReferenceCrc32(b, 0, b.size()));
  // Continuing over a split gives the same value as one pass.
  EXPECT_EQ(Crc32(ByteView(b).Sub(777), Crc32(ByteView(b).Sub(0, 777))), Crc32(b));
}

TEST(BlockChecksums, SavedImagesCarryTheirTable) {
  for (const int model : {2, 3, 22}) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    AddFile(l->tree, "main", "new.daz", 5000);  // change the contents
    Bytes out;
    ASSERT_TRUE(l->fw.Build({}, out).ok());
    const std::uint32_t blocks = l->fw.CrcBlocks;
    for (std::uint32_t b = 0; b < blocks; ++b) {
      const std::uint32_t crc =
          test::ReferenceCrc32(out, std::size_t{b} * 0x10000, b + 1 == blocks ? 0xFC00 : 0x10000);
      EXPECT_EQ(ByteView(out).u32be(l->fw.CrcOffset + 4 * b), crc) << "block " << b;
      EXPECT_TRUE(model != 22 || ByteView(out).u32be(l->fw.CrcOffset + 0x2000C + 4 * b) == crc);
    }
  }
}

// --- Strong block files -----------------------------------------------------------------------

class FakeFonts : public ImageFonts {
 public:
  std::optional<Misfit> misfit;
  mutable int writes = 0;
  mutable ByteOrder order = ByteOrder::Little;
  std::optional<Misfit> FirstMisfit(const TFirmware&) const override { return misfit; }
  void Write(const TFirmware&, MutableByteView, ByteOrder o) const override {
    ++writes;
    order = o;
  }
};

TEST(Strong, RecordsInAnyOrderLoadAndSaveBackInTheirOrder) {
  ImageSpec spec = Spec(21);
  for (int i = 47; i >= 0; --i) spec.record_order.push_back((i * 7) % 48);
  const test::BuiltImage built = BuildImage(spec);
  auto l = test::LoadOk(built.file, 21);
  EXPECT_EQ(test::TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
  Bytes out;
  ASSERT_TRUE(l->fw.Build({}, out).ok());
  EXPECT_TRUE(out == built.file);
}

// Without the records of flash area 2 the 8000 (not the 8100) switches to external fonts, and
// never writes fonts into the image.
TEST(Strong, MissingSecondAreaSwitchesToExternalFonts) {
  FakeFonts fonts;
  fonts.misfit = ImageFonts::Misfit{"fudemi", 16};
  SaveOptions own;
  own.use_external_fonts = false;
  own.fonts = &fonts;
  ImageSpec spec = Spec(5);
  spec.omit_area2 = true;
  auto l = LoadSpec(spec);
  EXPECT_TRUE(l->fw.ForceExternalFonts);
  EXPECT_EQ(test::TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
  EXPECT_TRUE(Save(l->fw, own).ok());
  EXPECT_EQ(fonts.writes, 0);
  spec.model = 21;
  EXPECT_FALSE(LoadSpec(spec)->fw.ForceExternalFonts);
  EXPECT_FALSE(LoadSpec(Spec(5))->fw.ForceExternalFonts);
}

TEST(Strong, MissingBlocksUnderTheTablesAreRefused) {
  // A 64 KB file pushes the file tables into block 2; without its record the image is refused.
  ImageSpec spec = Spec(5, WithBig(0x10000));
  for (int i = 0; i < 25; ++i)
    if (i != 2) spec.record_order.push_back(i);
  EXPECT_EQ(Load(BuildImage(spec).file, 5)->result.message.Rows(), std::vector<int>{229});
  spec.record_order.push_back(2);  // last in the file: fine
  EXPECT_TRUE(Load(BuildImage(spec).file, 5)->result.ok());
}

// --- Room: what fits exactly, and one step more -------------------------------------------------

TEST(Room, DataUpToTheLimitFitsOneStepMoreIsRefused) {
  const struct {
    int model;
    std::uint32_t step;  // the smallest growth that counts
    std::function<std::uint32_t(const TFirmware&, const TArbol&)> room;
  } cases[] = {
      // Strong: flash area 1 holds the data and the tables (the check is strict).
      {5, 4, [](const TFirmware& fw, const TArbol& t) {
         return 16 * 0x10000u - fw.AreaStart - EspacioUsado(*t.Root(), 3) -
                20 * (CuentaArchivos(t.Root()->FirstChild()) + 1) - 4;
       }},
      {21, 4, [](const TFirmware& fw, const TArbol& t) {
         return 32 * 0x10000u - fw.AreaStart - EspacioUsado(*t.Root(), 3) -
                20 * (CuentaArchivos(t.Root()->FirstChild()) + 1) - 4;
       }},
      // Nokia 13: the data may reach the table.
      {13, 1, [](const TFirmware& fw, const TArbol& t) {
         return fw.TableOffset - fw.AreaStart - EspacioUsado(*t.Root(), 3);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    auto l = LoadSpec(Spec(c.model));
    AddFile(l->tree, "void", "fill.daz", c.room(l->fw, l->tree));
    EXPECT_TRUE(Save(l->fw).ok());
    TNodo* fill = test::Dir(l->tree, "void")->FirstChild();
    fill->Data.Datos.resize(fill->Data.Datos.size() + c.step);
    fill->Data.Tamano += c.step;
    ExpectTooManyFiles(l->fw);
  }
}

TEST(Room, FileTableEntriesOfAsscomAndSonyTS2) {
  // Asscom: the tables must end before SecondAreaEnd; its tables follow the data, so each 2-byte
  // file also moves them 4 bytes on. Sony TS2: they may reach it (three free entries: three more).
  for (const auto& [model, fits] : {std::pair{9, 2}, std::pair{24, 3}}) {
    auto l = LoadSpec(Spec(model));
    for (int i = 0; i < fits; ++i) AddFile(l->tree, "void", "f" + std::to_string(i), 2);
    EXPECT_TRUE(Save(l->fw).ok()) << model;
    AddFile(l->tree, "void", "over", 2);
    ExpectTooManyFiles(l->fw);
  }
}

TEST(Room, MoreDirectoriesThanRecordsAreRefused) {
  for (const int model : test::kDirectoryTableModels) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    for (int i = 0; i < 5; ++i) AnadeNodo(ByteView(), "d" + std::to_string(i), l->tree, l->tree.Root());
    EXPECT_TRUE(Save(l->fw).ok());  // 8 directories, 8 records
    AnadeNodo(ByteView(), "ninth", l->tree, l->tree.Root());
    EXPECT_EQ(Save(l->fw).outcome, Outcome::Refused);
  }
}

// What no longer fits region 1 moves to the image's free run, found when it was read.
TEST(Room, DirectoriesMoveToTheSecondRegion) {
  const struct {
    int model;
    std::size_t big;  // fills region 1 nearly
    std::uint32_t run_at, run_length, added;
  } cases[] = {
      {1, 0xFE000, 0x150000, 0x20000, 5000},
      {6, 0, 0x300000, 0x20000, 0x3000},
      {23, 0x160000 - 0x1000, 0x1C0000, 0xA000, 0x2000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    ImageSpec spec = Spec(c.model, c.big ? WithBig(c.big) : SampleTree());
    spec.free_run_at = c.run_at;
    spec.free_run_length = c.run_length;
    auto l = LoadSpec(spec);
    ASSERT_EQ(l->fw.SecondAreaStart, c.run_at);
    AddFile(l->tree, "void", "more.daz", c.added);
    Bytes out;
    auto again = test::SaveAndReload(*l, &out);
    EXPECT_EQ(again->fw.SecondAreaStart, c.run_at);
    // "void" is the directory placed there: its data address is the region start.
    EXPECT_TRUE(c.model != 1 ||
                ByteView(out).u32le(l->fw.TableOffset + 4 + 32 * 2 + 12) == c.run_at + l->fw.BaseAddress);
    if (c.model != 23) continue;
    // Without room there the writer refuses instead of writing past the region.
    AddFile(l->tree, "void", "most.daz", 0xA000);
    ExpectTooManyFiles(l->fw);
  }
}

// --- Pioneer family ---------------------------------------------------------------------------

TEST(Pioneer, LengthAndFamilyRules) {
  const struct {
    int model;
    std::uint32_t length;
    bool ts6;
    std::vector<int> rows;  // empty: accepted
  } cases[] = {
      {1, 0x180000, false, {}},   {1, 0x170000, false, {5}}, {2, 0x180000, false, {}},
      {2, 0x180000, true, {4}},  // "/TS6/" is a 16xx image
      {3, 0x180000, true, {}},    {3, 0x180000, false, {4}}, {3, 0x170000, false, {}},
      {3, 0x11FC7C, false, {5}},  {10, 0x200000, false, {}}, {10, 0x180000, false, {}},
      {10, 0x190000, false, {5}}, {12, 0x100000, false, {}}, {12, 0x100004, false, {5}},
      {20, 0x100000, true, {4}},  {22, 0x14FC8C, false, {}}, {22, 0x14FC88, false, {5}},
      {22, 0x180000, true, {4}},
  };
  for (const auto& c : cases) {
    ImageSpec spec = Spec(c.model);
    spec.file_length = c.length;
    spec.ts6 = c.ts6 ? 1 : 0;
    EXPECT_EQ(Load(BuildImage(spec).file, c.model)->result.message.Rows(), c.rows)
        << "model " << c.model << " length " << c.length;
  }
}

TEST(Pioneer, AnImageWithoutAnyFileIsRefused) {
  test::BuiltImage built = BuildImage(Spec(20));
  // Every entry's size now runs past the image end: the entries are skipped.
  for (std::uint32_t e = 0; e < 5; ++e)
    MutableByteView(built.file).WriteLE(built.layout.FileTableOffset + 20 * e + 16, 0x7FFFFFFF, 4);
  auto l = Load(built.file, 20);
  EXPECT_EQ(l->result.message.Rows(), std::vector<int>{4});
  EXPECT_FALSE(l->fw.Loaded);
}

// Too much data for both regions, and enough for both together while the directory that has to
// move does not fit the second region (it would be written past that region's end).
TEST(Pioneer, RefusalsNameTheSecondRegionEnd) {
  for (const auto& [run, size] : {std::pair{0x12344u, 0x120000u}, std::pair{0x20000u, 0xFF000u}}) {
    ImageSpec spec = Spec(1);
    spec.free_run_at = 0x150000;
    spec.free_run_length = run;
    auto l = LoadSpec(spec);
    AddFile(l->tree, "main", "huge.daz", size);
    const Result r = Save(l->fw);
    EXPECT_EQ(r.message.Rows(), (std::vector<int>{347, 348, 349, 350}));
    const std::string text = RenderMessage(r.message);
    char end[16];
    std::snprintf(end, sizeof end, "0x%X\r\n", 0x150000 + run);
    EXPECT_NE(text.find(end), std::string::npos) << text;
    EXPECT_NE(text.find("disponible !\r\n\r\nBorra"), std::string::npos) << text;
  }
}

TEST(Pioneer, Model12MovesTheRestToTheImageStartOrRefuses) {
  const auto dirs = WithBig(0xA8000 - 0x800);
  auto l = LoadSpec(Spec(12, dirs));
  AddFile(l->tree, "main", "grow.daz", 1024);  // "main" no longer fits below the table
  Bytes out;
  test::SaveAndReload(*l, &out);
  // "main" now has its data at image offset 0, and all file tables follow the moved data: the
  // first ("boot") at P, the next ones after it.
  const ByteView v(out);
  const std::uint32_t base = l->fw.BaseAddress;
  const std::uint32_t p = 2076;  // main's 1051 + 1024 bytes rounded up, void empty
  EXPECT_EQ(v.u32le(l->fw.TableOffset + 4 + 32 + 12), base + 0);
  EXPECT_EQ(v.u32le(l->fw.AddressTableOffset), base + p);
  EXPECT_EQ(v.u32le(l->fw.AddressTableOffset + 4), base + p + 4 * 20);
  EXPECT_EQ(LeeNombre(v, p + 80, 12), "menu.paz");
  EXPECT_EQ(LeeNombre(v, p + 120, 12), "grow.daz");

  auto wide = LoadSpec(Spec(12, dirs));
  AddFile(wide->tree, "main", "wide.daz", 0x14D00);  // more than the low area holds
  ExpectTooManyFiles(wide->fw);
}

TEST(Pioneer, SecondRegionOfModel12IsTheFirstShortRun) {
  ImageSpec spec = Spec(12);
  spec.free_run_at = 0x1000;
  spec.free_run_length = 16;
  auto l = LoadSpec(spec);
  EXPECT_EQ(l->fw.SecondAreaStart, 0x1000u);
  EXPECT_EQ(l->fw.SecondAreaEnd, 0x1010u);
  spec.free_run_length = 0;  // none before the data area: the erased data area is found
  auto l2 = LoadSpec(spec);
  EXPECT_EQ(l2->fw.SecondAreaStart, l2->fw.AreaStart);
}

// --- Fonts ------------------------------------------------------------------------------------

TEST(Fonts, WritersUseTheSeamOnlyWithImageFonts) {
  const struct {
    int model;
    ByteOrder order;
    std::vector<int> misfit_rows;  // empty: the model has no fonts in its image
  } cases[] = {
      {1, ByteOrder::Little, {330, 331}}, {22, ByteOrder::Little, {330, 331}},
      {5, ByteOrder::Big, {329}},         {9, ByteOrder::Big, {329}},
      {13, ByteOrder::Big, {330, 331}},   {16, ByteOrder::Big, {330, 331}},
      {12, ByteOrder::Little, {}},        {24, ByteOrder::Big, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    auto l = LoadSpec(Spec(c.model));
    FakeFonts fonts;
    SaveOptions options;
    options.fonts = &fonts;  // use_external_fonts stays on
    ASSERT_TRUE(Save(l->fw, options).ok());
    EXPECT_EQ(fonts.writes, 0);

    options.use_external_fonts = false;
    ASSERT_TRUE(Save(l->fw, options).ok());
    EXPECT_EQ(fonts.writes, c.misfit_rows.empty() ? 0 : 1);
    EXPECT_TRUE(c.misfit_rows.empty() || fonts.order == c.order);

    fonts.misfit = ImageFonts::Misfit{"fudemi", 16};
    const Result r = Save(l->fw, options);
    EXPECT_EQ(r.ok(), c.misfit_rows.empty());
    EXPECT_EQ(r.message.Rows(), c.misfit_rows);
    if (c.misfit_rows.size() == 2) {
      EXPECT_EQ(RenderMessage(r.message), "¡ Los caracteres de  fudemi-16  son demasiado grandes !");
    }
  }
}

// --- Saving to disk ---------------------------------------------------------------------------

TEST(GuardaFirmware, ReportsAnUnwritableDestinationAndKeepsAnExistingFile) {
  test::TempDir dir;
  auto l = LoadSpec(Spec(20));
  EXPECT_EQ(l->fw.GuardaFirmware(dir / "missing/sub/out.bin", {}).outcome, Outcome::IoError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

  const auto existing = dir / "out.bin";
  test::WriteText(existing, "keep me");
  AddFile(l->tree, "main", "huge.daz", 0x200000);
  EXPECT_EQ(l->fw.GuardaFirmware(existing, {}).outcome, Outcome::Refused);
  EXPECT_EQ(test::ReadText(existing), "keep me");

  BorraNodo(test::Dir(l->tree, "main")->Child(2));
  ASSERT_TRUE(l->fw.GuardaFirmware(existing, {}).ok());
  Bytes built;
  ASSERT_TRUE(l->fw.Build({}, built).ok());
  EXPECT_TRUE(test::ReadFile(existing) == built);
}

}  // namespace
}  // namespace corvane

// Edge cases of the directory-table loaders and writers: refusals with their messages, the Strong
// block file, checksums, regions, the model-12 move, the file-table block mend and the font seam.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/messages.h"
#include "base/crc32.h"
#include "firmware/families/directory_table.h"
#include "firmware/families/strong_blocks.h"
#include "firmware/firmware.h"
#include "firmware/image_fonts.h"
#include "firmware/sizes.h"
#include "support/files.h"
#include "support/firmware_checks.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::BuildImage;
using test::BuiltImage;
using test::DirSpec;
using test::ImageSpec;
using test::PatternBytes;
using test::SampleTree;
using test::TreeDifference;

using test::AddFile;
using test::Dir;
using test::ExpectTooManyFiles;
using test::Load;
using test::SaveAndReload;

auto LoadSpec(const ImageSpec& spec) { return test::LoadOk(BuildImage(spec).file, spec.model); }

ImageSpec Spec(int model, std::vector<DirSpec> dirs = SampleTree()) {
  ImageSpec s;
  s.model = model;
  s.dirs = std::move(dirs);
  return s;
}

// Gives an existing file new contents of `size` bytes.
void Resize(TArbol& tree, const std::string& dir, const std::string& name, std::size_t size) {
  TNodo* file = BuscaNodo(Dir(tree, dir)->FirstChild(), name, true);
  file->Data.Datos = PatternBytes(size, 55);
  file->Data.Tamano = static_cast<std::uint32_t>(size);
}

Result Save(TFirmware& fw, Bytes& out, const SaveOptions& options = {}) {
  return fw.Build(options, out);
}

// --- CRC-32 -----------------------------------------------------------------------------------

TEST(Crc32, MatchesTheStandardVectors) {
  EXPECT_EQ(Crc32(test::ToBytes("123456789")), 0xCBF43926u);
  // zlib.crc32(bytes(range(256)) * 4) and of bytes(i * 37 & 0xFF for i in range(100000)).
  Bytes ramp;
  for (int r = 0; r < 4; ++r)
    for (int i = 0; i < 256; ++i) ramp.push_back(static_cast<std::uint8_t>(i));
  EXPECT_EQ(Crc32(ramp), 0xB70B4C26u);
  Bytes long_run(100000);
  for (std::size_t i = 0; i < long_run.size(); ++i)
    long_run[i] = static_cast<std::uint8_t>((i * 37) & 0xFF);
  EXPECT_EQ(Crc32(long_run), 0xACBF0A1Eu);
  EXPECT_EQ(Crc32(ByteView()), 0u);
  // Continuing over a split gives the same value as one pass.
  const ByteView v(long_run);
  EXPECT_EQ(Crc32(v.Sub(777), Crc32(v.Sub(0, 777))), 0xACBF0A1Eu);
}

TEST(BlockChecksums, SavedImagesCarryTheirTable) {
  for (const int model : {2, 3, 22}) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    Resize(l->tree, "main", "text.mpz", 5000);  // change the contents
    Bytes out;
    ASSERT_TRUE(Save(l->fw, out).ok());
    const std::uint32_t blocks = l->fw.CrcBlocks;
    ASSERT_EQ(l->fw.CrcOffset, blocks * 0x10000u - 1024);
    for (std::uint32_t b = 0; b < blocks; ++b) {
      const std::size_t length = b + 1 == blocks ? 0xFC00 : 0x10000;
      const std::uint32_t crc = test::ReferenceCrc32(out, std::size_t{b} * 0x10000, length);
      EXPECT_EQ(ByteView(out).u32be(l->fw.CrcOffset + 4 * b), crc) << "block " << b;
      if (model == 22) {
        EXPECT_EQ(ByteView(out).u32be(l->fw.CrcOffset + 0x2000C + 4 * b), crc) << "copy " << b;
      }
    }
    EXPECT_TRUE(BlockChecksumsMatch(out, l->fw.CrcOffset, blocks));
  }
}

// --- Strong block files -----------------------------------------------------------------------

Bytes StrongRecord(std::uint32_t address, std::uint8_t fill, std::size_t data = kBlockSize) {
  Bytes r(kStrongHeaderSize + data, fill);
  MutableByteView(r).WriteBE(0, 0xDEADBEEF, 4);
  MutableByteView(r).WriteBE(4, address, 4);
  return r;
}

TEST(StrongBlocks, FirstRecordInFileOrderWinsAndShortRecordsCopyWhatTheyHave) {
  Bytes file = StrongRecord(0xA0000000, 1);
  const Bytes dup = StrongRecord(0xA0010000, 2);
  const Bytes second = StrongRecord(0xA0010000, 3);
  const Bytes cut = StrongRecord(0xA0020000, 4, 10);
  file.insert(file.end(), dup.begin(), dup.end());
  file.insert(file.end(), second.begin(), second.end());
  file.insert(file.end(), cut.begin(), cut.end());

  EXPECT_EQ(FindStrongRecord(file, 0xA0010000), kStrongRecordSize);
  EXPECT_FALSE(FindStrongRecord(file, 0xA0030000));

  Bytes image(3 * kBlockSize, 0xFF);
  EXPECT_TRUE(CopyStrongBlock(file, 0xA0010000, image, kBlockSize));
  EXPECT_TRUE(CopyStrongBlock(file, 0xA0020000, image, 2 * kBlockSize));
  EXPECT_EQ(image[kBlockSize], 2);
  EXPECT_EQ(image[2 * kBlockSize + 9], 4);
  EXPECT_EQ(image[2 * kBlockSize + 10], 0xFF);

  const std::size_t size = file.size();
  EXPECT_TRUE(PutStrongBlock(file, 0xA0020000, Bytes(kBlockSize, 9)));
  EXPECT_EQ(file.size(), size);
  EXPECT_EQ(file.back(), 9);
  EXPECT_FALSE(PutStrongBlock(file, 0xB0000000, Bytes(kBlockSize, 9)));
}

TEST(Strong, RecordsInAnyOrderLoadTheSame) {
  ImageSpec ascending = Spec(5);
  ImageSpec reversed = ascending;
  for (int i = 24; i >= 0; --i) reversed.record_order.push_back(i);
  const BuiltImage a = BuildImage(ascending);
  const BuiltImage r = BuildImage(reversed);
  ASSERT_NE(a.file, r.file);
  auto la = Load(a.file, 5);
  auto lr = Load(r.file, 5);
  ASSERT_TRUE(la->result.ok());
  ASSERT_TRUE(lr->result.ok());
  EXPECT_EQ(TreeDifference(la->tree, lr->tree), "");
  EXPECT_EQ(la->fw.Image, lr->fw.Image);
  EXPECT_EQ(lr->fw.AreaEnd, a.layout.AreaEnd);
}

TEST(Strong, UnchangedSaveGivesBackTheSameFileWithItsRecordOrder) {
  // Records in the same order, blocks outside the file system unchanged (the plain images of
  // every Strong model are checked in firmware_load_save_test.cpp).
  ImageSpec spec = Spec(21);
  for (int i = 47; i >= 0; --i) spec.record_order.push_back((i * 7) % 48);
  const BuiltImage built = BuildImage(spec);
  auto l = Load(built.file, 21);
  ASSERT_TRUE(l->result.ok());
  Bytes out;
  ASSERT_TRUE(Save(l->fw, out).ok());
  EXPECT_TRUE(out == built.file);
  EXPECT_TRUE(l->fw.FileData == built.file);  // the firmware keeps its file as read
}

TEST(Strong, MissingSecondAreaSwitchesToExternalFonts) {
  ImageSpec spec = Spec(5);
  spec.omit_area2 = true;
  auto l = LoadSpec(spec);
  EXPECT_TRUE(l->fw.ForceExternalFonts);
  EXPECT_EQ(TreeDifference(l->tree, "firmware.bin", spec.dirs), "");
  Bytes out;
  ASSERT_TRUE(Save(l->fw, out).ok());
  EXPECT_EQ(out.size(), l->fw.FileSize);

  spec.model = 21;  // only the 8000 switches
  auto l21 = LoadSpec(spec);
  EXPECT_FALSE(l21->fw.ForceExternalFonts);
  EXPECT_FALSE(LoadSpec(Spec(5))->fw.ForceExternalFonts);
}

TEST(Strong, MissingBlocksUnderTheTablesAreRefused) {
  // A 64 KB file pushes the file tables into block 2; without its record the image is refused.
  auto dirs = SampleTree();
  dirs[0].files.push_back({"big.daz", PatternBytes(0x10000, 9)});
  ImageSpec spec = Spec(5, dirs);
  for (int i = 0; i < 25; ++i)
    if (i != 2) spec.record_order.push_back(i);
  const BuiltImage built = BuildImage(spec);
  ASSERT_GE(built.layout.FileTableOffset, 0x20000u);
  auto l = Load(built.file, 5);
  EXPECT_EQ(l->result.outcome, Outcome::Rejected);
  EXPECT_EQ(l->result.message.Rows(), std::vector<int>{229});

  spec.record_order.push_back(2);  // last in the file: fine
  EXPECT_TRUE(Load(BuildImage(spec).file, 5)->result.ok());
}

TEST(Strong, TooMuchDataIsRefusedAndNothingIsBuilt) {
  for (const int model : {5, 21}) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    const std::uint32_t area1 = (model == 5 ? 16 : 32) * 0x10000u;
    // Exactly at the limit (the check is strict) and one word less.
    const std::uint32_t used = l->fw.AreaStart + EspacioUsado(*l->tree.Root(), 3) +
                               20 * (CuentaArchivos(l->tree.Root()->FirstChild()) + 1);
    AddFile(l->tree, "void", "fill.daz", area1 - used);
    ExpectTooManyFiles(l->fw);
    BorraNodo(Dir(l->tree, "void")->FirstChild());
    AddFile(l->tree, "void", "fill.daz", area1 - used - 4);
    Bytes out;
    EXPECT_TRUE(Save(l->fw, out).ok());
  }
}

TEST(Strong, Model6MovesWhatDoesNotFitToTheFreeRun) {
  ImageSpec spec = Spec(6);
  spec.free_run_at = 0x300000;
  spec.free_run_length = 0x20000;
  auto l = LoadSpec(spec);
  ASSERT_EQ(l->fw.SecondAreaStart, 0x300000u);
  AddFile(l->tree, "void", "grown.daz", 0x3000);  // beyond AreaEnd's 64 spare bytes
  Bytes out;
  auto again = SaveAndReload(*l, &out);
  EXPECT_EQ(again->fw.SecondAreaStart, 0x300000u);  // "void" now starts the second region
}

// --- Pioneer family ---------------------------------------------------------------------------

struct LengthCase {
  int model;
  std::uint32_t length;
  bool ts6;
  std::vector<int> rows;  // empty: accepted
};

TEST(Pioneer, LengthAndFamilyRules) {
  const std::vector<LengthCase> cases = {
      {1, 0x180000, false, {}},   {1, 0x170000, false, {5}}, {2, 0x180000, false, {}},
      {2, 0x180000, true, {4}},  // "/TS6/" is a 16xx image
      {3, 0x180000, true, {}},    {3, 0x180000, false, {4}}, {3, 0x170000, false, {}},
      {3, 0x11FC7C, false, {5}},  {10, 0x200000, false, {}}, {10, 0x180000, false, {}},
      {10, 0x190000, false, {5}}, {12, 0x100000, false, {}}, {12, 0x100004, false, {5}},
      {20, 0x100000, true, {4}},  {22, 0x14FC8C, false, {}}, {22, 0x14FC88, false, {5}},
      {22, 0x180000, true, {4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("model " + std::to_string(c.model) + " length " + std::to_string(c.length));
    ImageSpec spec = Spec(c.model);
    spec.file_length = c.length;
    spec.ts6 = c.ts6 ? 1 : 0;
    auto l = Load(BuildImage(spec).file, c.model);
    EXPECT_EQ(l->result.message.Rows(), c.rows);
    EXPECT_EQ(l->result.ok(), c.rows.empty());
  }
}

TEST(Pioneer, AnImageWithoutAnyFileIsRefused) {
  ImageSpec spec = Spec(20);
  BuiltImage built = BuildImage(spec);
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
    Bytes out;
    const Result r = Save(l->fw, out);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message.Rows(), (std::vector<int>{347, 348, 349, 350}));
    const std::string text = RenderMessage(r.message);
    char end[16];
    std::snprintf(end, sizeof end, "0x%X\r\n", 0x150000 + run);
    EXPECT_NE(text.find(end), std::string::npos) << text;
    EXPECT_NE(text.find("disponible !\r\n\r\nBorra"), std::string::npos) << text;
  }
}

TEST(Pioneer, SwitchesToTheSecondRegionAndReloads) {
  auto dirs = SampleTree();
  dirs[0].files.push_back({"big.daz", PatternBytes(0xFE000, 3)});  // region 1 nearly full
  ImageSpec spec = Spec(1, dirs);
  spec.free_run_at = 0x150000;
  spec.free_run_length = 0x20000;
  auto l = LoadSpec(spec);
  AddFile(l->tree, "void", "more.cpz", 5000);
  Bytes out;
  auto again = SaveAndReload(*l, &out);
  EXPECT_EQ(again->fw.SecondAreaStart, 0x150000u);
  // "void" is the directory placed there: its data address is the region start.
  const std::uint64_t record = again->fw.TableOffset + 4 + 32 * 2;
  EXPECT_EQ(ByteView(out).u32le(record + 12), 0x150000u + l->fw.BaseAddress);
}

std::vector<DirSpec> Model12FullTree() {
  auto dirs = SampleTree();
  dirs[0].files.insert(dirs[0].files.begin(), {"big.daz", PatternBytes(0xA8000 - 0x800, 4)});
  return dirs;
}

TEST(Pioneer, Model12MovesTheRestToTheImageStart) {
  auto l = LoadSpec(Spec(12, Model12FullTree()));
  AddFile(l->tree, "main", "grow.daz", 1024);  // "main" no longer fits below the table
  Bytes out;
  auto again = SaveAndReload(*l, &out);
  // "main" now has its data at image offset 0, and all file tables follow the moved data: the
  // first ("boot") at P, the next ones after it.
  const ByteView v(out);
  const std::uint32_t base = l->fw.BaseAddress;
  const std::uint64_t t = l->fw.TableOffset;
  const std::uint32_t p = 2076;  // main's 1051 + 1024 bytes rounded up, void empty
  EXPECT_EQ(v.u32le(t + 4 + 32 + 12), base + 0);
  EXPECT_EQ(v.u32le(l->fw.AddressTableOffset), base + p);
  EXPECT_EQ(v.u32le(l->fw.AddressTableOffset + 4), base + p + 4 * 20);
  EXPECT_EQ(LeeNombre(v, p, 12), "big.daz");
  EXPECT_EQ(LeeNombre(v, p + 80, 12), "menu.paz");
  EXPECT_EQ(LeeNombre(v, p + 120, 12), "grow.daz");
}

TEST(Pioneer, Model12RefusesWhatTheLowAreaCannotHold) {
  auto l = LoadSpec(Spec(12, Model12FullTree()));
  AddFile(l->tree, "main", "wide.daz", 0x14D00);
  ExpectTooManyFiles(l->fw);
}

TEST(Pioneer, SecondRegionOfModel12IsTheFirstShortRun) {
  ImageSpec spec = Spec(12);
  spec.free_run_at = 0x1000;
  spec.free_run_length = 16;
  const BuiltImage built = BuildImage(spec);
  auto l = Load(built.file, 12);
  ASSERT_TRUE(l->result.ok());
  EXPECT_EQ(l->fw.SecondAreaStart, 0x1000u);
  EXPECT_EQ(l->fw.SecondAreaEnd, 0x1010u);
  spec.free_run_length = 0;  // none before the data area: the erased data area is found
  auto l2 = Load(BuildImage(spec).file, 12);
  EXPECT_EQ(l2->fw.SecondAreaStart, l2->fw.AreaStart);
}

// --- Other families ---------------------------------------------------------------------------

TEST(Nokia, Model13RefusesDataPastTheTable) {
  auto l = LoadSpec(Spec(13));
  const std::uint32_t room = l->fw.TableOffset - l->fw.AreaStart - EspacioUsado(*l->tree.Root(), 3);
  AddFile(l->tree, "void", "fits.daz", room);
  Bytes out;
  EXPECT_TRUE(Save(l->fw, out).ok());
  BorraNodo(Dir(l->tree, "void")->FirstChild());
  AddFile(l->tree, "void", "past.daz", room + 1);
  ExpectTooManyFiles(l->fw);
}

TEST(Nokia, Model23MovesToTheFreeRun) {
  auto dirs = SampleTree();
  dirs[0].files.push_back({"big.daz", PatternBytes(0x160000 - 0x1000, 8)});  // region 1 nearly full
  ImageSpec spec = Spec(23, dirs);
  spec.free_run_at = 0x1C0000;
  spec.free_run_length = 0xA000;
  auto l = LoadSpec(spec);
  ASSERT_EQ(l->fw.SecondAreaStart, 0x1C0000u);
  AddFile(l->tree, "void", "more.daz", 0x2000);
  Bytes out;
  auto again = SaveAndReload(*l, &out);
  EXPECT_EQ(again->fw.SecondAreaStart, 0x1C0000u);
  // Without room there the 9850 writer refuses instead of writing past the region.
  AddFile(l->tree, "void", "most.daz", 0xA000);
  ExpectTooManyFiles(l->fw);
}

TEST(TableCapacity, EntryLimitsOfAsscomAndSonyTS2) {
  // Asscom: the tables must end before SecondAreaEnd (64 spare bytes).
  // Sony TS2: they may reach it (three free entries: three more).
  struct Case {
    int model;
    int extra_files;
    bool ok;
  };
  // Asscom's tables follow the data, so each 2-byte file also moves them 4 bytes on.
  for (const Case c :
       {Case{9, 2, true}, Case{9, 3, false}, Case{24, 3, true}, Case{24, 4, false}}) {
    SCOPED_TRACE(std::to_string(c.model) + "+" + std::to_string(c.extra_files));
    auto l = LoadSpec(Spec(c.model));
    for (int i = 0; i < c.extra_files; ++i) AddFile(l->tree, "void", "f" + std::to_string(i), 2);
    Bytes out;
    const Result r = Save(l->fw, out);
    EXPECT_EQ(r.ok(), c.ok);
    if (!c.ok) {
      EXPECT_EQ(r.message.Rows(), (std::vector<int>{223, 224}));
    }
  }
}

TEST(TableCapacity, MoreDirectoriesThanRecordsAreRefused) {
  for (const int model : test::kDirectoryTableModels) {
    SCOPED_TRACE(model);
    auto l = LoadSpec(Spec(model));
    for (int i = 0; i < 5; ++i)
      AnadeNodo(ByteView(), "d" + std::to_string(i), l->tree, l->tree.Root());
    Bytes out;
    EXPECT_TRUE(Save(l->fw, out).ok());  // 8 directories, 8 records
    AnadeNodo(ByteView(), "ninth", l->tree, l->tree.Root());
    EXPECT_EQ(Save(l->fw, out).outcome, Outcome::Refused);
    EXPECT_TRUE(out.empty());
  }
}

// --- Fonts ------------------------------------------------------------------------------------

class FakeFonts : public ImageFonts {
 public:
  std::optional<Misfit> misfit;
  mutable int writes = 0;
  mutable ByteOrder order = ByteOrder::Little;
  std::optional<Misfit> FirstMisfit(const TFirmware&) const override { return misfit; }
  void Write(const TFirmware&, MutableByteView image, ByteOrder o) const override {
    ++writes;
    order = o;
    image.Set(0x40, 0xEE);
  }
};

TEST(Fonts, WritersUseTheSeamOnlyWithImageFonts) {
  struct Case {
    int model;
    ByteOrder order;
    std::vector<int> misfit_rows;  // empty: the model has no fonts in its image
  };
  const std::vector<Case> cases = {
      {1, ByteOrder::Little, {330, 331}}, {22, ByteOrder::Little, {330, 331}},
      {5, ByteOrder::Big, {329}},         {9, ByteOrder::Big, {329}},
      {13, ByteOrder::Big, {330, 331}},   {16, ByteOrder::Big, {330, 331}},
      {12, ByteOrder::Little, {}},        {24, ByteOrder::Big, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    auto l = LoadSpec(Spec(c.model));
    FakeFonts fonts;
    SaveOptions external;
    external.fonts = &fonts;  // use_external_fonts stays on
    Bytes out;
    ASSERT_TRUE(Save(l->fw, out, external).ok());
    EXPECT_EQ(fonts.writes, 0);

    SaveOptions own = external;
    own.use_external_fonts = false;
    ASSERT_TRUE(Save(l->fw, out, own).ok());
    EXPECT_EQ(fonts.writes, c.misfit_rows.empty() ? 0 : 1);
    if (!c.misfit_rows.empty()) {
      EXPECT_EQ(fonts.order, c.order);
    }

    fonts.misfit = ImageFonts::Misfit{"fudemi", 16};
    const Result r = Save(l->fw, out, own);
    if (c.misfit_rows.empty()) {
      EXPECT_TRUE(r.ok());
      continue;
    }
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message.Rows(), c.misfit_rows);
    EXPECT_TRUE(out.empty());
    if (c.misfit_rows.size() == 2) {
      EXPECT_EQ(RenderMessage(r.message),
                "¡ Los caracteres de  fudemi-16  son demasiado grandes !");
    }
  }
}

TEST(Fonts, AStrongImageWithoutItsSecondAreaNeverWritesFonts) {
  ImageSpec spec = Spec(5);
  spec.omit_area2 = true;
  auto l = LoadSpec(spec);
  FakeFonts fonts;
  fonts.misfit = ImageFonts::Misfit{"fudemi", 16};
  SaveOptions own;
  own.use_external_fonts = false;
  own.fonts = &fonts;
  Bytes out;
  EXPECT_TRUE(Save(l->fw, out, own).ok());
  EXPECT_EQ(fonts.writes, 0);
}

// --- Saving to disk ---------------------------------------------------------------------------

TEST(GuardaFirmware, ReportsAnUnwritableDestinationAndKeepsAnExistingFile) {
  test::TempDir dir;
  auto l = LoadSpec(Spec(20));
  const Result bad = l->fw.GuardaFirmware(dir / "missing/sub/out.bin", {});
  EXPECT_EQ(bad.outcome, Outcome::IoError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

  const auto existing = dir / "out.bin";
  test::WriteText(existing, "keep me");
  AddFile(l->tree, "main", "huge.daz", 0x200000);
  EXPECT_EQ(l->fw.GuardaFirmware(existing, {}).outcome, Outcome::Refused);
  EXPECT_EQ(test::ReadText(existing), "keep me");

  BorraNodo(Dir(l->tree, "main")->Child(2));
  ASSERT_TRUE(l->fw.GuardaFirmware(existing, {}).ok());
  Bytes built;
  ASSERT_TRUE(l->fw.Build({}, built).ok());
  EXPECT_TRUE(test::ReadFile(existing) == built);
}

}  // namespace
}  // namespace corvane

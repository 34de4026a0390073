// Fonts inside firmware images: reading the font tables, the space rules, writing them back on
// saving, font lists, and the fonts commands of corvane-cli. The images come from the independent
// test-image builder with font tables laid out from the format.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "base/messages.h"
#include "config/ini.h"
#include "document/document.h"
#include "resources/font_messages.h"
#include "resources/font_tables.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/font_table_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::FontSpec;

// Three fonts: the main one (height 16), a fixed-width one (height 10) and a small one (height 0:
// 12), with some empty glyphs.
std::vector<FontSpec> SampleFonts(int model) {
  FontSpec main = test::UniformFont(model == 23 ? "eurost" : "fudemi", 24, 16, 8);
  main.widths['i'] = 3;
  main.widths['W'] = 13;
  main.room = 64;
  FontSpec fixed = test::UniformFont("videotex", 10, 10, 6, 0);
  FontSpec small = test::UniformFont("arial", 8, 0, 5, 0);
  small.widths[0] = 0;
  small.widths[200] = 0;
  return {main, fixed, small};
}

struct Opened {
  test::TempDir dir;
  Document doc;
};

void Open(Opened& o, int model, const Bytes& file) {
  test::WriteFile(o.dir / "in.bin", file);
  ASSERT_TRUE(o.doc.Open(o.dir / "in.bin", model).ok()) << model;
}

// Every glyph of every font as (width, picture), from code `first` of the main font on.
using Glyphs = std::vector<std::pair<int, std::string>>;
Glyphs AllGlyphs(const TMHWFont& set, int first = 32) {
  Glyphs all;
  for (int f = 0; f < set.count; ++f)
    for (int c = f == 0 ? first : 0; c < 256; ++c) {
      const TLetra& g = set.fonts[static_cast<std::size_t>(f)].glyphs[static_cast<std::size_t>(c)];
      all.emplace_back(g.width, g.picture);
    }
  return all;
}

// The same for the fonts the builder writes from `specs`.
Glyphs SpecGlyphs(const std::vector<FontSpec>& specs) {
  Glyphs all;
  for (std::size_t f = 0; f < specs.size(); ++f)
    for (int c = f == 0 ? 32 : 0; c < 256; ++c) {
      const int width = specs[f].widths[static_cast<std::size_t>(c)];
      std::string picture;
      for (int r = 0; r < specs[f].Height(); ++r)
        for (int x = 0; x < width; ++x) picture += test::PatternInk(c, r, x) ? kInk : kBackground;
      all.emplace_back(width, picture);
    }
  return all;
}

// Codes 0-31 of the main font point at code 32's bytes.
void ExpectControlCodesShareTheSpace(const TFuente& main) {
  for (int c = 0; c < 32; ++c)
    EXPECT_EQ(main.glyphs[static_cast<std::size_t>(c)].data_offset, main.glyphs[32].data_offset) << c;
}

constexpr int kFontModels[] = {1, 2, 3, 5, 6, 9, 10, 13, 16, 20, 21, 22, 23};

TEST(ImageFonts, ReadEditSaveReopen) {
  for (const int model : kFontModels) {
    SCOPED_TRACE(model);
    const std::vector<FontSpec> specs = SampleFonts(model);
    test::FontLayout layout;
    Opened o;
    Open(o, model, test::BuildFontImage(model, specs, &layout).file);
    ASSERT_TRUE(o.doc.FontsFromImage());
    const TMHWFont& read = o.doc.Fonts();
    ASSERT_EQ(read.count, 3);
    for (int f = 0; f < 3; ++f)
      EXPECT_EQ(std::tuple(read.fonts[f].name, read.fonts[f].size, read.fonts[f].height),
                std::tuple(specs[f].name, specs[f].size, specs[f].Height()));
    EXPECT_TRUE(AllGlyphs(read) == SpecGlyphs(specs));
    ExpectControlCodesShareTheSpace(read.fonts[0]);
    EXPECT_EQ(read.fonts[0].header_offset, layout.header[0]);
    const bool packed = model == 5 || model == 6 || model == 9 || model == 21;
    if (packed) { EXPECT_EQ(read.end_of_font_area, layout.end_of_area); }

    // Widen 'A' of the main font by one column with a new right column of ink; shrink '0' of the
    // small font (which the little-endian form writes in place).
    TMHWFont edited = read;
    ASSERT_TRUE(o.doc.ChangeGlyphWidth(edited, 0, 'A', 9));
    for (int r = 0; r < edited.fonts[0].height; ++r)
      edited.fonts[0].glyphs['A'].picture[static_cast<std::size_t>(r * 9 + 8)] = kInk;
    ASSERT_TRUE(o.doc.ChangeGlyphWidth(edited, 2, '0', 4));
    o.doc.ReplaceFonts(edited);
    ASSERT_TRUE(o.doc.Save(o.dir / "out.bin").ok());

    Document again;
    ASSERT_TRUE(again.Open(o.dir / "out.bin", model).ok());
    const TMHWFont& saved = again.Fonts();
    EXPECT_TRUE(AllGlyphs(saved) == AllGlyphs(edited));
    ExpectControlCodesShareTheSpace(saved.fonts[0]);
    // Packed models lay the fonts out from font 0's glyph 0, one after another.
    if (packed) {
      EXPECT_EQ(saved.fonts[0].glyphs[32].data_offset, layout.glyph0[0]);
      EXPECT_EQ(saved.fonts[1].glyphs[0].data_offset, layout.glyph0[0] + saved.TamanoLetras(0, 32, true));
    }
  }
}

TEST(ImageFonts, SpaceRuleRefusesAGlyphThatNoLongerFits) {
  // 224 glyphs 8 wide and 16 high take 3584 bytes; one column more on 'A' needs 16 more.
  struct Case { int model; std::uint32_t room; bool fits; };
  for (const Case c : {Case{1, 0, false}, Case{1, 16, true}, Case{13, 0, false},
                       Case{23, 0, false}, Case{5, 8, false}, Case{5, 20, true}}) {
    SCOPED_TRACE(c.model);
    FontSpec main = test::UniformFont(c.model == 23 ? "eurost" : "fudemi", 24, 16, 8);
    main.room = c.room;
    Opened o;
    Open(o, c.model, test::BuildFontImage(c.model, {main}, nullptr, c.room).file);
    EXPECT_TRUE(CabenFuentes(*o.doc.Firmware(), o.doc.Fonts()));
    TMHWFont edited = o.doc.Fonts();
    EXPECT_EQ(o.doc.ChangeGlyphWidth(edited, 0, 'A', 9), c.fits);
    EXPECT_EQ(edited.fonts[0].glyphs['A'].width, c.fits ? 9 : 8);

    // Saving a set that does not fit is refused with the model's message; nothing is written.
    edited.SetWidth(0, 'A', 9);
    edited.SetWidth(0, 'B', 9);
    if (c.fits) continue;
    o.doc.ReplaceFonts(edited);
    const Result r = o.doc.Save(o.dir / "out.bin");
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message.Rows(), c.model == 5 ? std::vector<int>{329} : (std::vector<int>{330, 331}));
    EXPECT_FALSE(std::filesystem::exists(o.dir / "out.bin"));
  }
}

TEST(ImageFonts, NoTableOrTooManyFontsGiveAnEmptySetAndANote) {
  Opened plain;
  test::ImageSpec spec;
  spec.model = 1;
  spec.dirs = test::SampleTree();
  Open(plain, 1, test::BuildImage(spec).file);
  EXPECT_EQ(plain.doc.Fonts().count, 0);
  EXPECT_EQ(plain.doc.FontNote().Rows(), std::vector<int>{font_rows::kNoFontTable});
  EXPECT_TRUE(plain.doc.Save(plain.dir / "out.bin").ok());

  std::vector<FontSpec> five(5, test::UniformFont("fudemi", 24, 16, 8));
  Opened many;
  Open(many, 13, test::BuildFontImage(13, five).file);
  EXPECT_EQ(many.doc.Fonts().count, 0);
  EXPECT_EQ(many.doc.FontNote().Rows(), std::vector<int>{font_rows::kTooManyFonts});
}

TEST(ImageFonts, ExternalFontsLeaveTheFontAreaUntouched) {
  for (const int model : {1, 5}) {
    test::FontLayout layout;
    const test::BuiltImage built = test::BuildFontImage(model, SampleFonts(model), &layout);
    Opened o;
    Open(o, model, built.file);
    TMHWFont edited = o.doc.Fonts();
    edited.SetWidth(0, 'A', 2);
    o.doc.ReplaceFonts(edited);
    o.doc.Options().use_external_fonts = true;
    ASSERT_TRUE(o.doc.Save(o.dir / "out.bin").ok());
    Document again;
    ASSERT_TRUE(again.Open(o.dir / "out.bin", model).ok());
    EXPECT_EQ(again.Fonts().fonts[0].glyphs['A'].width, 8) << model;
    const Bytes& image = again.Firmware()->Image;
    const auto at = static_cast<std::ptrdiff_t>(layout.at);
    EXPECT_TRUE(std::equal(image.begin() + at, image.begin() + at + 0x4000, built.image.begin() + at))
        << model;
  }
}

TEST(FontLists, ExportAndImportRoundTripInAnyOrder) {
  Opened o;
  Open(o, 1, test::BuildFontImage(1, SampleFonts(1)).file);
  const TMHWFont original = o.doc.Fonts();
  const auto list = o.dir / "list.ini";
  Interaction quiet;
  const FontListResult exported = o.doc.ExportFontList(list, quiet);
  ASSERT_TRUE(exported.ok());
  EXPECT_EQ(exported.glyphs, 224 + 256 + 256);
  EXPECT_FALSE(std::filesystem::exists(o.dir / "fudemi-24" / "1F.bmp"));  // below code 32
  IniFile ini = *IniFile::Load(list);
  EXPECT_EQ(ini.ReadInteger("General", "FontsNumber", 0), 3);
  EXPECT_EQ(ini.ReadString("General", "Dir-1", ""), "videotex-10");
  EXPECT_EQ(ini.ReadString("fudemi-24", "Char-41", ""), (o.dir / "fudemi-24" / "41.bmp").string());

  // Swap the first two entries and write one path with Windows separators and lower-case hex.
  ini.WriteString("General", "Dir-0", "videotex-10");
  ini.WriteString("General", "Dir-1", "fudemi-24");
  std::string windows_path = (o.dir / "fudemi-24" / "4a.bmp").string();
  std::replace(windows_path.begin(), windows_path.end(), '/', '\\');
  ini.WriteString("fudemi-24", "Char-4A", windows_path);
  ASSERT_TRUE(ini.Save(list).empty());

  TMHWFont blank = original;
  for (int f = 0; f < 3; ++f)
    for (int c = 0; c < 256; ++c) blank.SetGlyph(f, c, 1, "");
  o.doc.ReplaceFonts(blank);
  struct Recorder : Interaction {
    std::vector<int> percents;
    bool Progress(const Message& m, int p) override {
      EXPECT_EQ(m.Rows(), std::vector<int>{font_rows::kInsertingFiles});
      percents.push_back(p);
      return true;
    }
  } recorder;
  const FontListResult imported = o.doc.ImportFontList(list, recorder);
  ASSERT_TRUE(imported.ok());
  EXPECT_EQ(imported.glyphs, 224 + 256 + 256);
  EXPECT_TRUE(AllGlyphs(o.doc.Fonts()) == AllGlyphs(original));
  ASSERT_FALSE(recorder.percents.empty());
  EXPECT_EQ(recorder.percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(recorder.percents.begin(), recorder.percents.end()));
}

// The fonts commands' wiring: export, import with and without the external fonts, the sheet and
// their exit codes.
TEST(FontsCli, JsonExportImportAndSheet) {
  const test::CliFolder t;
  const auto in = t.dir / "in.bin";
  test::WriteFile(in, test::BuildFontImage(13, SampleFonts(13)).file);
  const std::string file = test::Quote(in) + " -m 13 ";
  const test::CliRun run = t.Run("-m 13 fonts " + test::Quote(in) + " --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["fonts"][0]["name"], "fudemi");
  const std::string list = test::Quote(t.dir / "fonts.ini");
  ASSERT_EQ(t.Run("fonts export " + file + list).exit_code, 0);
  // Every glyph 9 wide: the main font no longer fits its place, unless the fonts are external.
  for (int c = 32; c < 256; ++c)
    test::WriteFile(t.dir / "fudemi-24" / (std::string(1, "0123456789ABCDEF"[c / 16]) + "0123456789ABCDEF"[c % 16] + ".bmp"),
                    test::ReadFile(t.dir / "fudemi-24" / "57.bmp"));
  const std::string out = " -o " + test::Quote(t.dir / "out.bin");
  EXPECT_EQ(t.Run("fonts import " + file + list + out).exit_code, 3);
  EXPECT_FALSE(std::filesystem::exists(t.dir / "out.bin"));
  EXPECT_EQ(t.Run("--external-fonts fonts import " + file + list + out).exit_code, 0);
  const auto png = test::Quote(t.dir / "sheet.png");
  ASSERT_EQ(t.Run("fonts sheet " + file + "--font 1 -o " + png).exit_code, 0);
  EXPECT_EQ(test::ReadFile(t.dir / "sheet.png").at(1), 'P');
  EXPECT_EQ(t.Run("fonts sheet " + file + "--font 3 -o " + png).exit_code, 2);
}

}  // namespace
}  // namespace corvane

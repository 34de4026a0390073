// The font set: glyph bytes, measuring and drawing text, glyph bitmaps, external font files.
#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "render/font_render.h"
#include "resources/font_set.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

// One font of `height` rows whose glyphs `codes` have the given widths and are all ink.
TMHWFont SolidFont(int height, std::initializer_list<std::pair<int, int>> code_widths) {
  TMHWFont set;
  set.count = 1;
  set.fonts[0].height = static_cast<std::uint8_t>(height);
  for (const auto& [code, width] : code_widths)
    set.SetGlyph(0, code, width, std::string(static_cast<std::size_t>(width * height), kInk));
  return set;
}

TEST(FontGlyphs, StoredSizes) {
  for (const auto& [width, height, padded, size] :
       {std::tuple{5u, 12u, true, 12u}, {9u, 12u, true, 24u}, {9u, 11u, false, 22u},
        {9u, 11u, true, 24u}, {0u, 12u, true, 4u}, {0u, 7u, false, 4u}, {5u, 7u, true, 8u}})
    EXPECT_EQ(GlyphSize(width, height, padded), size) << width << "x" << height;
}

TEST(FontGlyphs, DecodeAndEncodeKeepBitsAndPadding) {
  EXPECT_EQ(DecodificaLetra(Bytes{0xA0}, 1, 3), "o.o");
  // Width 9, height 2: two bytes a row, bits past the width cleared, padding bytes untouched.
  const Bytes glyph = {0xFF, 0xFF, 0x80, 0x7F};
  TMHWFont set = SolidFont(2, {});
  set.SetGlyph(0, 65, 9, DecodificaLetra(glyph, 2, 9));
  EXPECT_EQ(set.fonts[0].glyphs[65].picture, "ooooooooo" "o........");
  set.fonts[0].glyphs[65].data_offset = 2;
  Bytes buffer(10, 0xEE);
  EXPECT_EQ(set.CodificaLetra(0, 65, buffer, true), 4u);
  EXPECT_EQ(buffer, (Bytes{0xEE, 0xEE, 0xFF, 0x80, 0x80, 0x00, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(FontText, MeasureClipAndTransparentDrawing) {
  const TMHWFont set = SolidFont(3, {{'A', 7}, {'B', 8}});
  EXPECT_EQ(set.AnchoTexto("AB", 0), 15);
  const Rgb paper{9, 9, 9}, ink{255, 0, 0};
  // Clip right edge at x + 14: "A" is drawn, "B" is not, and the third glyph still starts at
  // x + 15 (it is drawn there when the clip reaches it).
  PixelBuffer buffer(40, 5, paper);
  DibujaTexto(buffer, set, "ABA", ClipRect{0, 0, 2 + 14, 5}, 0, 2, 0, ink);
  EXPECT_EQ(buffer.Get(2, 0), ink);   // row 0 of the glyph on the buffer's top row is drawn
  EXPECT_EQ(buffer.Get(8, 2), ink);
  EXPECT_EQ(buffer.Get(9, 0), paper);  // "B" not drawn
  PixelBuffer wide(40, 5, paper);
  DibujaTexto(wide, set, "ABA", ClipRect{0, 0, 40, 5}, 0, 2, 0, ink);
  EXPECT_EQ(wide.Get(2 + 15, 0), ink);
  EXPECT_EQ(wide.Get(2 + 22, 0), paper);
  // A glyph half outside the buffer draws only its inside part.
  PixelBuffer small(4, 2, paper);
  DibujaLetra(small, set, 'B', 0, -3, -1, ink);
  EXPECT_EQ(small.Get(0, 0), ink);
  EXPECT_EQ(small.Get(3, 1), ink);
}

TEST(FontText, EnlargedGlyphIsBlackSquares) {
  TMHWFont set = SolidFont(2, {});
  set.SetGlyph(0, 'x', 2, "o." ".o");
  PixelBuffer buffer(6, 6, Rgb{255, 255, 255});
  DibujaLetraAmpliada(buffer, set, 0, 'x', 3);
  EXPECT_EQ(buffer.Get(2, 2), Rgb{});
  EXPECT_EQ(buffer.Get(3, 2), (Rgb{255, 255, 255}));
  EXPECT_EQ(buffer.Get(5, 5), Rgb{});
}

Bytes OneBitBitmap(int width, int height, int bits = 1) {
  Bitmap b{width, height, bits, {Rgb{}, Rgb{255, 255, 255}}, Bytes(static_cast<std::size_t>(width * height), 1)};
  if (!b.pixels.empty()) b.pixels[0] = 0;  // top-left pixel black: ink
  return WriteBitmap(b);
}

TEST(FontBitmaps, ImportTakesOnlyOneBitBitmapsOfTheFontsHeight) {
  for (const auto& [width, height, bits, accepted] :
       {std::tuple{10, 12, 1, true}, {10, 16, 1, false}, {10, 12, 4, false}, {256, 12, 1, false},
        {255, 12, 1, true}, {0, 12, 1, true}, {0, 16, 1, false}}) {
    TMHWFont set = SolidFont(12, {{'Q', 3}});
    EXPECT_EQ(set.ImportaLetraBytes(OneBitBitmap(width, height, bits), 0, 'Q'), accepted)
        << width << "x" << height << "@" << bits;
    const TLetra& g = set.fonts[0].glyphs['Q'];
    EXPECT_EQ(g.width, accepted ? width : 3);
    if (accepted && width > 1) { EXPECT_EQ(g.picture.substr(0, 2), "o."); }
  }
  EXPECT_FALSE(SolidFont(12, {}).ImportaLetraBytes(Bytes{'B', 'M', 1, 2}, 0, 'Q'));
}

TEST(FontBitmaps, ExportedGlyphImportsBackUnchanged) {
  TMHWFont set = SolidFont(5, {});
  set.SetGlyph(0, 200, 11, std::string("o.oo.....oo") + "..........o" + "ooooooooooo" + "..........." + "o.o.o.o.o.o");
  TMHWFont other = SolidFont(5, {});
  ASSERT_TRUE(other.ImportaLetraBytes(set.ExportaLetraBytes(0, 200), 0, 7));
  EXPECT_EQ(other.fonts[0].glyphs[7].picture, set.fonts[0].glyphs[200].picture);
}

// An external font file: widths, glyphs of `height` rows, the 24-byte trailer.
Bytes ExternalFile(const std::string& name, int height, int size, bool widths_first, int width) {
  Bytes widths(256, static_cast<std::uint8_t>(width));
  Bytes glyphs;
  for (int c = 0; c < 256; ++c) {
    Bytes g(GlyphSize(static_cast<unsigned>(width), static_cast<unsigned>(height), true), 0);
    if (width > 0) g[0] = static_cast<std::uint8_t>(c);  // row 0 holds the code's bits
    glyphs.insert(glyphs.end(), g.begin(), g.end());
  }
  Bytes trailer(24, 0);
  std::copy(name.begin(), name.end(), trailer.begin());
  trailer[9] = static_cast<std::uint8_t>(height == 12 ? 0 : height);
  trailer[10] = static_cast<std::uint8_t>(size);
  Bytes file = widths_first ? widths : glyphs;
  const Bytes& second = widths_first ? glyphs : widths;
  file.insert(file.end(), second.begin(), second.end());
  file.insert(file.end(), trailer.begin(), trailer.end());
  return file;
}

TEST(FontExternal, WidthTableAtTheStartOrAtTheEnd) {
  EXPECT_EQ(ExternalFile("x", 12, 1, true, 0).size(), 256u + 256u * 4 + 24);
  for (const bool first : {true, false}) {
    test::TempDir dir;
    test::WriteFile(dir / "fuente1.font", ExternalFile("fudemi", 12, 24, first, 8));
    test::WriteFile(dir / "fuente2.font", ExternalFile("videotex", 10, 10, first, 6));
    test::WriteFile(dir / "fuente3.font", ExternalFile("small", 7, 8, first, 0));
    TMHWFont set;
    ASSERT_TRUE(set.CargaExternos(dir.path(), first)) << first;
    EXPECT_EQ(set.count, 3);
    EXPECT_EQ(std::tuple(set.fonts[0].name, set.fonts[0].height, set.fonts[0].size),
              std::tuple("fudemi", 12, 24));
    EXPECT_EQ(set.fonts[1].height, 10);
    EXPECT_EQ(set.fonts[1].glyphs[0xA5].picture.substr(0, 6), "o.o..o");
    EXPECT_EQ(set.fonts[2].glyphs[3].width, 0);

    std::filesystem::remove(dir / "fuente3.font");
    EXPECT_FALSE(set.CargaExternos(dir.path(), first));
    EXPECT_EQ(set.count, 3);
    EXPECT_EQ(set.fonts[0].glyphs[65].width, 0);
  }
}

}  // namespace
}  // namespace corvane

#include "resources/font_set.h"

#include <algorithm>

#include "base/file_io.h"

namespace corvane {

namespace {

constexpr std::size_t kTrailerSize = 24;
constexpr std::size_t kWidthTableSize = 256;

}  // namespace

std::uint32_t GlyphSize(unsigned width, unsigned height, bool padded) {
  if (width == 0) return 4;
  const std::uint32_t rows = height * GlyphRowBytes(width);
  return padded ? (rows + 3) / 4 * 4 : rows;
}

std::string DecodificaLetra(ByteView bytes, unsigned height, unsigned width) {
  std::string picture(static_cast<std::size_t>(height) * width, kBackground);
  const std::uint32_t row_bytes = GlyphRowBytes(width);
  for (unsigned r = 0; r < height; ++r)
    for (unsigned x = 0; x < width; ++x)
      if (bytes.at(static_cast<std::size_t>(r) * row_bytes + x / 8) & (0x80u >> (x % 8)))
        picture[static_cast<std::size_t>(r) * width + x] = kInk;
  return picture;
}

Bytes GlyphRows(const TLetra& glyph, unsigned height) {
  const std::uint32_t row_bytes = GlyphRowBytes(glyph.width);
  Bytes rows(static_cast<std::size_t>(height) * row_bytes, 0);
  for (unsigned r = 0; r < height; ++r)
    for (unsigned x = 0; x < glyph.width; ++x)
      if (glyph.Ink(static_cast<int>(x), static_cast<int>(r)))
        rows[static_cast<std::size_t>(r) * row_bytes + x / 8] |=
            static_cast<std::uint8_t>(0x80u >> (x % 8));
  return rows;
}

std::uint32_t TMHWFont::CodificaLetra(int font, int code, MutableByteView buffer,
                                      bool padded) const {
  const TFuente& f = fonts[static_cast<std::size_t>(font)];
  const TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  buffer.Copy(g.data_offset, GlyphRows(g, f.height));
  return GlyphSize(g.width, f.height, padded);
}

std::uint64_t TMHWFont::TamanoLetras(int font, int first, bool padded) const {
  const TFuente& f = fonts[static_cast<std::size_t>(font)];
  std::uint64_t total = 0;
  for (int c = std::max(first, 0); c < kGlyphCount; ++c)
    total += GlyphSize(f.glyphs[static_cast<std::size_t>(c)].width, f.height, padded);
  return total;
}

bool TMHWFont::CargaExternos(const std::filesystem::path& folder, bool length_table_first) {
  std::array<Bytes, 3> files;
  bool all = true;
  for (int i = 0; i < 3; ++i) {
    auto bytes = ReadWholeFile(folder / ("fuente" + std::to_string(i + 1) + ".font"));
    if (bytes)
      files[static_cast<std::size_t>(i)] = std::move(*bytes);
    else
      all = false;
  }
  if (!all) {
    *this = TMHWFont();
    count = 3;
    return false;
  }
  return CargaExternosDe(files, length_table_first);
}

bool TMHWFont::CargaExternosDe(const std::array<Bytes, 3>& files, bool length_table_first) {
  *this = TMHWFont();
  count = 3;
  // A file too short for its trailer and width table is as good as missing.
  for (const Bytes& file : files)
    if (file.size() < kTrailerSize + kWidthTableSize) return false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ByteView file(files[i]);
    const std::size_t s = file.size();
    TFuente& f = fonts[i];
    const std::size_t trailer = s - kTrailerSize;
    f.name = LeeNombre(file, trailer, 8);
    f.height = file.at(trailer + 9) == 0 ? 12 : file.at(trailer + 9);
    f.size = file.at(trailer + 10);
    const std::size_t widths = length_table_first ? 0 : s - kTrailerSize - kWidthTableSize;
    std::size_t pos = length_table_first ? kWidthTableSize : 0;
    for (int c = 0; c < kGlyphCount; ++c) {
      TLetra& g = f.glyphs[static_cast<std::size_t>(c)];
      g.width = file.at(widths + static_cast<std::size_t>(c));
      g.picture = DecodificaLetra(file.Sub(pos), f.height, g.width);
      pos += GlyphSize(g.width, f.height, true);
    }
  }
  return true;
}

int TMHWFont::AnchoTexto(std::string_view text, int font) const {
  if (!Valid(font)) return 0;
  const TFuente& f = fonts[static_cast<std::size_t>(font)];
  int total = 0;
  for (const char ch : text) total += f.glyphs[static_cast<unsigned char>(ch)].width;
  return total;
}

int TMHWFont::MaxWidth(int font) const {
  if (!Valid(font)) return 0;
  int widest = 0;
  for (const TLetra& g : fonts[static_cast<std::size_t>(font)].glyphs)
    widest = std::max(widest, static_cast<int>(g.width));
  return widest;
}

void TMHWFont::SetWidth(int font, int code, int width) {
  TFuente& f = fonts[static_cast<std::size_t>(font)];
  TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  const auto w = static_cast<std::size_t>(std::clamp(width, 0, 255));
  std::string picture(w * f.height, kBackground);
  for (std::size_t r = 0; r < f.height; ++r)
    for (std::size_t x = 0; x < w && x < g.width; ++x)
      picture[r * w + x] = g.picture[r * g.width + x];
  g.width = static_cast<std::uint8_t>(w);
  g.picture = std::move(picture);
}

void TMHWFont::SetGlyph(int font, int code, int width, std::string picture) {
  TFuente& f = fonts[static_cast<std::size_t>(font)];
  TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  g.width = static_cast<std::uint8_t>(std::clamp(width, 0, 255));
  picture.resize(static_cast<std::size_t>(g.width) * f.height, kBackground);
  for (char& ch : picture)
    if (ch != kInk) ch = kBackground;
  g.picture = std::move(picture);
}

}  // namespace corvane

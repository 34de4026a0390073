#include "render/font_render.h"

#include <algorithm>

namespace corvane {

void DibujaLetra(PixelBuffer& buffer, const TMHWFont& set, int code, int font, int x, int y,
                 Rgb colour) {
  if (!set.Valid(font) || code < 0 || code >= kGlyphCount) return;
  const TFuente& f = set.fonts[static_cast<std::size_t>(font)];
  const TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  const int height = f.height;
  const int width = g.width;
  if (width == 0 || g.picture.size() < static_cast<std::size_t>(width) * height) return;
  // Rows and columns clipped to the buffer once, then plain byte writes.
  const int r0 = std::max(0, -y), r1 = std::min(height, buffer.Height() - y);
  const int c0 = std::max(0, -x), c1 = std::min(width, buffer.Width() - x);
  for (int r = r0; r < r1; ++r) {
    std::uint8_t* row = buffer.Row(y + r);
    const char* line = g.picture.data() + static_cast<std::size_t>(r) * width;
    for (int c = c0; c < c1; ++c) {
      if (line[c] != kInk) continue;
      std::uint8_t* p = row + 3 * static_cast<std::size_t>(x + c);
      p[0] = colour.r;
      p[1] = colour.g;
      p[2] = colour.b;
    }
  }
}

void DibujaTexto(PixelBuffer& buffer, const TMHWFont& set, std::string_view text,
                 const ClipRect& clip, int font, int x, int y, Rgb colour) {
  if (!set.Valid(font)) return;
  const TFuente& f = set.fonts[static_cast<std::size_t>(font)];
  const bool rows_inside = y >= clip.top && y + f.height <= clip.bottom;
  int pen = x;
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    const int width = f.glyphs[static_cast<std::size_t>(code)].width;
    if (rows_inside && pen >= clip.left && pen + width <= clip.right)
      DibujaLetra(buffer, set, code, font, pen, y, colour);
    pen += width;
  }
}

void DibujaLetraAmpliada(PixelBuffer& buffer, const TMHWFont& set, int font, int code, int zoom) {
  if (!set.Valid(font) || code < 0 || code >= kGlyphCount || zoom <= 0) return;
  const TFuente& f = set.fonts[static_cast<std::size_t>(font)];
  const TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  for (int r = 0; r < f.height; ++r)
    for (int c = 0; c < g.width; ++c)
      if (g.Ink(c, r))
        buffer.FillRect(zoom * c, zoom * r, zoom * c + zoom - 1, zoom * r + zoom - 1, Rgb{});
}

PixelBuffer CharacterSheet(const TMHWFont& set, int font) {
  if (!set.Valid(font)) return PixelBuffer();
  const TFuente& f = set.fonts[static_cast<std::size_t>(font)];
  const int cell_w = std::max(1, set.MaxWidth(font)) + 1;
  const int cell_h = f.height + 1;
  PixelBuffer sheet(16 * cell_w + 1, 16 * cell_h + 1, Rgb{255, 255, 255});
  const Rgb grid{192, 192, 192};
  for (int i = 0; i <= 16; ++i) {
    sheet.FillRect(i * cell_w, 0, i * cell_w, sheet.Height() - 1, grid);
    sheet.FillRect(0, i * cell_h, sheet.Width() - 1, i * cell_h, grid);
  }
  for (int code = 0; code < kGlyphCount; ++code)
    DibujaLetra(sheet, set, code, font, (code % 16) * cell_w + 1, (code / 16) * cell_h + 1, Rgb{});
  return sheet;
}

}  // namespace corvane

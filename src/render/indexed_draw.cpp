#include "render/indexed_draw.h"

#include <algorithm>

namespace corvane {

void DrawNibbleRows(PixelBuffer& target, int left, int top, int width, int height, ByteView rows,
                    const PaletteColours& colours) {
  if (width <= 1 || height <= 0) return;
  const std::size_t row_bytes = static_cast<std::size_t>(width) / 2;
  const int x_first = left >= 0 ? 0 : (1 - left) / 2;  // first byte with both pixels inside
  const int x_end = target.Width() - left <= 0 ? 0 : (target.Width() - left) / 2;
  for (int y = std::max(0, -top); y < height && top + y < target.Height(); ++y) {
    const std::size_t offset = static_cast<std::size_t>(y) * row_bytes;
    if (offset >= rows.size()) break;
    const int bytes = static_cast<int>(std::min(row_bytes, rows.size() - offset));
    const std::uint8_t* src = rows.data() + offset;
    std::uint8_t* dst = target.Row(top + y);
    const int first = x_first, last = std::min(bytes, x_end);
    for (int x = first; x < last; ++x) {
      const Rgb& a = colours[src[x] >> 4];
      const Rgb& b = colours[src[x] & 0x0F];
      std::uint8_t* p = dst + static_cast<std::ptrdiff_t>(left + 2 * x) * 3;
      p[0] = a.r, p[1] = a.g, p[2] = a.b, p[3] = b.r, p[4] = b.g, p[5] = b.b;
    }
    for (int x : {first - 1, last}) {
      if (x < 0 || x >= bytes) continue;
      target.Set(left + 2 * x, top + y, colours[src[x] >> 4]);
      target.Set(left + 2 * x + 1, top + y, colours[src[x] & 0x0F]);
    }
  }
}

PixelBuffer Dibuja(const TMHWImage& image, const TMHWPalette& palette) {
  PixelBuffer target(image.Width(), image.Height());
  DrawNibbleRows(target, 0, 0, image.Width(), image.Height(), image.Rows(), palette.Colours());
  return target;
}

PixelBuffer Dibuja(const TMHWIconLib& icons, std::size_t index, const TMHWPalette& palette) {
  if (index >= icons.icons.size()) return {};
  const Icon& icon = icons.icons[index];
  PixelBuffer target(icon.width, icon.height);
  DrawNibbleRows(target, 0, 0, icon.width, icon.height, icon.pixels, palette.Colours());
  return target;
}

}  // namespace corvane

// The exchange of single glyphs with 1-bit Windows bitmaps.
#include "base/bitmap.h"
#include "base/file_io.h"
#include "resources/font_set.h"

namespace corvane {

Bytes TMHWFont::ExportaLetraBytes(int font, int code) const {
  const TFuente& f = fonts[static_cast<std::size_t>(font)];
  const TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  Bitmap bitmap;
  bitmap.width = g.width;
  bitmap.height = f.height;
  bitmap.bits_per_pixel = 1;
  bitmap.colours = {Rgb{0, 0, 0}, Rgb{255, 255, 255}};
  bitmap.pixels.resize(static_cast<std::size_t>(g.width) * f.height);
  for (int r = 0; r < f.height; ++r)
    for (int c = 0; c < g.width; ++c)
      bitmap.pixels[static_cast<std::size_t>(r) * g.width + static_cast<std::size_t>(c)] =
          g.Ink(c, r) ? 0 : 1;
  return WriteBitmap(bitmap);
}

std::string TMHWFont::ExportaLetra(const std::filesystem::path& file, int font, int code) const {
  return WriteFileAtomic(file, ExportaLetraBytes(font, code));
}

namespace {

// An empty glyph exports as a bitmap 0 pixels wide, which holds no pixels to read: its info
// header says 1 bit per pixel, width 0 and the height (negative for top-down rows).
bool EmptyGlyphBitmap(ByteView file, int height) {
  if (file.size() < 30 || file.at(0) != 'B' || file.at(1) != 'M' || file.u32le(14) < 40) return false;
  const auto rows = static_cast<std::int32_t>(file.u32le(22));
  return file.u32le(18) == 0 && file.u16le(28) == 1 && (rows == height || rows == -height);
}

}  // namespace

bool TMHWFont::ImportaLetraBytes(ByteView file, int font, int code) {
  const TFuente& f = fonts[static_cast<std::size_t>(font)];
  if (EmptyGlyphBitmap(file, f.height)) {
    SetGlyph(font, code, 0, {});
    return true;
  }
  const std::optional<Bitmap> bitmap = ReadBitmap(file);
  if (!bitmap || bitmap->bits_per_pixel != 1 || bitmap->height != f.height ||
      bitmap->width >= 256 || bitmap->width < 0)
    return false;
  std::string picture(static_cast<std::size_t>(bitmap->width) * f.height, kBackground);
  for (int r = 0; r < bitmap->height; ++r)
    for (int c = 0; c < bitmap->width; ++c)
      if (BitmapColour(*bitmap, c, r) == Rgb{0, 0, 0})
        picture[static_cast<std::size_t>(r) * static_cast<std::size_t>(bitmap->width) +
                static_cast<std::size_t>(c)] = kInk;
  SetGlyph(font, code, bitmap->width, std::move(picture));
  return true;
}

bool TMHWFont::ImportaLetra(const std::filesystem::path& file, int font, int code) {
  const std::optional<Bytes> bytes = ReadWholeFile(file);
  return bytes && ImportaLetraBytes(*bytes, font, code);
}

}  // namespace corvane

#include "resources/image.h"

#include <algorithm>

#include "resources/stored.h"

namespace corvane {

Bytes PackNibbleRows(const Bitmap& bitmap) {
  const std::size_t w = static_cast<std::size_t>(std::max(bitmap.width, 0));
  const std::size_t h = static_cast<std::size_t>(std::max(bitmap.height, 0));
  const std::size_t row_bytes = w / 2;
  const ByteView pixels(bitmap.pixels);
  Bytes rows(row_bytes * h, 0);
  for (std::size_t y = 0; y < h; ++y)
    for (std::size_t x = 0; x < row_bytes; ++x)
      rows[y * row_bytes + x] = static_cast<std::uint8_t>(
          (pixels[y * w + 2 * x] & 0x0F) << 4 | (pixels[y * w + 2 * x + 1] & 0x0F));
  return rows;
}

Bitmap UnpackNibbleRows(int width, int height, ByteView rows, const PaletteColours& colours) {
  Bitmap b;
  b.width = std::max(width, 0);
  b.height = std::max(height, 0);
  b.bits_per_pixel = 4;
  b.colours.assign(colours.begin(), colours.end());
  const std::size_t w = static_cast<std::size_t>(b.width);
  const std::size_t row_bytes = w / 2;
  b.pixels.assign(w * static_cast<std::size_t>(b.height), 0);
  for (std::size_t y = 0; y < static_cast<std::size_t>(b.height); ++y)
    for (std::size_t x = 0; x < row_bytes; ++x) {
      const std::uint8_t v = rows[y * row_bytes + x];
      b.pixels[y * w + 2 * x] = v >> 4;
      b.pixels[y * w + 2 * x + 1] = v & 0x0F;
    }
  return b;
}

TMHWImage TMHWImage::FromPlain(Bytes plain) {
  TMHWImage image;
  image.plain_ = std::move(plain);
  return image;
}

TMHWImage TMHWImage::Create(TNodo* node) {
  TMHWImage image;
  if (node == nullptr) return image;
  image.plain_ = PlainOf(*node);
  image.node_ = node;
  return image;
}

int TMHWImage::Width() const { return static_cast<int>(ByteView(plain_).u16be(0)); }
int TMHWImage::Height() const { return static_cast<int>(ByteView(plain_).u16be(2)); }

std::uint8_t TMHWImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  // A row stores width / 2 bytes: the last column of an odd width is not stored (drawn as 0).
  if (static_cast<std::size_t>(x) >= 2 * RowBytes()) return 0;
  const std::uint8_t v =
      Rows()[static_cast<std::size_t>(y) * RowBytes() + static_cast<std::size_t>(x) / 2];
  return x % 2 == 0 ? v >> 4 : v & 0x0F;
}

Result TMHWImage::SetPicture(int width, int height, ByteView rows) {
  if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF)
    return Result::Refused(Message::FromRow(rows::kImageTooLarge));
  const std::size_t size = static_cast<std::size_t>(width) / 2 * static_cast<std::size_t>(height);
  Bytes plain(kHeaderSize + size, 0);
  MutableByteView m(plain);
  m.WriteBE(0, static_cast<std::uint32_t>(width), 2);
  m.WriteBE(2, static_cast<std::uint32_t>(height), 2);
  m.Copy(kHeaderSize, rows.Sub(0, size));
  plain_ = std::move(plain);
  return Result::Ok();
}

void TMHWImage::Guarda() const {
  if (node_ != nullptr) StorePlain(*node_, plain_);
}

Bitmap TMHWImage::ToBitmap(const TMHWPalette& palette) const {
  return UnpackNibbleRows(Width(), Height(), Rows(), palette.Colours());
}

Result TMHWImage::ImportBitmap(const Bitmap& bitmap) {
  if (bitmap.bits_per_pixel != 4)
    return Result::Rejected(Message::FromRow(rows::kBitmapNot16Colours));
  return SetPicture(bitmap.width, bitmap.height, PackNibbleRows(bitmap));
}

Result TMHWImage::ExportaBMP(const std::filesystem::path& file,
                             const TMHWPalette& palette) const {
  return WriteDiskFile(file, WriteBitmap(ToBitmap(palette)));
}

Result TMHWImage::ImportaBMP(const std::filesystem::path& file) {
  Bytes bytes;
  if (Result r = ReadDiskFile(file, bytes); !r) return r;
  const std::optional<Bitmap> bitmap = ReadBitmap(bytes);
  if (!bitmap) return Result::Rejected(Message::FromRow(rows::kBitmapNot16Colours));
  return ImportBitmap(*bitmap);
}

}  // namespace corvane

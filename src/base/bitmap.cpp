#include "base/bitmap.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;

bool KnownDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

bool KnownInfoHeader(std::uint32_t size) {
  // BITMAPINFOHEADER, its V2 and V3 extensions, V4 and V5.
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

std::size_t BitmapStride(int width, int bits) {
  const std::size_t row_bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bits);
  return (row_bits + 31) / 32 * 4;
}

std::optional<Bitmap> ReadBitmap(ByteView file) {
  if (!file.Contains(0, kFileHeaderSize + 4) || file[0] != 'B' || file[1] != 'M')
    return std::nullopt;
  const std::uint32_t pixel_offset = file.u32le(10);
  const std::uint32_t header_size = file.u32le(kFileHeaderSize);
  if (!file.Contains(kFileHeaderSize, header_size)) return std::nullopt;

  std::int64_t width = 0, height = 0;
  int bits = 0;
  std::uint32_t colours_used = 0;
  std::size_t entry_size = 4;
  if (header_size == kCoreHeaderSize) {
    width = file.u16le(18);
    height = file.u16le(20);
    bits = static_cast<int>(file.u16le(24));
    entry_size = 3;
  } else if (KnownInfoHeader(header_size)) {
    width = static_cast<std::int32_t>(file.u32le(18));
    height = static_cast<std::int32_t>(file.u32le(22));
    bits = static_cast<int>(file.u16le(28));
    if (file.u32le(30) != kBiRgb) return std::nullopt;
    colours_used = file.u32le(46);
  } else {
    return std::nullopt;
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (!KnownDepth(bits) || width <= 0 || height <= 0 || width > kMaxBitmapSide ||
      height > kMaxBitmapSide)
    return std::nullopt;

  // The colour table: what the header announces, at most what the depth allows, and no more
  // than fits before the pixels.
  const std::size_t table_start = kFileHeaderSize + header_size;
  std::size_t table_entries = 0;
  if (bits <= 8) {
    const std::size_t most = std::size_t{1} << bits;
    table_entries = colours_used == 0 || colours_used > most ? most : colours_used;
  } else {
    table_entries = colours_used;
  }
  if (pixel_offset >= table_start)
    table_entries = std::min(table_entries, (pixel_offset - table_start) / entry_size);
  else if (pixel_offset != 0)
    return std::nullopt;
  if (!file.Contains(table_start, table_entries * entry_size)) return std::nullopt;

  Bitmap bitmap;
  bitmap.width = static_cast<int>(width);
  bitmap.height = static_cast<int>(height);
  bitmap.bits_per_pixel = bits;
  bitmap.colours.reserve(table_entries);
  for (std::size_t i = 0; i < table_entries; ++i) {
    const std::size_t p = table_start + i * entry_size;  // stored blue, green, red
    bitmap.colours.push_back({file[p + 2], file[p + 1], file[p]});
  }

  const std::size_t data_start =
      pixel_offset != 0 ? pixel_offset : table_start + table_entries * entry_size;
  const std::size_t stride = BitmapStride(bitmap.width, bits);
  const std::size_t w = static_cast<std::size_t>(bitmap.width);
  const std::size_t h = static_cast<std::size_t>(bitmap.height);
  // The last row need not carry its padding.
  const std::size_t needed = stride * (h - 1) + (w * static_cast<std::size_t>(bits) + 7) / 8;
  if (!file.Contains(data_start, needed)) return std::nullopt;

  bitmap.pixels.resize(bits == 24 ? w * h * 3 : w * h);
  for (std::size_t y = 0; y < h; ++y) {
    const std::size_t stored_row = top_down ? y : h - 1 - y;
    const std::uint8_t* src = file.data() + data_start + stored_row * stride;
    std::uint8_t* dst = bitmap.pixels.data() + y * w * (bits == 24 ? 3 : 1);
    switch (bits) {
      case 24:
        for (std::size_t x = 0; x < w; ++x) {
          dst[x * 3] = src[x * 3 + 2];
          dst[x * 3 + 1] = src[x * 3 + 1];
          dst[x * 3 + 2] = src[x * 3];
        }
        break;
      case 8:
        std::copy(src, src + w, dst);
        break;
      case 4:
        for (std::size_t x = 0; x < w; ++x)
          dst[x] = x % 2 == 0 ? src[x / 2] >> 4 : src[x / 2] & 0x0F;
        break;
      default:  // 1
        for (std::size_t x = 0; x < w; ++x) dst[x] = (src[x / 8] >> (7 - x % 8)) & 1;
        break;
    }
  }
  return bitmap;
}

Bytes WriteBitmap(const Bitmap& bitmap) {
  const int bits = KnownDepth(bitmap.bits_per_pixel) ? bitmap.bits_per_pixel : 24;
  const int width = std::max(bitmap.width, 0);
  const int height = std::max(bitmap.height, 0);
  const std::size_t stride = BitmapStride(width, bits);
  const std::size_t table_bytes = bitmap.colours.size() * 4;
  const std::size_t data_start = kFileHeaderSize + kInfoHeaderSize + table_bytes;
  const std::size_t data_size = stride * static_cast<std::size_t>(height);
  Bytes out(data_start + data_size, 0);
  MutableByteView m(out);
  m.Set(0, 'B');
  m.Set(1, 'M');
  m.WriteLE(2, static_cast<std::uint32_t>(out.size()), 4);
  m.WriteLE(10, static_cast<std::uint32_t>(data_start), 4);
  m.WriteLE(14, kInfoHeaderSize, 4);
  m.WriteLE(18, static_cast<std::uint32_t>(width), 4);
  m.WriteLE(22, static_cast<std::uint32_t>(height), 4);
  m.WriteLE(26, 1, 2);
  m.WriteLE(28, static_cast<std::uint32_t>(bits), 2);
  m.WriteLE(34, static_cast<std::uint32_t>(data_size), 4);
  m.WriteLE(46, static_cast<std::uint32_t>(bitmap.colours.size()), 4);
  for (std::size_t i = 0; i < bitmap.colours.size(); ++i) {
    const Rgb c = bitmap.colours[i];
    m.Set(54 + i * 4, c.b);
    m.Set(54 + i * 4 + 1, c.g);
    m.Set(54 + i * 4 + 2, c.r);
  }
  const ByteView pixels(bitmap.pixels);
  const std::size_t w = static_cast<std::size_t>(width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    const std::size_t row = data_start + (static_cast<std::size_t>(height) - 1 - y) * stride;
    for (std::size_t x = 0; x < w; ++x) {
      switch (bits) {
        case 24: {
          const std::size_t p = (y * w + x) * 3;
          m.Set(row + x * 3, pixels[p + 2]);
          m.Set(row + x * 3 + 1, pixels[p + 1]);
          m.Set(row + x * 3 + 2, pixels[p]);
          break;
        }
        case 8:
          m.Set(row + x, pixels[y * w + x]);
          break;
        case 4:
          out[row + x / 2] |= static_cast<std::uint8_t>((pixels[y * w + x] & 0x0F)
                                                         << (x % 2 == 0 ? 4 : 0));
          break;
        default:
          out[row + x / 8] |= static_cast<std::uint8_t>((pixels[y * w + x] & 1) << (7 - x % 8));
          break;
      }
    }
  }
  return out;
}

Rgb BitmapColour(const Bitmap& bitmap, int x, int y) {
  if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return {};
  const std::size_t i =
      static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) +
      static_cast<std::size_t>(x);
  const ByteView pixels(bitmap.pixels);
  if (bitmap.bits_per_pixel == 24) return {pixels[i * 3], pixels[i * 3 + 1], pixels[i * 3 + 2]};
  const std::size_t index = pixels[i];
  return index < bitmap.colours.size() ? bitmap.colours[index] : Rgb{};
}

}  // namespace corvane

#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "render/pixel_buffer.h"
#include "render/png.h"

namespace corvane {
namespace {

Bitmap Sample(int bits, int width, int height) {
  Bitmap b{width, height, bits, {}, {}};
  if (bits <= 8)
    for (int i = 0; i < (1 << bits); ++i)
      b.colours.push_back({std::uint8_t(i * 3), std::uint8_t(i * 5), std::uint8_t(255 - i)});
  const std::size_t n = std::size_t(width) * height * (bits == 24 ? 3 : 1);
  for (std::size_t i = 0; i < n; ++i)
    b.pixels.push_back(std::uint8_t((i * 7 + 3) % (bits == 24 ? 256 : 1u << bits)));
  return b;
}

TEST(Bitmap, WriteThenReadGivesTheSameBitmapAtEveryDepth) {
  for (int bits : {1, 4, 8, 24})
    for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {33, 2}, {7, 9}}) {
      const Bitmap b = Sample(bits, w, h);
      const Bytes file = WriteBitmap(b);
      EXPECT_EQ(file.size(), 54 + b.colours.size() * 4 + BitmapStride(w, bits) * h);
      EXPECT_EQ(ReadBitmap(file), b) << bits << " " << w << "x" << h;
    }
}

// Patches an info-header 4-bit file into other accepted forms.
TEST(Bitmap, ReadsTopDownCoreHeaderAndShortColourTables) {
  const Bitmap b = Sample(4, 3, 2);
  Bytes file = WriteBitmap(b);

  Bytes top_down = file;  // rows swapped, height negative
  const std::size_t stride = BitmapStride(3, 4), data = 54 + 64;
  std::swap_ranges(top_down.begin() + data, top_down.begin() + data + stride,
                   top_down.begin() + data + stride);
  MutableByteView(top_down).WriteLE(22, static_cast<std::uint32_t>(-2), 4);
  EXPECT_EQ(*ReadBitmap(top_down), b);

  // Colour table of 2 entries (announced and placed); indices past it draw black.
  Bytes short_table(file.begin(), file.begin() + 54);
  short_table.insert(short_table.end(), file.begin() + 54, file.begin() + 62);
  short_table.insert(short_table.end(), file.begin() + data, file.end());
  MutableByteView(short_table).WriteLE(46, 2, 4);
  MutableByteView(short_table).WriteLE(10, 62, 4);
  const auto s = ReadBitmap(short_table);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->colours, (std::vector<Rgb>(b.colours.begin(), b.colours.begin() + 2)));
  EXPECT_EQ(s->pixels, b.pixels);
  EXPECT_EQ(BitmapColour(*s, 0, 0), b.pixels[0] < 2 ? b.colours[b.pixels[0]] : Rgb{});
  EXPECT_EQ(BitmapColour(*s, 2, 1), Rgb{});

  // Core header: 12-byte header, 3-byte table entries.
  Bytes core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26 + 48, 0, 0, 0, 12, 0, 0, 0, 3, 0, 2, 0, 1, 0, 4, 0};
  for (const Rgb& c : b.colours) core.insert(core.end(), {c.b, c.g, c.r});
  core.insert(core.end(), file.begin() + data, file.end());
  EXPECT_EQ(*ReadBitmap(core), b);
}

TEST(Bitmap, RefusesWhatItCannotReadWithoutReadingPastTheFile) {
  const Bytes file = WriteBitmap(Sample(8, 4, 4));
  auto with = [&](std::size_t pos, std::uint32_t value, int n) {
    Bytes f = file;
    MutableByteView(f).WriteLE(pos, value, n);
    return f;
  };
  const std::vector<Bytes> bad = {
      Bytes(file.begin(), file.end() - 1),  // last row cut short
      Bytes(file.begin(), file.begin() + 40),
      with(0, 'X', 1),
      with(30, 1, 4),           // RLE
      with(28, 16, 2),          // 16 bits per pixel
      with(14, 64, 4),          // unknown header
      with(18, 0, 4),           // no width
      with(22, 0x80000000, 4),  // height INT_MIN
      with(18, 0x7FFFFFFF, 4),  // huge width
      with(10, 20, 4),          // pixels inside the header
      with(10, 0xFFFFFFF0, 4),  // pixels past the file
  };
  for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(ReadBitmap(bad[i])) << i;
}

TEST(PixelBuffer, ClipsEveryAccess) {
  PixelBuffer p(4, 3, {1, 2, 3});
  for (const int x : {-1, 4}) p.Set(x, 0, {9, 9, 9});
  p.FillRect(5, 5, 2, 1, {7, 7, 7});  // corners swapped and clipped
  PixelBuffer want(4, 3, {1, 2, 3});
  for (const int x : {2, 3}) want.Set(x, 1, {7, 7, 7}), want.Set(x, 2, {7, 7, 7});
  EXPECT_EQ(p, want);
  EXPECT_EQ(p.Get(4, 0), Rgb{});
  EXPECT_EQ(p.Row(3), nullptr);
  EXPECT_EQ(PixelBuffer(-3, 2).Data().size(), 0u);
}

TEST(Png, EncodesASignedFileAndNothingForAnEmptyBuffer) {
  const Bytes png = EncodePng(PixelBuffer(3, 2, {255, 0, 0}));
  EXPECT_EQ(Bytes(png.begin(), png.begin() + std::min<std::size_t>(8, png.size())),
            (Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}));
  EXPECT_TRUE(EncodePng(PixelBuffer()).empty());
}

}  // namespace
}  // namespace corvane

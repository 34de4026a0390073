// Windows bitmap files (1, 4, 8 and 24 bits per pixel, uncompressed).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/bytes.h"
#include "base/rgb.h"

namespace corvane {

struct Bitmap {
  int width = 0, height = 0;
  int bits_per_pixel = 0;  // 1, 4, 8 or 24, as the file has it
  // The colour table, with as many entries as the file has (may be fewer than the depth allows).
  std::vector<Rgb> colours;
  // <= 8 bits: one palette index per pixel, width * height, top row first.
  // 24 bits: 3 bytes R, G, B per pixel, top row first.
  std::vector<std::uint8_t> pixels;

  bool operator==(const Bitmap&) const = default;
};

// Largest width or height the reader accepts.
inline constexpr int kMaxBitmapSide = 1 << 15;

// Reads a bitmap file: a core header or an info header (also the V4 and V5 ones), uncompressed,
// bottom-up or top-down rows. nullopt for anything else or for a file cut short.
std::optional<Bitmap> ReadBitmap(ByteView file);

// An info-header bitmap, bottom-up, rows padded to 4 bytes, with the colour table it has.
Bytes WriteBitmap(const Bitmap& bitmap);

// The colour of pixel (x, y): the table entry of its index (black past the table) or its own
// colour at 24 bits; black outside the bitmap.
Rgb BitmapColour(const Bitmap& bitmap, int x, int y);

// Bytes per stored row of a bitmap `width` pixels wide at `bits` per pixel (padded to 4).
std::size_t BitmapStride(int width, int bits);

}  // namespace corvane

// Image files (".ima", ".imz"): one 4-bit picture whose pixels index a palette.
//
// Plain form: width and height (2 bytes each, big-endian), then height rows of width div 2
// bytes, two pixels per byte with the left one in the high nibble. An odd width stores no data
// for its last column.
#pragma once

#include <cstdint>
#include <filesystem>

#include "base/bitmap.h"
#include "base/result.h"
#include "firmware/tree.h"
#include "resources/palette.h"

namespace corvane {

class TMHWImage {
 public:
  static constexpr std::size_t kHeaderSize = 4;

  TMHWImage() : plain_(kHeaderSize, 0) {}
  // Any plain bytes: their header is read whenever it is needed, and rows past their end are
  // missing (not drawn, exported as index 0).
  static TMHWImage FromPlain(Bytes plain);
  static TMHWImage Create(TNodo* node);

  int Width() const;
  int Height() const;
  // Bytes per stored row: width div 2.
  std::size_t RowBytes() const { return static_cast<std::size_t>(Width()) / 2; }
  const Bytes& Plain() const { return plain_; }
  // The stored rows (everything after the header).
  ByteView Rows() const { return ByteView(plain_).Sub(kHeaderSize); }
  // Pixel index at (x, y); 0 outside the stored data (also the unstored last column of an odd
  // width).
  std::uint8_t Pixel(int x, int y) const;

  // A new picture: header and rows of width div 2 bytes. Refused for sides above 65535.
  Result SetPicture(int width, int height, ByteView rows);

  void Guarda() const;
  TNodo* Node() const { return node_; }

  // The picture as a 4-bit bitmap with the palette's colours as its colour table.
  Bitmap ToBitmap(const TMHWPalette& palette) const;
  // Width, height and pixel indices of a 4-bit bitmap (its colours are not used).
  Result ImportBitmap(const Bitmap& bitmap);

  Result ExportaBMP(const std::filesystem::path& file, const TMHWPalette& palette) const;
  Result ImportaBMP(const std::filesystem::path& file);

 private:
  Bytes plain_;
  TNodo* node_ = nullptr;
};

// The rows of a 4-bit bitmap packed two pixels per byte, width div 2 bytes per row (an odd last
// column is dropped), top row first.
Bytes PackNibbleRows(const Bitmap& bitmap);
// The 4-bit bitmap of packed rows (missing bytes and an odd last column are index 0).
Bitmap UnpackNibbleRows(int width, int height, ByteView rows, const PaletteColours& colours);

}  // namespace corvane

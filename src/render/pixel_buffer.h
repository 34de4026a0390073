// The one 24-bit pixel buffer every drawing goes into: rows top first, 3 bytes R, G, B per pixel,
// no padding between rows. Every access outside the buffer is ignored (writes) or reads black.
#pragma once

#include <cstdint>
#include <vector>

#include "base/rgb.h"

namespace corvane {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // Negative sizes make an empty buffer.
  PixelBuffer(int width, int height, Rgb fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  void Set(int x, int y, Rgb c);
  Rgb Get(int x, int y) const;
  void Fill(Rgb c);
  // Inclusive corners in any order, clipped to the buffer.
  void FillRect(int x1, int y1, int x2, int y2, Rgb c);

  // The first byte of row y (nullptr outside the buffer).
  std::uint8_t* Row(int y);
  const std::uint8_t* Row(int y) const;
  const std::vector<std::uint8_t>& Data() const { return data_; }

  bool operator==(const PixelBuffer&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> data_;
};

}  // namespace corvane

#include "render/pixel_buffer.h"

#include <algorithm>

namespace corvane {

PixelBuffer::PixelBuffer(int width, int height, Rgb fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  data_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  Fill(fill);
}

void PixelBuffer::Set(int x, int y, Rgb c) {
  if (!Contains(x, y)) return;
  std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

Rgb PixelBuffer::Get(int x, int y) const {
  if (!Contains(x, y)) return {};
  const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
  return {p[0], p[1], p[2]};
}

void PixelBuffer::Fill(Rgb c) { FillRect(0, 0, width_ - 1, height_ - 1, c); }

void PixelBuffer::FillRect(int x1, int y1, int x2, int y2, Rgb c) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, width_ - 1);
  y2 = std::min(y2, height_ - 1);
  if (x1 > x2 || y1 > y2) return;
  for (int y = y1; y <= y2; ++y) {
    std::uint8_t* p = Row(y) + static_cast<std::size_t>(x1) * 3;
    for (int x = x1; x <= x2; ++x, p += 3) {
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  }
}

std::uint8_t* PixelBuffer::Row(int y) {
  if (y < 0 || y >= height_) return nullptr;
  return data_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3;
}

const std::uint8_t* PixelBuffer::Row(int y) const {
  if (y < 0 || y >= height_) return nullptr;
  return data_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3;
}

}  // namespace corvane

// What the independent image builders share: a byte canvas that refuses writes outside the
// image, and the word tests of the on-image formats.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/bytes.h"

namespace corvane::test {

inline constexpr std::uint8_t kFiller = 0x11;  // "code": neither a name character nor blank

// Bytes written by position, refusing anything outside the image.
class Canvas {
 public:
  Canvas(Bytes& b, bool little) : b_(b), little_(little) {}
  std::uint8_t& At(std::size_t pos) {
    if (pos >= b_.size()) throw std::invalid_argument("layout does not fit the image");
    return b_[pos];
  }
  void Number(std::size_t pos, std::uint32_t v, int width = 4) {
    for (int i = 0; i < width; ++i) {
      const int shift = little_ ? 8 * i : 8 * (width - 1 - i);
      At(pos + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> shift);
    }
  }
  std::uint32_t Number(std::size_t pos) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const int shift = little_ ? 8 * i : 8 * (3 - i);
      v |= std::uint32_t{At(pos + static_cast<std::size_t>(i))} << shift;
    }
    return v;
  }
  void Text(std::size_t pos, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
      At(pos + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
  }
  void Fill(std::size_t pos, std::size_t n, std::uint8_t v) {
    for (std::size_t i = 0; i < n; ++i) At(pos + i) = v;
  }
  void Put(std::size_t pos, const Bytes& data) {
    for (std::size_t i = 0; i < data.size(); ++i) At(pos + i) = data[i];
  }

 private:
  Bytes& b_;
  bool little_;
};

inline bool IsNameChar(std::uint8_t c) {
  return c == '+' || c == '.' || c == '_' || c == 0xFF || (c >= '0' && c <= '9') ||
         (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool NameWord(const Bytes& b, std::size_t p) {
  return p + 4 <= b.size() && IsNameChar(b[p]) && IsNameChar(b[p + 1]) && IsNameChar(b[p + 2]) &&
         IsNameChar(b[p + 3]);
}
inline bool BlankWord(const Bytes& b, std::size_t p) {
  auto blank = [](std::uint8_t c) { return c == 0 || c == 0xFF; };
  return p + 4 <= b.size() && blank(b[p]) && blank(b[p + 1]) && blank(b[p + 2]) &&
         blank(b[p + 3]);
}
inline std::size_t SkipBlank(const Bytes& b, std::size_t p) {
  while (BlankWord(b, p)) p += 4;
  return p;
}
inline std::size_t AlignUp(std::size_t v, std::size_t a) { return (v + a - 1) / a * a; }

inline std::size_t Find(const Bytes& b, const Bytes& needle, std::size_t from) {
  if (from >= b.size()) return SIZE_MAX;
  auto it = std::search(b.begin() + static_cast<std::ptrdiff_t>(from), b.end(), needle.begin(),
                        needle.end());
  return it == b.end() ? SIZE_MAX : static_cast<std::size_t>(it - b.begin());
}

}  // namespace corvane::test

// Font tables laid into test images straight from the on-image format (never by the program's
// own writer): pointer table, font table, headers, width tables and glyph bytes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/image_builder.h"

namespace corvane::test {

struct FontSpec {
  std::string name;
  std::uint8_t size = 10;
  std::uint8_t height_byte = 0;  // header byte 9: the height, 0 meaning 12
  std::array<std::uint8_t, 256> widths{};
  // Free bytes after a main font's glyphs, before its header (or width table in model 23).
  std::uint32_t room = 0;
  // The glyphs' pixels (code, row, column); PatternInk when not given.
  std::function<bool(int, int, int)> ink;
  int Height() const { return height_byte == 0 ? 12 : height_byte; }
};

// Whether pixel (col, row) of glyph `code` is ink in the glyphs the builder writes.
bool PatternInk(int code, int row, int col);

// Where the builder put things (image offsets).
struct FontLayout {
  std::uint32_t at = 0;     // the whole font area starts here
  std::uint32_t table = 0;  // T
  std::vector<std::uint32_t> header, widths, glyph0;
  std::uint32_t end_of_area = 0;  // packed models: where the blank room after the glyphs ends
};

// Writes the fonts into `image` (a flash image of `model`, base address `base`).
FontLayout PlaceFonts(Bytes& image, int model, std::uint32_t base, const std::vector<FontSpec>& fonts,
                      std::uint32_t packed_room = 64);

// A sample-tree image of `model` carrying `fonts`.
BuiltImage BuildFontImage(int model, const std::vector<FontSpec>& fonts, FontLayout* layout = nullptr,
                          std::uint32_t packed_room = 64);

// A font whose codes first..255 all have `width` (codes below first: 0).
FontSpec UniformFont(const std::string& name, std::uint8_t size, std::uint8_t height_byte, int width,
                     int first = 32);

}  // namespace corvane::test

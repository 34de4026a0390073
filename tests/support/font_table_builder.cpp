#include "support/font_table_builder.h"

#include "support/image_canvas.h"

namespace corvane::test {

namespace {

bool Little(int model) { return model == 1 || model == 2 || model == 3 || model == 10 || model == 20 || model == 22; }
bool Packed(int model) { return model == 5 || model == 6 || model == 9 || model == 21; }
bool Main(const std::string& name) { return name == "fudemi" || name == "eurost"; }

// Where the fonts of a model's test image go.
std::uint32_t FontAreaOffset(int model) {
  if (Little(model)) return model == 20 ? 0xD0000 : 0x120000;
  if (model == 5 || model == 21) return 0x60000;
  if (model == 6 || model == 9) return 0x40000;
  return 0x4000;  // 13, 16, 23: before the data area
}

std::uint32_t BaseOf(int model) {
  switch (model) {
    case 2: return 0x60000000;
    case 20: return 0x7FF00000;
    case 5: case 21: return 0x81200000;
    case 6: return 0x94020000;
    case 9: return 0x9FC10000;
    case 13: case 23: return 0x2C020000;
    case 16: return 0x02000000;
    default: return 0x7FE00000;
  }
}

// Glyph bytes: rows of ceil(width / 8) bytes, most significant bit leftmost.
std::uint32_t WriteGlyph(Canvas& out, std::size_t at, int code, int width, int height, bool padded,
                         const std::function<bool(int, int, int)>& ink) {
  if (width == 0) return 4;
  const int row_bytes = (width + 7) / 8;
  for (int r = 0; r < height; ++r)
    for (int x = 0; x < 8 * row_bytes; ++x) {
      std::uint8_t& byte = out.At(at + static_cast<std::size_t>(r * row_bytes + x / 8));
      if (x == 0 || x % 8 == 0) byte = 0;
      if (x < width && (ink ? ink(code, r, x) : PatternInk(code, r, x))) byte |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  const auto size = static_cast<std::uint32_t>(row_bytes * height);
  return padded ? (size + 3) / 4 * 4 : size;
}

void WriteHeader(Canvas& out, std::size_t at, const FontSpec& f) {
  out.Text(at, f.name.substr(0, 8), 16);
  out.At(at + 9) = f.height_byte;
  out.At(at + 10) = f.size;
}

// Writes the glyphs of font `f` (index fi) from `q`, fills their pointers; returns the end.
std::size_t WriteGlyphs(Canvas& out, std::size_t q, const FontSpec& f, std::size_t fi,
                        std::size_t pointers, std::uint32_t base, bool padded) {
  const int first = Main(f.name) ? 32 : 0;
  const std::size_t slot0 = pointers + 1024 * fi;
  for (int c = first; c < 256; ++c) {
    out.Number(slot0 + 4 * static_cast<std::size_t>(c), static_cast<std::uint32_t>(q + base));
    q += WriteGlyph(out, q, c, f.widths[static_cast<std::size_t>(c)], f.Height(), padded, f.ink);
  }
  // Codes 0-31 of a main font share code 32's bytes: a copy of its pointer.
  for (int c = 0; c < first; ++c) out.Number(slot0 + 4 * static_cast<std::size_t>(c), out.Number(slot0 + 128));
  return q;
}

}  // namespace

bool PatternInk(int code, int row, int col) { return (code * 7 + row * 3 + col * 5) % 11 < 4; }

FontLayout PlaceFonts(Bytes& image, int model, std::uint32_t base, const std::vector<FontSpec>& fonts,
                      std::uint32_t packed_room) {
  const bool little = Little(model);
  const bool padded = model != 23;
  Canvas out(image, little), big(image, false), le(image, true);
  const std::size_t n = fonts.size();
  FontLayout l;
  l.at = FontAreaOffset(model);
  std::size_t a = l.at;
  if (Packed(model)) {
    // [n][headers][width tables][T: n, header pointers, width pointers, 4n unused][glyph pointers][glyphs]
    big.Number(a, static_cast<std::uint32_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
      l.header.push_back(static_cast<std::uint32_t>(a + 4 + 16 * i));
      WriteHeader(out, l.header.back(), fonts[i]);
    }
    std::size_t w = a + 4 + 16 * n;
    for (std::size_t i = 0; i < n; ++i, w += 256) {
      l.widths.push_back(static_cast<std::uint32_t>(w));
      for (std::size_t c = 0; c < 256; ++c) out.At(w + c) = fonts[i].widths[c];
    }
    l.table = static_cast<std::uint32_t>(w);
    big.Number(w, static_cast<std::uint32_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
      out.Number(w + 4 + 4 * i, l.header[i] + base);
      out.Number(w + 4 + 4 * n + 4 * i, l.widths[i] + base);
      out.Number(w + 4 + 8 * n + 4 * i, 0);
    }
    const std::size_t pointers = w + 4 + 12 * n;
    std::size_t q = pointers + 1024 * n;
    for (std::size_t i = 0; i < n; ++i) {
      l.glyph0.push_back(static_cast<std::uint32_t>(q));
      q = WriteGlyphs(out, q, fonts[i], i, pointers, base, true);
    }
    for (std::size_t k = 0; k < packed_room; ++k) out.At(q + k) = (k / 4) % 2 ? 0xFF : 0x00;
    l.end_of_area = static_cast<std::uint32_t>(q + packed_room);
    out.At(l.end_of_area) = 0x5A;  // a word that is not blank closes the room
    return l;
  }
  // [glyph pointers][T: n (LE), header pointers, width pointers] then per font
  // [glyphs][room][header][widths] ([glyphs][room][widths][header] in model 23).
  const std::size_t pointers = a;
  l.table = static_cast<std::uint32_t>(a + 1024 * n);
  le.Number(l.table, static_cast<std::uint32_t>(n));
  std::size_t q = (l.table + 4 + 8 * n + 15) / 16 * 16;
  for (std::size_t i = 0; i < n; ++i) {
    l.glyph0.push_back(static_cast<std::uint32_t>(q));
    q = WriteGlyphs(out, q, fonts[i], i, pointers, base, padded);
    q += Main(fonts[i].name) ? fonts[i].room : 0;
    const std::size_t header = model == 23 ? q + 256 : q;
    const std::size_t widths = model == 23 ? q : q + 16;
    l.header.push_back(static_cast<std::uint32_t>(header));
    l.widths.push_back(static_cast<std::uint32_t>(widths));
    WriteHeader(out, header, fonts[i]);
    for (std::size_t c = 0; c < 256; ++c) out.At(widths + c) = fonts[i].widths[c];
    out.Number(l.table + 4 + 4 * i, static_cast<std::uint32_t>(header + base));
    out.Number(l.table + 4 + 4 * n + 4 * i, static_cast<std::uint32_t>(widths + base));
    q = (q + 256 + 16 + 3) / 4 * 4;
  }
  return l;
}

BuiltImage BuildFontImage(int model, const std::vector<FontSpec>& fonts, FontLayout* layout,
                          std::uint32_t packed_room) {
  ImageSpec spec;
  spec.model = model;
  spec.dirs = SampleTree();
  FontLayout placed;
  spec.extra = [&](Bytes& image) { placed = PlaceFonts(image, model, BaseOf(model), fonts, packed_room); };
  BuiltImage built = BuildImage(spec);
  if (layout != nullptr) *layout = placed;
  return built;
}

FontSpec UniformFont(const std::string& name, std::uint8_t size, std::uint8_t height_byte, int width,
                     int first) {
  FontSpec f;
  f.name = name;
  f.size = size;
  f.height_byte = height_byte;
  for (int c = first; c < 256; ++c) f.widths[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(width);
  return f;
}

}  // namespace corvane::test

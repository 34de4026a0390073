#include "demo_image.h"

#include <string>

#include "demo_font.h"
#include "firmware/codec.h"
#include "support/font_table_builder.h"
#include "support/image_builder.h"

namespace corvane::demo {

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A stored file in the image's compressed form.
Bytes Packed(const Bytes& plain) { return Compress(plain); }

Bytes Repeated(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return Text(text);
}

// A font of the demo's own 5 x 7 letters drawn `scale` times, `top` rows down; proportional
// fonts take each letter's width plus `gap` columns, fixed ones `fixed` columns.
test::FontSpec DemoFont(const std::string& name, std::uint8_t size, std::uint8_t height,
                        int scale, int top, int gap, int fixed) {
  test::FontSpec font;
  font.name = name;
  font.size = size;
  font.height_byte = height;
  const bool main = name == "fudemi" || name == "eurost";
  for (int c = 0; c < 256; ++c) {
    const bool printable = c >= 32 && c <= 126;
    int width = fixed > 0 ? fixed : printable ? scale * DemoFontColumns(c) + gap : 0;
    if (main && c < 32) width = 0;
    font.widths[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(width);
  }
  font.room = 256;
  font.ink = [scale, top](int code, int row, int col) {
    return DemoFontInk(code, col / scale, (row - top) < 0 ? -1 : (row - top) / scale);
  };
  return font;
}

}  // namespace

Bytes DemoImage() {
  using test::DirSpec;
  using test::PatternBytes;
  test::ImageSpec spec;
  spec.model = kDemoModel;
  spec.capacity = kDemoCapacity;
  spec.dirs = {
      DirSpec{"boot",
              {{"boot.cpz", Packed(PatternBytes(600, 1))},
               {"logo.imz", Packed(Repeated("\x11\x22\x33\x44", 256))},
               {"main.luz", Packed(PatternBytes(64, 3))},
               {"menu.cpi", PatternBytes(180, 4)}},
              false},
      DirSpec{"panels",
              {{"menu.paz", Packed(PatternBytes(1000, 5))},
               {"info.paz", Packed(PatternBytes(700, 6))},
               {"icons.icz", Packed(Repeated("icon", 200))},
               {"back.imz", Packed(Repeated("\x01\x02", 900))}},
              false},
      DirSpec{"texts",
              {{"menu.mpz", Packed(Repeated(std::string("Menu principal\0", 15), 20))},
               {"help.mpz", Packed(Text("Ayuda: pulse OK para continuar."))}},
              false},
      DirSpec{"code",
              {{"main.clz", Packed(PatternBytes(320, 7))},
               {"start.apz", Packed(PatternBytes(90, 8))},
               {"start.cpz", Packed(PatternBytes(410, 9))}},
              false},
      DirSpec{"extra",
              {{"readme.txt", Packed(Text("Corvane demo firmware. Every byte of it is made up.\r\n"))},
               {"notes.dat", PatternBytes(48, 10)}},
              false},
      DirSpec{"void", {}, false},
  };
  // The receiver's fonts: a large main font, the fixed-width teletext font and a small one.
  const std::vector<test::FontSpec> fonts = {
      DemoFont("fudemi", 24, 16, 2, 1, 2, 0),
      DemoFont("videotex", 10, 10, 1, 1, 0, 6),
      DemoFont("sans", 12, 9, 1, 1, 1, 0),
  };
  spec.extra = [&fonts](Bytes& image) { test::PlaceFonts(image, kDemoModel, kDemoBaseAddress, fonts); };
  return test::BuildImage(spec).file;
}

}  // namespace corvane::demo

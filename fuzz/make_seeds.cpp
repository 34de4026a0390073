// fuzz_seeds FOLDER: writes the seed inputs of every fuzz target into FOLDER/TARGET/: the sample
// files of every model, and the resources, fonts and settings of the demo image, each with the
// leading byte that picks its reader.
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/bitmap.h"
#include "base/file_io.h"
#include "demo_image.h"
#include "document/order_list.h"
#include "firmware/firmware.h"
#include "firmware/kinds.h"
#include "resources/font_set.h"
#include "resources/font_tables.h"
#include "resources/palette.h"
#include "resources/stored.h"
#include "support/model_samples.h"

namespace fs = std::filesystem;
using namespace corvane;

namespace {

fs::path g_out;
int g_written = 0;

void Seed(const std::string& target, const std::string& name, std::uint8_t selector,
          ByteView bytes) {
  Bytes input{selector};
  input.insert(input.end(), bytes.data(), bytes.data() + bytes.size());
  fs::create_directories(g_out / target);
  if (WriteFileAtomic(g_out / target / name, input).empty()) ++g_written;
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Two parts as the targets split them: a big-endian length pair before each.
void AppendPart(Bytes& input, ByteView part) {
  input.push_back(static_cast<std::uint8_t>(part.size() >> 8));
  input.push_back(static_cast<std::uint8_t>(part.size()));
  input.insert(input.end(), part.data(), part.data() + part.size());
}

// An external font file: widths, glyph rows and the 24-byte trailer naming the font.
Bytes ExternalFontFile(const std::string& name, int height, int width) {
  Bytes widths(256, static_cast<std::uint8_t>(width));
  Bytes file = widths;
  const std::size_t glyph = GlyphSize(static_cast<unsigned>(width), static_cast<unsigned>(height), true);
  for (int c = 0; c < 256; ++c) {
    Bytes g(glyph, 0);
    if (!g.empty()) g[0] = static_cast<std::uint8_t>(c);
    file.insert(file.end(), g.begin(), g.end());
  }
  Bytes trailer(24, 0);
  std::copy(name.begin(), name.end(), trailer.begin());
  trailer[9] = static_cast<std::uint8_t>(height);
  trailer[10] = static_cast<std::uint8_t>(height + 2);
  file.insert(file.end(), trailer.begin(), trailer.end());
  return file;
}

void ResourceSeeds(const TNodo& node, const std::string& prefix) {
  for (const TNodo* child : node.Children()) {
    if (child->IsDirectory()) {
      ResourceSeeds(*child, prefix + child->Text + "-");
      continue;
    }
    const Bytes plain = PlainOf(*child);
    const std::string name = prefix + child->Text;
    switch (KindOfName(child->Text)) {
      case FileKind::Palette: Seed("graphics_fuzz", name, 0, plain); break;
      case FileKind::Image: Seed("graphics_fuzz", name, 1, plain); break;
      case FileKind::Icons: Seed("graphics_fuzz", name, 2, plain); break;
      case FileKind::Panel: Seed("panel_fuzz", name, 0, plain); break;
      case FileKind::Strings: Seed("panel_fuzz", name, 1, plain); break;
      case FileKind::Class: Seed("script_fuzz", name, 1, plain); break;
      case FileKind::Application: Seed("script_fuzz", name, 2, plain); break;
      case FileKind::Script: {
        Bytes input;
        AppendPart(input, Bytes{});
        input.insert(input.end(), plain.begin(), plain.end());
        Seed("script_fuzz", name, 0, input);
        break;
      }
      default: break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz_seeds FOLDER\n", stderr);
    return 1;
  }
  g_out = argv[1];
  for (const test::ModelSample& sample : test::ModelSamples())
    Seed("loader_fuzz", sample.name, static_cast<std::uint8_t>(sample.model - 1), sample.file);

  TArbol tree;
  TFirmware firmware;
  if (!firmware.CreateFromBytes("demo.bin", demo::DemoImage(), tree, demo::kDemoModel).ok()) {
    std::fputs("fuzz_seeds: the demo image does not load\n", stderr);
    return 1;
  }
  ResourceSeeds(*firmware.Root(), "");
  const TMHWPalette palette = TMHWPalette::Greys();
  Seed("graphics_fuzz", "greys.pal", 4, Text(palette.JascText()));
  Bitmap bitmap{.width = 5, .height = 3, .bits_per_pixel = 4, .colours = {}, .pixels = {}};
  bitmap.colours.assign(16, Rgb{});
  bitmap.pixels.assign(15, 3);
  for (const int bits : {1, 4, 8, 24}) {
    bitmap.bits_per_pixel = bits;
    bitmap.pixels.assign(bits == 24 ? 45 : 15, 1);
    Seed("graphics_fuzz", "bitmap" + std::to_string(bits) + ".bmp", 3, WriteBitmap(bitmap));
  }

  TMHWFont fonts;
  LeeFuentes(firmware, fonts);
  Bytes font_input;
  for (const auto& [name, height, width] :
       {std::tuple<std::string, int, int>{"fudemi", 16, 8}, {"videotex", 10, 6}, {"small", 7, 0}})
    AppendPart(font_input, ExternalFontFile(name, height, width));
  const Bytes glyph = fonts.ExportaLetraBytes(0, 'A');
  font_input.insert(font_input.end(), glyph.begin(), glyph.end());
  Seed("fonts_fuzz", "three-fonts", 0x40, font_input);

  const fs::path inis = fs::path(CORVANE_SOURCE_DIR) / "data" / "INIs";
  for (const char* name : {"Corvane.ini", "Var.ini", "English.ini"}) {
    if (const auto bytes = ReadWholeFile(inis / name)) Seed("text_fuzz", name, 0, *bytes);
  }
  if (const auto bytes = ReadWholeFile(inis / "asm_inst.ini")) Seed("text_fuzz", "asm_inst.ini", 1, *bytes);
  Seed("text_fuzz", "demo.def", 2, Text(ExportaOrdenTexto(*firmware.Root(), firmware.RootName)));
  std::printf("%d seeds written to %s\n", g_written, argv[1]);
  return 0;
}
